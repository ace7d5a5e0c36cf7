# SPDX-License-Identifier: GPL-3.0-or-later
# The core compiled for the browser (make web-core), run under node through the page's own
# loader and link against the virtual radio, and compared with the native programs' write.
add_test(NAME web_core_link
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/web_core/run_link_test.sh ${PROJECT_SOURCE_DIR}
        ${PROJECT_SOURCE_DIR}/build-web/wasm $<TARGET_FILE:halvex-cli> $<TARGET_FILE:radio-sim>)
set_tests_properties(web_core_link PROPERTIES LABELS web TIMEOUT 240 COST 50 SKIP_RETURN_CODE 77)
add_test(NAME web_core_pages
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/web_core/run_pages_test.sh ${PROJECT_SOURCE_DIR}
        ${PROJECT_SOURCE_DIR}/build-web/wasm)
set_tests_properties(web_core_pages PROPERTIES LABELS web TIMEOUT 120 SKIP_RETURN_CODE 77)
