# SPDX-License-Identifier: GPL-3.0-or-later
# Copies the installation data (setting.ini, language files, help) beside the
# executables whenever a file in data/ changes.
file(GLOB_RECURSE HALVEX_DATA_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
set(HALVEX_DATA_STAMP ${CMAKE_BINARY_DIR}/data.stamp)
add_custom_command(
    OUTPUT ${HALVEX_DATA_STAMP}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${HALVEX_BIN_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${HALVEX_DATA_STAMP}
    DEPENDS ${HALVEX_DATA_FILES}
    COMMENT "Copying installation data beside the executables")
add_custom_target(halvex_data ALL DEPENDS ${HALVEX_DATA_STAMP})
