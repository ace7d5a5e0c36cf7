// SPDX-License-Identifier: GPL-3.0-or-later
// Template 101, the main view's form.
#pragma once

constexpr int kMainFormTemplate = 101;
constexpr int kMainFormTabsId = 1016;
