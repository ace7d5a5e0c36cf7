# Channel lists as CSV: the reader, the mapping both ways, the command line and the dialog.
halvex_add_core_test(csv_text_test csv_text_test.cpp)
halvex_add_core_test(channel_csv_test channel_csv_test.cpp)




halvex_add_core_test(channel_csv_cli_test channel_csv_cli_test.cpp)
target_compile_definitions(channel_csv_cli_test PRIVATE HALVEX_CLI_PATH="$<TARGET_FILE:halvex-cli>")
add_dependencies(channel_csv_cli_test halvex-cli)
halvex_add_ui_test(channel_csv_dialog_test channel_csv_dialog_test.cpp)
