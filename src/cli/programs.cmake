# The command-line tool links only the core: it must run where no desktop is installed.
# Every subcommand is one file here, so a new one needs no edit of this list.
file(GLOB HALVEX_CLI_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/cli/*.cpp)
add_executable(halvex-cli ${HALVEX_CLI_SOURCES})
target_link_libraries(halvex-cli PRIVATE halvex_core)
