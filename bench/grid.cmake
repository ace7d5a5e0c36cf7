# SPDX-License-Identifier: GPL-3.0-or-later
# The grid benchmark needs the desktop library and runs without a display.
if(HALVEX_BUILD_UI)
    find_package(Qt6 REQUIRED COMPONENTS Widgets)
    add_executable(grid_bench grid_bench.cpp)
    target_link_libraries(grid_bench PRIVATE halvex_ui)
    set_target_properties(grid_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endif()
