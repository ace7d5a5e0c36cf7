// SPDX-License-Identifier: GPL-3.0-or-later
// Scratch folders, raw file access and the checked-in data for the profile, settings and
// language tests.
#pragma once

#include <string>
#include <string_view>

#include "support/temp_folder.h"

using halvex::test::ReadBytes;

inline std::string TestDataPath(std::string_view relative) {
    return std::string(HALVEX_TEST_DATA_DIR) + "/" + std::string(relative);
}
