# SPDX-License-Identifier: GPL-3.0-or-later
# The printed report, printed to PDF and read back with the poppler tools.
if(HALVEX_BUILD_UI)
    halvex_add_ui_test(print_test print_test.cpp)
endif()
