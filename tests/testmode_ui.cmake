# SPDX-License-Identifier: GPL-3.0-or-later
# The access dialog and the test dialog against the virtual radio.
if(HALVEX_BUILD_UI)
    halvex_add_ui_test(test_mode_dialog_test test_mode_dialog_test.cpp)
    target_link_libraries(test_mode_dialog_test PRIVATE halvex_sim)
endif()
