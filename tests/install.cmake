# SPDX-License-Identifier: GPL-3.0-or-later
# Where files live in the build folder and once installed, and the installed tree itself.
halvex_add_core_test(file_locations_test file_locations_test.cpp)

# The installed tree used by a fresh user; all of it must stay within modest time.
add_test(NAME install_test COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install_test.sh
    ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} $<IF:$<BOOL:${HALVEX_BUILD_UI}>,1,0>)
set_tests_properties(install_test PROPERTIES TIMEOUT 240 RESOURCE_LOCK halvex_install)

# The Debian source package agrees with ensure-deps, the version and the release metadata;
# `make package` builds and checks the package itself (tests/package_test.sh).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME debian_source_test
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/debian_source_test.py ${CMAKE_SOURCE_DIR})

# The generated shell completion offers what the option tables hold and --help lists.
add_test(NAME completion_test
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/completion_test.py
        $<TARGET_FILE:halvex-cli> $<TARGET_FILE:halvex-completion> ${HALVEX_BASH_COMPLETION}
        ${HALVEX_ZSH_COMPLETION})

# Each program's --help against its manual page, both ways. The desktop program's case is
# skipped (exit 77) while it cannot print its help without a display.
foreach(pair halvex-cli:halvex-cli halvex-radio-sim:radio-sim halvex:halvex)
    string(REPLACE ":" ";" pair ${pair})
    list(GET pair 0 page)
    list(GET pair 1 target)
    if(TARGET ${target})
        add_test(NAME man_page_test_${page} COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/man_page_test.py
            $<TARGET_FILE:${target}> ${CMAKE_SOURCE_DIR}/packaging/man/${page}.1
            $<$<STREQUAL:${page},halvex>:--skip-if-no-help>)
        set_tests_properties(man_page_test_${page} PROPERTIES SKIP_RETURN_CODE 77)
    endif()
endforeach()
