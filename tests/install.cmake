# Where files live in the build folder and once installed, and the installed tree itself.
halvex_add_core_test(file_locations_test file_locations_test.cpp)

# The installed tree used by a fresh user; all of it must stay within modest time.
add_test(NAME install_test COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install_test.sh
    ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} $<IF:$<BOOL:${HALVEX_BUILD_UI}>,1,0>)
set_tests_properties(install_test PROPERTIES TIMEOUT 240 RESOURCE_LOCK halvex_install)
