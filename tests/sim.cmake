# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_core_test(virtual_radio_test virtual_radio_test.cpp)
target_link_libraries(virtual_radio_test PRIVATE halvex_sim)
add_dependencies(virtual_radio_test radio-sim)
