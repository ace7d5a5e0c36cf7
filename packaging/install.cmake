# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where (GNUInstallDirs); the Debian package (debian/) is made
# from this install. The programs find their data at ../share/halvex from their own folder,
# so the tree works under any prefix and in a DESTDIR.
include(GNUInstallDirs)

set(HALVEX_APP_ID org.halvex.Halvex)
set(HALVEX_HOMEPAGE "https://halvex.org/" CACHE STRING "The project's home page")
set(HALVEX_SCREENSHOT_URL "${HALVEX_HOMEPAGE}docs" CACHE STRING
    "Where the screenshots of docs/ are published, for the software centres")
set(HALVEX_DATA_DIR ${CMAKE_INSTALL_FULL_DATADIR}/halvex)
set(HALVEX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/halvex)
set(HALVEX_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

install(TARGETS halvex-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET halvex)
    install(TARGETS halvex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# A name as generic as radio-sim must not land in a shared bin folder.
install(PROGRAMS $<TARGET_FILE:radio-sim> DESTINATION ${CMAKE_INSTALL_BINDIR}
    RENAME halvex-radio-sim)
# Stripped as Debian strips: CMake strips only targets, and leaves the compiler's notes.
# radio-sim, renamed, is a plain file to CMake.
set(HALVEX_INSTALLED_PROGRAMS halvex-cli halvex-radio-sim)
if(TARGET halvex)
    list(APPEND HALVEX_INSTALLED_PROGRAMS halvex)
endif()
foreach(program ${HALVEX_INSTALLED_PROGRAMS})
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded
                --remove-section=.comment --remove-section=.note
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
                COMMAND_ERROR_IS_FATAL ANY)
        endif()")
endforeach()
# The glossaries are for translators, not for the program.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/halvex
    PATTERN glossaries EXCLUDE)

install(FILES ${HALVEX_PACKAGING_DIR}/${HALVEX_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${HALVEX_PACKAGING_DIR}/${HALVEX_APP_ID}.mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${HALVEX_APP_ID}.xml)
configure_file(${HALVEX_PACKAGING_DIR}/${HALVEX_APP_ID}.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/packaging/${HALVEX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${HALVEX_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES ${HALVEX_PACKAGING_DIR}/icons/${HALVEX_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${HALVEX_PACKAGING_DIR}/icons/halvex-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${HALVEX_APP_ID}.png)
endforeach()

# Manual pages, compressed as Debian installs them.
set(HALVEX_VERSION ${PROJECT_VERSION})
set(HALVEX_MAN_PAGES)
foreach(page halvex halvex-cli halvex-radio-sim)
    set(configured ${CMAKE_BINARY_DIR}/packaging/man/${page}.1)
    configure_file(${HALVEX_PACKAGING_DIR}/man/${page}.1 ${configured} @ONLY)
    add_custom_command(OUTPUT ${configured}.gz
        COMMAND gzip -9 -n -k -f ${configured}
        DEPENDS ${configured}
        COMMENT "Compressing the manual page ${page}(1)")
    list(APPEND HALVEX_MAN_PAGES ${configured}.gz)
endforeach()
add_custom_target(halvex_man_pages ALL DEPENDS ${HALVEX_MAN_PAGES})
install(FILES ${HALVEX_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The user guide as documentation too, where Debian users look for it; the program itself
# reads its copies in the data folder.
file(GLOB HALVEX_GUIDES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*.html
    ${CMAKE_SOURCE_DIR}/data/*.png)
install(FILES ${HALVEX_GUIDES} DESTINATION ${HALVEX_DOC_DIR})

include(${HALVEX_PACKAGING_DIR}/completion.cmake)
include(${HALVEX_PACKAGING_DIR}/examples.cmake)

# `cmake --build <dir> --target uninstall` removes what the last install of <dir> put down.
add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
        -P ${HALVEX_PACKAGING_DIR}/uninstall.cmake)
