# SPDX-License-Identifier: GPL-3.0-or-later
# The optional-functions page and the VFO page: their pure rules and the pages themselves.
halvex_add_core_test(pages_core_test pages_core_test.cpp)
halvex_add_ui_test(function_page_test function_page_test.cpp support/page_test_support.h)
halvex_add_ui_test(vfo_page_test vfo_page_test.cpp support/page_test_support.h)
halvex_add_ui_test(pages_main_window_test pages_main_window_test.cpp support/page_test_support.h)
