# SPDX-License-Identifier: GPL-3.0-or-later
# Rebuilding the 128-row channel page and repainting its grid, offscreen.
if(HALVEX_BUILD_UI)
    add_executable(channel_page_bench channel_page_bench.cpp)
    target_link_libraries(channel_page_bench PRIVATE halvex_ui)
    target_include_directories(channel_page_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    set_target_properties(channel_page_bench PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
    target_compile_definitions(channel_page_bench PRIVATE HALVEX_BIN_DIR="${HALVEX_BIN_DIR}")
    add_dependencies(channel_page_bench halvex_data)
endif()
# The window resized over a full table, and the edits of many channels at once.
if(HALVEX_BUILD_UI)
    add_executable(channel_edit_bench channel_edit_bench.cpp)
    target_link_libraries(channel_edit_bench PRIVATE halvex_ui)
    target_include_directories(channel_edit_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    set_target_properties(channel_edit_bench PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
    target_compile_definitions(channel_edit_bench PRIVATE HALVEX_BIN_DIR="${HALVEX_BIN_DIR}")
    add_dependencies(channel_edit_bench halvex_data)
endif()
