// SPDX-License-Identifier: GPL-3.0-or-later
// Template 131, the language dialog.
#pragma once

constexpr int kLanguageTemplate = 131;
constexpr int kLanguagePromptId = 1013;
constexpr int kLanguageListId = 1014;
