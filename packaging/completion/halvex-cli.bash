# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for halvex-cli: its commands, each command's options, and for a value the
# files it takes (by extension) or the serial devices.

# The options of each command, as halvex-cli COMMAND --help lists them.
_halvex_cli_options() {
    case $1 in
    new) echo "--settings --band -o" ;;
    info) echo "--settings --csv" ;;
    read) echo "--port --device --settings -o --verbose" ;;
    write) echo "--port --device --settings --verify --no-verify --force --verbose" ;;
    station) echo "--device --count --log --no-verify --check-only --ptt-id-code-from --auto --settings" ;;
    verify) echo "--device --settings" ;;
    ports) echo "--settings --json" ;;
    doctor) echo "--port --device --settings" ;;
    diff) echo "--settings --device" ;;
    export) echo "--settings -o" ;;
    import) echo "--settings --band --into --allow-empty -o" ;;
    dump) echo "--settings -o" ;;
    apply) echo "--settings --into -o" ;;
    esac
}

# Files whose names end in one of the extensions given (a|b), and folders to walk into.
_halvex_cli_files() {
    local IFS=$'\n' pattern="!*.@($1)"
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -f -X "$pattern" -- "$cur") $(compgen -d -- "$cur"))
}

# The stable names of USB serial adapters first, then every serial device node.
_halvex_cli_devices() {
    local IFS=$'\n'
    COMPREPLY=($(compgen -W "$(compgen -G '/dev/serial/by-id/*'; compgen -G '/dev/tty*')" -- "$cur"))
}

_halvex_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} previous=${COMP_WORDS[COMP_CWORD - 1]}
    local command=${COMP_WORDS[1]}
    COMPREPLY=()
    shopt -s extglob

    if [[ $COMP_CWORD -eq 1 ]]; then
        COMPREPLY=($(compgen -W "new info read write station verify ports doctor diff export
            import dump apply --help --version" -- "$cur"))
        return
    fi
    case $previous in
    --settings) _halvex_cli_files ini; return ;;
    --device) _halvex_cli_devices; return ;;
    --into) _halvex_cli_files pgm; return ;;
    --log) _halvex_cli_files csv; return ;;
    --port | --band | --count | --ptt-id-code-from) return ;;
    -o)
        case $command in
        export) _halvex_cli_files csv ;;
        dump) _halvex_cli_files 'yaml|yml' ;;
        *) _halvex_cli_files pgm ;;
        esac
        return
        ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_halvex_cli_options "$command") --help" -- "$cur"))
        return
    fi
    case $command in
    import) _halvex_cli_files csv ;;
    apply) _halvex_cli_files 'yaml|yml' ;;
    diff | write) _halvex_cli_files 'pgm|yaml|yml' ;;
    info | station | verify | export | dump) _halvex_cli_files pgm ;;
    esac
}
complete -F _halvex_cli halvex-cli
