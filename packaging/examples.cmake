# SPDX-License-Identifier: GPL-3.0-or-later
# The example radio files, made from the lists in data/examples/ by halvex-cli itself, so they
# are what a user's own import or apply would make. They land beside the lists in the data
# folder, in the build (bin/examples/) and installed (share/halvex/examples/).
set(HALVEX_EXAMPLES_SOURCE ${CMAKE_SOURCE_DIR}/data/examples)
set(HALVEX_EXAMPLES_DIR ${HALVEX_BIN_DIR}/examples)
set(HALVEX_EXAMPLE_FILES)

# Each channel list with the band line of data/setting.ini that holds its frequencies.
foreach(example calling-simplex-2m-70cm:3 murs:0 weather-receive-only:0 pmr446:1)
    string(REPLACE ":" ";" example ${example})
    list(GET example 0 name)
    list(GET example 1 band)
    set(output ${HALVEX_EXAMPLES_DIR}/${name}.pgm)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${HALVEX_EXAMPLES_DIR}
        COMMAND $<TARGET_FILE:halvex-cli> import ${HALVEX_EXAMPLES_SOURCE}/${name}.csv
            --settings ${CMAKE_SOURCE_DIR}/data/setting.ini --band ${band} -o ${output}
        DEPENDS halvex-cli ${HALVEX_EXAMPLES_SOURCE}/${name}.csv ${CMAKE_SOURCE_DIR}/data/setting.ini
        COMMENT "Making the example ${name}.pgm")
    list(APPEND HALVEX_EXAMPLE_FILES ${output})
endforeach()

# The demo radio of halvex-radio-sim --demo, kept as its text form (halvex-cli dump).
set(output ${HALVEX_EXAMPLES_DIR}/demo.pgm)
add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${HALVEX_EXAMPLES_DIR}
    COMMAND $<TARGET_FILE:halvex-cli> apply ${HALVEX_EXAMPLES_SOURCE}/demo.yaml
        --settings ${CMAKE_SOURCE_DIR}/data/setting.ini -o ${output}
    DEPENDS halvex-cli ${HALVEX_EXAMPLES_SOURCE}/demo.yaml ${CMAKE_SOURCE_DIR}/data/setting.ini
    COMMENT "Making the example demo.pgm")
list(APPEND HALVEX_EXAMPLE_FILES ${output})

add_custom_target(halvex_examples ALL DEPENDS ${HALVEX_EXAMPLE_FILES})
install(FILES ${HALVEX_EXAMPLE_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/halvex/examples)
