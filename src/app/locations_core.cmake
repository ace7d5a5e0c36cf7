# Where the programs keep their files, in the build folder and once installed.
include(GNUInstallDirs)
file(RELATIVE_PATH HALVEX_RELATIVE_DATA_DIR
    ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/halvex)
target_sources(halvex_core PRIVATE app/file_locations.cpp)
set_source_files_properties(app/file_locations.cpp PROPERTIES
    COMPILE_DEFINITIONS HALVEX_RELATIVE_DATA_DIR="${HALVEX_RELATIVE_DATA_DIR}")
