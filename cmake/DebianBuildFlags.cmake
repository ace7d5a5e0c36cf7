# SPDX-License-Identifier: GPL-3.0-or-later
# For make install: the compiler and linker flags a Debian package is built with, as
# dpkg-buildflags gives them with every hardening feature on (debian/rules asks dpkg for them
# itself): fortified string functions, a stack protector, a read-only
# relocation table bound at start-up, and position-independent programs (Debian's compiler
# makes those by default, so dpkg-buildflags adds nothing for them there).
find_program(HALVEX_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)

function(halvex_debian_flags kind out)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${HALVEX_DPKG_BUILDFLAGS} --get ${kind}
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    # The build type chooses the optimisation, and make install strips the programs, so debug
    # information would only slow the build.
    list(FILTER flags EXCLUDE REGEX "^-(O[0-9s]?|g)$")
    set(${out} ${flags} PARENT_SCOPE)
endfunction()

halvex_debian_flags(CPPFLAGS HALVEX_DEBIAN_CPPFLAGS)
halvex_debian_flags(CXXFLAGS HALVEX_DEBIAN_CXXFLAGS)
halvex_debian_flags(LDFLAGS HALVEX_DEBIAN_LDFLAGS)
add_compile_options(${HALVEX_DEBIAN_CPPFLAGS} ${HALVEX_DEBIAN_CXXFLAGS})
add_link_options(${HALVEX_DEBIAN_LDFLAGS})
