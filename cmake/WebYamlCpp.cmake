# SPDX-License-Identifier: GPL-3.0-or-later
# yaml-cpp for the browser: Debian's own source package (scripts/ensure-deps unpacks it into
# build-web/yaml-cpp-src), built here by emscripten as a static library without its tests and
# tools, so the page parses and writes the text form with the library the programs link.
set(HALVEX_YAML_CPP_SOURCE ${PROJECT_SOURCE_DIR}/build-web/yaml-cpp-src/yaml-cpp
    CACHE PATH "Debian's yaml-cpp source for the browser build")
if(NOT EXISTS ${HALVEX_YAML_CPP_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "No yaml-cpp source in ${HALVEX_YAML_CPP_SOURCE}: run scripts/ensure-deps")
endif()
set(YAML_CPP_BUILD_TESTS OFF CACHE BOOL "" FORCE)
set(YAML_CPP_BUILD_TOOLS OFF CACHE BOOL "" FORCE)
set(YAML_CPP_BUILD_CONTRIB OFF CACHE BOOL "" FORCE)
set(YAML_CPP_INSTALL OFF CACHE BOOL "" FORCE)
set(YAML_BUILD_SHARED_LIBS OFF CACHE BOOL "" FORCE)
# Our warnings are not its authors': the library gets its own flags, not -Werror of ours.
get_directory_property(halvex_compile_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
add_subdirectory(${HALVEX_YAML_CPP_SOURCE} ${CMAKE_BINARY_DIR}/yaml-cpp EXCLUDE_FROM_ALL SYSTEM)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${halvex_compile_options}")
# The parser reports a malformed text by throwing; the text form catches it, so both are built
# with emscripten's exceptions (the rest of the core throws nothing).
target_compile_options(yaml-cpp PRIVATE -fexceptions)
