// SPDX-License-Identifier: GPL-3.0-or-later
// Template 134, the access dialog of test mode.
#pragma once

constexpr int kPasswordTemplate = 134;
constexpr int kPasswordPromptId = 1062;
constexpr int kPasswordEditId = 1063;
