# SPDX-License-Identifier: GPL-3.0-or-later
# Removes every file listed in an install manifest (DESTDIR applies as for the install).
if(NOT EXISTS "${MANIFEST}")
    message(FATAL_ERROR "Nothing to uninstall: ${MANIFEST} does not exist (install first)")
endif()
file(STRINGS "${MANIFEST}" installed)
foreach(file IN LISTS installed)
    set(path "$ENV{DESTDIR}${file}")
    if(EXISTS "${path}" OR IS_SYMLINK "${path}")
        message(STATUS "Removing ${path}")
        file(REMOVE "${path}")
    endif()
endforeach()
