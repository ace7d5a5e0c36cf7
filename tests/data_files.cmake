# SPDX-License-Identifier: GPL-3.0-or-later
# The installation data in data/: language files, settings and help pages.
halvex_add_core_test(data_files_test data_files_test.cpp)
