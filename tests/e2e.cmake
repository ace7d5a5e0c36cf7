# End-to-end journeys: the real desktop program on a private Xvfb beside the virtual radio,
# driven by X input only. Each journey is one test labelled e2e.
if(NOT HALVEX_BUILD_UI)
    return()
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# The dialog templates as JSON, so journeys click where the program lays out its controls.
add_executable(e2e-dialog-layout
    e2e/dialog_layout.cpp
    ${PROJECT_SOURCE_DIR}/src/resources/dialog_templates.cpp
    ${PROJECT_SOURCE_DIR}/src/resources/dialog_templates_pages.cpp
    ${PROJECT_SOURCE_DIR}/src/resources/dialog_templates_shell.cpp
    ${PROJECT_SOURCE_DIR}/src/resources/dialog_templates_tools.cpp)
target_include_directories(e2e-dialog-layout PRIVATE ${PROJECT_SOURCE_DIR}/src)
set_target_properties(e2e-dialog-layout PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

set(HALVEX_E2E_JOURNEYS
    read_edit_save_reopen
    fm_preset_lists
    import_channels
    list_keys
    write_to_radio
    half_typed_file_exit
    half_typed_close_box
    test_mode_read_all_pages
    test_mode_read_all_responsive
    cancel_paced_read
    port_and_language_dialogs
)
foreach(journey IN LISTS HALVEX_E2E_JOURNEYS)
    add_test(NAME e2e_${journey}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/journeys.py ${journey}
            --bin ${HALVEX_BIN_DIR} --layout $<TARGET_FILE:e2e-dialog-layout>
            --work ${CMAKE_BINARY_DIR}/e2e)
    set_tests_properties(e2e_${journey} PROPERTIES LABELS e2e TIMEOUT 180)
endforeach()

# The accessibility journeys read the program through the accessibility bus, each inside a
# D-Bus session of its own. pyatspi comes from the distribution, so its Python runs them.
set(HALVEX_ATSPI_PYTHON ${Python3_EXECUTABLE})
execute_process(COMMAND ${Python3_EXECUTABLE} -c "import pyatspi"
    RESULT_VARIABLE HALVEX_PYATSPI_MISSING OUTPUT_QUIET ERROR_QUIET)
if(HALVEX_PYATSPI_MISSING AND EXISTS /usr/bin/python3)
    set(HALVEX_ATSPI_PYTHON /usr/bin/python3)
endif()
find_program(HALVEX_DBUS_RUN_SESSION dbus-run-session)
if(NOT HALVEX_DBUS_RUN_SESSION)
    # Kept by name, so the journeys fail with a clear message until scripts/ensure-deps ran.
    set(HALVEX_DBUS_RUN_SESSION dbus-run-session)
endif()
foreach(journey IN ITEMS accessible_tree keyboard_only)
    add_test(NAME e2e_accessibility_${journey}
        COMMAND ${HALVEX_DBUS_RUN_SESSION} -- ${HALVEX_ATSPI_PYTHON}
            ${CMAKE_CURRENT_SOURCE_DIR}/e2e/accessibility.py ${journey}
            --bin ${HALVEX_BIN_DIR} --layout $<TARGET_FILE:e2e-dialog-layout>
            --work ${CMAKE_BINARY_DIR}/e2e)
    set_tests_properties(e2e_accessibility_${journey} PROPERTIES LABELS e2e TIMEOUT 180)
endforeach()
