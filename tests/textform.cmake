# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_core_test(radio_text_test radio_text_test.cpp)
target_link_libraries(radio_text_test PRIVATE halvex_sim)

# Runs the built command-line tool as a user would.
halvex_add_core_test(radio_text_cli_test radio_text_cli_test.cpp)
target_compile_definitions(radio_text_cli_test PRIVATE HALVEX_CLI_PATH="$<TARGET_FILE:halvex-cli>")
add_dependencies(radio_text_cli_test halvex-cli)

halvex_add_ui_test(config_text_ui_test config_text_ui_test.cpp)
