# SPDX-License-Identifier: GPL-3.0-or-later
# The channel table page, its commit rules, the FM presets dialog and their in-cell lists.
halvex_add_core_test(channel_commit_test channel_commit_test.cpp)
halvex_add_ui_test(channel_page_test channel_page_test.cpp)
halvex_add_ui_test(radiogram_dialog_test radiogram_dialog_test.cpp)
halvex_add_x_test(cell_lists_test cell_lists_test.cpp)
halvex_add_core_test(channel_row_ops_test channel_row_ops_test.cpp)
halvex_add_ui_test(channel_rows_ui_test channel_rows_ui_test.cpp support/page_test_support.h)
halvex_add_core_test(channel_bulk_edit_test channel_bulk_edit_test.cpp)
halvex_add_ui_test(channel_bulk_ui_test channel_bulk_ui_test.cpp support/page_test_support.h)
