# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_core_test(test_mode_test test_mode_test.cpp)
halvex_add_core_test(test_mode_link_test test_mode_link_test.cpp)
target_link_libraries(test_mode_link_test PRIVATE halvex_sim)
