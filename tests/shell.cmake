# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop shell: start-up, main frame, dialog templates, document commands, languages.
halvex_add_ui_test(startup_ui_test startup_ui_test.cpp)
halvex_add_ui_test(frame_ui_test frame_ui_test.cpp)
halvex_add_ui_test(help_window_ui_test help_window_ui_test.cpp)
halvex_add_ui_test(dialog_templates_ui_test dialog_templates_ui_test.cpp)
halvex_add_ui_test(document_commands_ui_test document_commands_ui_test.cpp)
halvex_add_ui_test(language_ui_test language_ui_test.cpp)
halvex_add_ui_test(language_fit_ui_test language_fit_ui_test.cpp)
halvex_add_ui_test(shell_texts_ui_test shell_texts_ui_test.cpp)
halvex_add_ui_test(start_panel_ui_test start_panel_ui_test.cpp)

# --help and --version answer, and succeed, where no display can be opened.
if(TARGET halvex)
    add_test(NAME halvex_options_without_display
        COMMAND env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM sh -c
            "help=$(\"$0\" --help) && version=$(\"$0\" --version) && \
             echo \"$help\" | grep -q '^Usage: halvex' && [ \"$version\" = 'halvex ${PROJECT_VERSION}' ]"
            $<TARGET_FILE:halvex>)
    # A line it cannot take is refused with its usage and exit 2, before any window: without
    # a display Qt would abort instead.
    add_test(NAME halvex_refused_options_without_display
        COMMAND env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM sh -c
            "for line in '--bogus' '--version=1' '-platform offscreen' 'a.pgm b.pgm' \
                         '-- a.pgm b.pgm'; do \
                 err=$(\"$0\" $line 2>&1 >/dev/null); status=$?; \
                 [ $status -eq 2 ] || { echo \"$line: exit $status\"; exit 1; }; \
                 echo \"$err\" | grep -q '^halvex: ' && echo \"$err\" | grep -q '^Usage: halvex' \
                     || { echo \"$line: $err\"; exit 1; }; \
             done"
            $<TARGET_FILE:halvex>)
endif()
