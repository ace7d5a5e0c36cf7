# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_core_test(pgm_file_test pgm_file_test.cpp)
halvex_add_core_test(band_lines_test band_lines_test.cpp)
halvex_add_core_test(document_test document_test.cpp)
halvex_add_core_test(read_backups_test read_backups_test.cpp)
halvex_add_core_test(image_difference_test image_difference_test.cpp)
halvex_add_core_test(difference_words_test difference_words_test.cpp)

# Runs the built command-line tool as a user would.
halvex_add_core_test(cli_test cli_test.cpp)
target_compile_definitions(cli_test PRIVATE HALVEX_CLI_PATH="$<TARGET_FILE:halvex-cli>")
add_dependencies(cli_test halvex-cli)
halvex_add_core_test(edit_history_test edit_history_test.cpp)
halvex_add_ui_test(undo_ui_test undo_ui_test.cpp support/page_test_support.h)
halvex_add_core_test(cli_output_test cli_output_test.cpp support/cli_run_fixture.h)
target_compile_definitions(cli_output_test PRIVATE HALVEX_CLI_PATH="$<TARGET_FILE:halvex-cli>")
add_dependencies(cli_output_test halvex-cli)
