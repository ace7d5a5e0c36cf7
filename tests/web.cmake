# SPDX-License-Identifier: GPL-3.0-or-later
# The page in the browser: each journey of a script in tests/web/ drives the built site
# (make web) in Debian's Chromium and is one test labelled web; without Chromium it is skipped
# with a line saying so.
find_program(HALVEX_NODE node)
if(NOT HALVEX_NODE)
    message(STATUS "node not found: the web journeys are left out")
    return()
endif()

# The journeys of tests/web/<script>, each run on its own.
function(halvex_web_journeys script)
    foreach(journey IN LISTS ARGN)
        add_test(NAME web_${journey}
            COMMAND ${HALVEX_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/web/${script} ${journey})
        # One browser at a time: several on two cores starve the paced radios of the journeys
        # beside them until a read times out.
        set_tests_properties(web_${journey} PROPERTIES LABELS web TIMEOUT 300 COST 30
            SKIP_RETURN_CODE 77 RESOURCE_LOCK halvex_browser
            ENVIRONMENT "HALVEX_SITE_DIR=${PROJECT_SOURCE_DIR}/build-web/site;HALVEX_CLI=${HALVEX_BIN_DIR}/halvex-cli;HALVEX_PRINT_REPORT=${CMAKE_BINARY_DIR}/tests/print_report_pdf")
    endforeach()
endfunction()

halvex_web_journeys(journeys.mjs
    read_edit_write_check
    cancel_mid_read
    radio_faults
    damaged_file_without_serial
    keyboard_language_accessibility
    read_write_at_line_speed
    channel_list_round_trip
    text_form_round_trip
    import_refused)
# The Optional Functions and VFO pages, the FM presets and the settings dialog.
halvex_web_journeys(page_journeys.mjs
    function_page_edits
    vfo_page_edits
    fm_presets_dialog
    settings_dialog)
# The station and Check Connection.
halvex_web_journeys(station_journeys.mjs
    station_two_virtual_radios
    station_automatic_and_check_only
    check_connection_faults)
# The channel table's Edit commands.
halvex_web_journeys(editing_journeys.mjs
    row_operations_clipboard
    context_menu_and_row_drag
    find_sort_set_fill
    compare_and_text_import)
# The page as an installed app: its print against the desktop's (print_report_pdf, which a
# build without the desktop has not), offline.
halvex_web_journeys(app_journeys.mjs offline_reload_and_new_version)
if(HALVEX_BUILD_UI)
    halvex_web_journeys(app_journeys.mjs print_matches_desktop)
endif()
set_tests_properties(web_read_write_at_line_speed web_keyboard_language_accessibility
    PROPERTIES COST 60)
set_tests_properties(web_station_automatic_and_check_only PROPERTIES COST 110)
# Test mode.
halvex_web_journeys(test_mode_journeys.mjs test_mode_adjusts_the_radio_live
    test_mode_failures_keep_the_document)
