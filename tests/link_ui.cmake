# SPDX-License-Identifier: GPL-3.0-or-later
# The transfer and port dialogs, driven through their widgets against virtual radios.
if(HALVEX_BUILD_UI)
    halvex_add_ui_test(transfer_dialog_test transfer_dialog_test.cpp support/link_ui_fixture.h)
    target_link_libraries(transfer_dialog_test PRIVATE halvex_sim)
    halvex_add_ui_test(port_dialog_test port_dialog_test.cpp support/link_ui_fixture.h)
    target_link_libraries(port_dialog_test PRIVATE halvex_sim)
    halvex_add_ui_test(doctor_dialog_test doctor_dialog_test.cpp support/link_ui_fixture.h)
    target_link_libraries(doctor_dialog_test PRIVATE halvex_sim)
endif()
if(HALVEX_BUILD_UI)
    halvex_add_ui_test(station_dialog_test station_dialog_test.cpp support/link_ui_fixture.h)
    target_link_libraries(station_dialog_test PRIVATE halvex_sim)
endif()
