# SPDX-License-Identifier: GPL-3.0-or-later
# What assistive technology learns from the desktop program, and the keys that replace the
# mouse. Qt reports accessibility events only while an accessibility bus listens, so the test
# runs beside one of its own, in its own D-Bus session and on its own X server.
if(NOT HALVEX_BUILD_UI)
    return()
endif()
halvex_add_ui_test_executable(accessibility_ui_test accessibility_ui_test.cpp support/page_test_support.h)
find_program(HALVEX_DBUS_RUN_SESSION dbus-run-session)
if(NOT HALVEX_DBUS_RUN_SESSION)
    # Kept by name, so the test fails with a clear message until scripts/ensure-deps ran.
    set(HALVEX_DBUS_RUN_SESSION dbus-run-session)
endif()
add_test(NAME accessibility_ui_test
    COMMAND ${HALVEX_DBUS_RUN_SESSION} -- ${CMAKE_CURRENT_SOURCE_DIR}/run_with_accessibility_bus.sh
        ${CMAKE_CURRENT_SOURCE_DIR}/run_on_xvfb.sh $<TARGET_FILE:accessibility_ui_test>)
set_tests_properties(accessibility_ui_test PROPERTIES TIMEOUT 300)

# The accessibility journeys read the program through the accessibility bus, each inside a
# D-Bus session of its own, labelled e2e like the other journeys. pyatspi comes from the
# distribution, so its Python runs them.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(HALVEX_ATSPI_PYTHON ${Python3_EXECUTABLE})
execute_process(COMMAND ${Python3_EXECUTABLE} -c "import pyatspi"
    RESULT_VARIABLE HALVEX_PYATSPI_MISSING OUTPUT_QUIET ERROR_QUIET)
if(HALVEX_PYATSPI_MISSING AND EXISTS /usr/bin/python3)
    set(HALVEX_ATSPI_PYTHON /usr/bin/python3)
endif()
foreach(journey IN ITEMS accessible_tree keyboard_only every_language)
    add_test(NAME e2e_accessibility_${journey}
        COMMAND ${HALVEX_DBUS_RUN_SESSION} -- ${HALVEX_ATSPI_PYTHON}
            ${CMAKE_CURRENT_SOURCE_DIR}/e2e/accessibility.py ${journey}
            --bin ${HALVEX_BIN_DIR} --layout $<TARGET_FILE:e2e-dialog-layout>
            --work ${CMAKE_BINARY_DIR}/e2e)
    set_tests_properties(e2e_accessibility_${journey} PROPERTIES LABELS e2e TIMEOUT 180 COST 10)
endforeach()

# Orca itself reads the program and the journey checks what it says; it runs where Orca is
# installed, as it is after scripts/ensure-deps. Orca starts slowly on a busy machine.
find_program(HALVEX_ORCA orca)
if(HALVEX_ORCA)
    add_test(NAME e2e_screen_reader_orca_speech
        COMMAND ${HALVEX_DBUS_RUN_SESSION} -- ${HALVEX_ATSPI_PYTHON}
            ${CMAKE_CURRENT_SOURCE_DIR}/e2e/screen_reader.py orca_speech
            --bin ${HALVEX_BIN_DIR} --layout $<TARGET_FILE:e2e-dialog-layout>
            --work ${CMAKE_BINARY_DIR}/e2e)
    set_tests_properties(e2e_screen_reader_orca_speech PROPERTIES LABELS e2e TIMEOUT 600 COST 15)
endif()
