# SPDX-License-Identifier: GPL-3.0-or-later
# The page in the browser: each journey of tests/web/journeys.mjs drives the built site
# (make web) in Debian's Chromium and is one test labelled web; without Chromium it is skipped
# with a line saying so.
find_program(HALVEX_NODE node)
if(NOT HALVEX_NODE)
    message(STATUS "node not found: the web journeys are left out")
    return()
endif()

set(HALVEX_WEB_JOURNEYS
    read_edit_write_check
    cancel_mid_read
    radio_faults
    damaged_file_without_serial
    keyboard_language_accessibility
    read_write_at_line_speed
    channel_list_round_trip
    text_form_round_trip
    import_refused)
foreach(journey IN LISTS HALVEX_WEB_JOURNEYS)
    add_test(NAME web_${journey}
        COMMAND ${HALVEX_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/web/journeys.mjs ${journey})
    # One browser at a time: several on two cores starve the paced radios of the journeys
    # beside them until a read times out.
    set_tests_properties(web_${journey} PROPERTIES LABELS web TIMEOUT 300 COST 30
        SKIP_RETURN_CODE 77 RESOURCE_LOCK halvex_browser
        ENVIRONMENT "HALVEX_SITE_DIR=${PROJECT_SOURCE_DIR}/build-web/site;HALVEX_CLI=${HALVEX_BIN_DIR}/halvex-cli")
endforeach()
# The channel table's Edit commands, in a file of their own.
foreach(journey IN ITEMS row_operations_clipboard find_sort_set_fill compare_and_text_import)
    add_test(NAME web_${journey}
        COMMAND ${HALVEX_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/web/editing_journeys.mjs ${journey})
    set_tests_properties(web_${journey} PROPERTIES LABELS web TIMEOUT 300 COST 30
        SKIP_RETURN_CODE 77 RESOURCE_LOCK halvex_browser
        ENVIRONMENT "HALVEX_SITE_DIR=${PROJECT_SOURCE_DIR}/build-web/site;HALVEX_CLI=${HALVEX_BIN_DIR}/halvex-cli")
endforeach()
set_tests_properties(web_read_write_at_line_speed web_keyboard_language_accessibility
    PROPERTIES COST 60)
