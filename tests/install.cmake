# Where files live in the build folder and once installed, and the installed tree itself.
halvex_add_core_test(file_locations_test file_locations_test.cpp)
