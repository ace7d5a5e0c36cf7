# SPDX-License-Identifier: GPL-3.0-or-later
# Channel lists as CSV: the reader, the mapping both ways, the command line and the dialog.
halvex_add_core_test(csv_text_test csv_text_test.cpp)
halvex_add_core_test(channel_csv_test channel_csv_test.cpp)
halvex_add_core_test(channel_csv_cli_test channel_csv_cli_test.cpp)
target_compile_definitions(channel_csv_cli_test PRIVATE HALVEX_CLI_PATH="$<TARGET_FILE:halvex-cli>")
add_dependencies(channel_csv_cli_test halvex-cli)
halvex_add_ui_test(channel_csv_dialog_test channel_csv_dialog_test.cpp)

# Interchange with CHIRP's own CSV code. CHIRP is a distribution package, so the system's
# Python runs it; without CHIRP the test skips and says why.
find_program(HALVEX_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT HALVEX_SYSTEM_PYTHON)
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    set(HALVEX_SYSTEM_PYTHON ${Python3_EXECUTABLE})
endif()
add_test(NAME chirp_interchange_test
    COMMAND ${HALVEX_SYSTEM_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/chirp_interchange_test.py
        $<TARGET_FILE:halvex-cli>)
set_tests_properties(chirp_interchange_test PROPERTIES SKIP_RETURN_CODE 77)
