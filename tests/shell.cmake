# The desktop shell: start-up, main frame, dialog templates, document commands, languages.
halvex_add_ui_test(startup_ui_test startup_ui_test.cpp)
