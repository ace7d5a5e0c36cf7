# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_core_test(radio_text_test radio_text_test.cpp)
target_link_libraries(radio_text_test PRIVATE halvex_sim)

# Runs the built command-line tool as a user would.
halvex_add_core_test(radio_text_cli_test radio_text_cli_test.cpp)
target_compile_definitions(radio_text_cli_test PRIVATE HALVEX_CLI_PATH="$<TARGET_FILE:halvex-cli>")
add_dependencies(radio_text_cli_test halvex-cli)

halvex_add_ui_test(config_text_ui_test config_text_ui_test.cpp)

# The text form written to and compared with the virtual radio through halvex-cli.
halvex_add_core_test(cli_text_radio_test cli_text_radio_test.cpp cli_run_fixture.h COST 8)
target_link_libraries(cli_text_radio_test PRIVATE halvex_sim)
target_compile_definitions(cli_text_radio_test PRIVATE HALVEX_CLI_PATH="$<TARGET_FILE:halvex-cli>")
add_dependencies(cli_text_radio_test halvex-cli)
