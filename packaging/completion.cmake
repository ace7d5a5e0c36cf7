# SPDX-License-Identifier: GPL-3.0-or-later
# The shell completion of halvex-cli, written at build time by halvex-completion from the
# program's own option tables, so it offers what the parser takes; installed where Debian's
# bash-completion and zsh look for it.
set(HALVEX_COMPLETION_DIR ${CMAKE_BINARY_DIR}/packaging/completion)
set(HALVEX_BASH_COMPLETION ${HALVEX_COMPLETION_DIR}/halvex-cli.bash)
set(HALVEX_ZSH_COMPLETION ${HALVEX_COMPLETION_DIR}/_halvex-cli)
add_custom_command(OUTPUT ${HALVEX_BASH_COMPLETION} ${HALVEX_ZSH_COMPLETION}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${HALVEX_COMPLETION_DIR}
    COMMAND $<TARGET_FILE:halvex-completion> bash ${HALVEX_BASH_COMPLETION}
    COMMAND $<TARGET_FILE:halvex-completion> zsh ${HALVEX_ZSH_COMPLETION}
    DEPENDS halvex-completion
    COMMENT "Writing the shell completion of halvex-cli")
add_custom_target(halvex_completion ALL DEPENDS ${HALVEX_BASH_COMPLETION} ${HALVEX_ZSH_COMPLETION})

install(FILES ${HALVEX_BASH_COMPLETION}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME halvex-cli)
install(FILES ${HALVEX_ZSH_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
