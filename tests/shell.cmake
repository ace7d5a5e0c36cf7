# The desktop shell: start-up, main frame, dialog templates, document commands, languages.
halvex_add_ui_test(startup_ui_test startup_ui_test.cpp)
halvex_add_ui_test(frame_ui_test frame_ui_test.cpp)
halvex_add_ui_test(dialog_templates_ui_test dialog_templates_ui_test.cpp)
halvex_add_ui_test(document_commands_ui_test document_commands_ui_test.cpp)
halvex_add_ui_test(language_ui_test language_ui_test.cpp)
halvex_add_ui_test(shell_texts_ui_test shell_texts_ui_test.cpp)
