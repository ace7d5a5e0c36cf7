# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end journeys: the real desktop program on a private Xvfb beside the virtual radio,
# driven by X input only. Each journey is one test labelled e2e.
if(NOT HALVEX_BUILD_UI)
    return()
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# The dialog templates as JSON, so journeys click where the program lays out its controls.
add_executable(e2e-dialog-layout
    e2e/dialog_layout.cpp
    ${PROJECT_SOURCE_DIR}/src/desktop/resources/dialog_templates.cpp
    ${PROJECT_SOURCE_DIR}/src/desktop/resources/dialog_templates_edit.cpp
    ${PROJECT_SOURCE_DIR}/src/desktop/resources/dialog_templates_pages.cpp
    ${PROJECT_SOURCE_DIR}/src/desktop/resources/dialog_templates_shell.cpp
    ${PROJECT_SOURCE_DIR}/src/desktop/resources/dialog_templates_tools.cpp)
target_include_directories(e2e-dialog-layout PRIVATE ${PROJECT_SOURCE_DIR}/src/desktop
    ${PROJECT_SOURCE_DIR}/src/core)
set_target_properties(e2e-dialog-layout PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

# The desktop program with its serial devices looked for in a tree the journey makes.
add_executable(halvex-journey e2e/journey_main.cpp)
target_link_libraries(halvex-journey PRIVATE halvex_ui)
set_target_properties(halvex-journey PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

set(HALVEX_E2E_JOURNEYS
    read_edit_save_reopen
    fm_preset_lists
    import_channels
    export_import_configuration
    export_import_configuration_chinese
    list_keys
    undo_redo_keys
    rows_cut_paste_undo
    write_to_radio
    write_to_radio_at_line_speed
    half_typed_file_exit
    half_typed_close_box
    test_mode_read_all_pages
    test_mode_read_all_responsive
    cancel_paced_read
    port_and_language_dialogs
    pick_listed_device
    check_connection
    check_connection_chinese
    questions_default_to_cancel
    questions_default_to_cancel_chinese
    help_at_channels
    help_at_channels_chinese
    station_codes
    first_start_english
    first_start_chinese
    guide_pictures_english
    guide_pictures_chinese
)
foreach(journey IN LISTS HALVEX_E2E_JOURNEYS)
    add_test(NAME e2e_${journey}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/journeys.py ${journey}
            --bin ${HALVEX_BIN_DIR} --layout $<TARGET_FILE:e2e-dialog-layout>
            --work ${CMAKE_BINARY_DIR}/e2e --device-tree-program $<TARGET_FILE:halvex-journey>)
    set_tests_properties(e2e_${journey} PROPERTIES LABELS e2e TIMEOUT 180 COST 10)
endforeach()
# A read and a write of the whole clone range at 9600 baud take about 25 s.
set_tests_properties(e2e_write_to_radio_at_line_speed PROPERTIES COST 35)

# Editing many channels at once, under a window manager that maximises and hands the focus
# back after each dialog.
set(HALVEX_E2E_EDITING_JOURNEYS
    maximise_shows_more_rows
    maximise_shows_more_rows_chinese
    set_power_undo
    sort_by_frequency_undo
    find_a_name
    fill_series
    keyboard_back_after_dialogs
    keyboard_back_after_dialogs_chinese
)
foreach(journey IN LISTS HALVEX_E2E_EDITING_JOURNEYS)
    add_test(NAME e2e_${journey}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/editing_journeys.py
            ${journey} --bin ${HALVEX_BIN_DIR} --layout $<TARGET_FILE:e2e-dialog-layout>
            --work ${CMAKE_BINARY_DIR}/e2e)
    set_tests_properties(e2e_${journey} PROPERTIES LABELS e2e TIMEOUT 180 COST 10)
endforeach()
