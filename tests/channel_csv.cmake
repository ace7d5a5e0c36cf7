# Channel lists as CSV: the reader, the mapping both ways, the command line and the dialog.
halvex_add_core_test(csv_text_test csv_text_test.cpp)
halvex_add_core_test(channel_csv_test channel_csv_test.cpp)




halvex_add_core_test(channel_csv_cli_test channel_csv_cli_test.cpp)
target_compile_definitions(channel_csv_cli_test PRIVATE HALVEX_CLI_PATH="$<TARGET_FILE:halvex-cli>")
add_dependencies(channel_csv_cli_test halvex-cli)
# The commands register themselves from their own file, so the test links all of the desktop
# library as the program does.
if(HALVEX_BUILD_UI)
    find_package(Qt6 REQUIRED COMPONENTS Test)
    add_executable(channel_csv_dialog_test channel_csv_dialog_test.cpp)
    set_target_properties(channel_csv_dialog_test PROPERTIES AUTOMOC ON
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(channel_csv_dialog_test PRIVATE
        halvex_test_support_ui
        "$<LINK_LIBRARY:WHOLE_ARCHIVE,halvex_ui>" Qt6::Test)
    target_compile_definitions(channel_csv_dialog_test PRIVATE
        HALVEX_TEST_DATA_DIR="${HALVEX_TEST_DATA_DIR}" HALVEX_BIN_DIR="${HALVEX_BIN_DIR}")
    add_dependencies(channel_csv_dialog_test halvex_data)
    add_test(NAME channel_csv_dialog_test COMMAND channel_csv_dialog_test)
    set_tests_properties(channel_csv_dialog_test PROPERTIES TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
