// SPDX-License-Identifier: GPL-3.0-or-later
// Template 100, the about box.
#pragma once

constexpr int kAboutTemplate = 100;
// The product line; its "%s" stands for the program's version.
constexpr int kAboutProductId = 1015;
// The line under it that names the radio's software, in the user's language.
constexpr int kAboutSoftwareId = 1099;
// The licence line.
constexpr int kAboutLicenseId = 1170;
