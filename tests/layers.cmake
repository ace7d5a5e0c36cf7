# SPDX-License-Identifier: GPL-3.0-or-later
# Folders depend one way: an include that closes a loop between two of them fails here.
add_test(NAME include_loops_test COMMAND ${PROJECT_SOURCE_DIR}/scripts/include-loops
    ${PROJECT_SOURCE_DIR}/src)
set_tests_properties(include_loops_test PROPERTIES LABELS layers
    PASS_REGULAR_EXPRESSION "^0 loop\\(s\\) through 0 folder\\(s\\)\n$")

# The check itself finds a loop it is shown, with the includes that close it, and only it.
add_test(NAME include_loops_finds_a_loop COMMAND ${PROJECT_SOURCE_DIR}/scripts/include-loops
    ${CMAKE_CURRENT_SOURCE_DIR}/data/include_loop)
set_tests_properties(include_loops_finds_a_loop PROPERTIES LABELS layers
    PASS_REGULAR_EXPRESSION "^loop 1: core/codeplug, core/editors\n  core/codeplug/image.h -> editors/rules.h\n  core/editors/rules.h -> codeplug/image.h\n1 loop\\(s\\) through 2 folder\\(s\\)\n$")
