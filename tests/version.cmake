# SPDX-License-Identifier: GPL-3.0-or-later
# Every program names the one version of the project.
foreach(program halvex-cli radio-sim halvex)
    if(TARGET ${program})
        add_test(NAME version_${program} COMMAND ${program} --version)
        set_tests_properties(version_${program} PROPERTIES
            PASS_REGULAR_EXPRESSION "^${program} ${PROJECT_VERSION}\n$")
    endif()
endforeach()
