# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_ui_test(grid_ctrl_test grid_ctrl_test.cpp)
