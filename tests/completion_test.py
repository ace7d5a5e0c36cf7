#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The generated shell completion of halvex-cli against the option tables it was written from
# and against the program's --help. Each shell runs its completion as it does at a prompt:
# bash the function with COMP_WORDS, zsh the widget on a pseudo-terminal with every candidate
# its functions add written out. Both must offer exactly the commands of --help and, for each
# command, exactly the options of its table, which must be those of its --help; for every
# value and every operand of the tables exactly the files of its endings (and folders), the
# serial devices, or nothing. An operand is completed after the operands before it and an
# option's value, which must not count as one.
# usage: completion_test.py HALVEX_CLI HALVEX_COMPLETION BASH_COMPLETION ZSH_COMPLETION
import os, re, subprocess, sys, tempfile

OPTION = re.compile(r"(?<![\w-])(--[A-Za-z][\w-]*|-[A-Za-z](?![\w-]))")

# Each candidate zsh's completion functions add goes to stderr, and a mark when it is over.
ZSH_INIT = r"""
PS1='' RPROMPT=''
fpath=(%(folder)s $fpath)
autoload -U compinit && compinit -u -D
compadd() {
    if [[ ${@[1,(i)(-|--)]} == *-(O|A|D)\ * ]]; then
        builtin compadd "$@"
        return $?
    fi
    typeset -a hits
    builtin compadd -A hits "$@"
    (( $#hits )) && print -r -l -- ${hits/#/HIT } >&2
    builtin compadd "$@"
}
# Nothing inserted or listed, so the line stays as typed and no question waits for a key.
quiet() { compstate[insert]='' compstate[list]='' }
complete-and-mark() {
    comppostfuncs=(quiet)
    zle complete-word
    print -r -- END-OF-LIST >&2
}
zle -N complete-and-mark
bindkey '^I' complete-and-mark
exec 2>%(out)s
"""

# One shell completes every line in turn, each on an empty line (Ctrl-U) once the last is over;
# what it echoes is read away, or a full terminal would stop it.
ZSH_DRIVE = r"""
zmodload zsh/zpty
zpty z 'zsh -f -i'
zpty -w z "source ${(q)1}"
integer done=0
while IFS= read -r line; do
    zpty -w -n z $'\025'"$line"$'\t'
    (( done++ ))
    for i in {1..600}; do
        while zpty -rt z echoed; do :; done
        [[ -f $2 && $(grep -c END-OF-LIST $2) -ge $done ]] && break
        sleep 0.05
    done
done
zpty -d z
"""


def help_of(program, *words):
    run = subprocess.run([program, *words, "--help"], capture_output=True, text=True, timeout=30)
    if run.returncode != 0:
        raise SystemExit(f"{' '.join(words)} --help failed: {run.stderr}")
    return run.stdout


def commands_of(program):
    found = re.findall(r"^\s+halvex-cli ([a-z][a-z-]*) ", help_of(program), re.M)
    return [c for c in dict.fromkeys(found) if c != "COMMAND"]


def options_of(program, command):
    return set(OPTION.findall(help_of(program, command)))


# {command: [(word, kind, endings)]} in the tables' order; an operand's word is its place.
def tables_of(generator):
    run = subprocess.run([generator, "table"], capture_output=True, text=True, timeout=30)
    if run.returncode != 0 or not run.stdout:
        raise SystemExit(f"halvex-completion table failed: {run.stderr}")
    tables = {}
    for line in run.stdout.splitlines():
        command, word, kind, *endings = line.split("\t")
        tables.setdefault(command, []).append((word, kind, endings[0].split() if endings else []))
    return tables


def bash_complete(script, words, folder):
    source = f"""
source {script!r}
COMP_WORDS=({" ".join(repr(w) if w else "''" for w in words)})
COMP_CWORD={len(words) - 1}
_halvex_cli
printf '%s\\n' "${{COMPREPLY[@]}}"
"""
    run = subprocess.run(["bash", "--norc", "--noprofile", "-c", source], capture_output=True,
                         text=True, cwd=folder, timeout=30)
    if run.returncode != 0 or run.stderr:
        raise SystemExit(f"bash completion of {' '.join(words)!r} failed: {run.stderr}")
    return {w for w in run.stdout.split("\n") if w}


def zsh_complete_all(script, lines, folder):
    out = os.path.join(folder, ".zsh-out")
    init = os.path.join(folder, ".zsh-init")
    with open(init, "w", encoding="utf-8") as file:
        file.write(ZSH_INIT % {"folder": os.path.dirname(script), "out": out})
    env = {"PATH": os.environ["PATH"], "HOME": folder, "TERM": "dumb"}
    subprocess.run(["zsh", "-f", "-c", ZSH_DRIVE, "zsh", init, out], input="\n".join(lines) + "\n",
                   text=True, cwd=folder, env=env, capture_output=True, timeout=120)
    text = open(out, encoding="utf-8").read() if os.path.exists(out) else ""
    answers = text.split("END-OF-LIST\n")[:-1]
    if len(answers) != len(lines):
        raise SystemExit(f"zsh finished {len(answers)} of {len(lines)} completions: {text}")
    return [{line[4:] for line in answer.splitlines() if line.startswith("HIT ")} for answer in answers]


def main(program, generator, bash_script, zsh_script):
    program, bash_script, zsh_script = map(os.path.abspath, (program, bash_script, zsh_script))
    commands, tables = commands_of(program), tables_of(generator)
    faults = []
    if list(tables) != commands:
        faults.append(f"the tables hold the commands {list(tables)}, --help lists {commands}")
    endings = sorted({e for table in tables.values() for _, _, ends in table for e in ends})
    # One file of every ending a table names, and one that none takes.
    files = [f"{k}.{e}" for k, e in enumerate(endings)] + ["other.txt"]
    present = {os.path.join("/dev", n) for n in os.listdir("/dev") if n.startswith("tty")}
    by_id = "/dev/serial/by-id"
    if os.path.isdir(by_id):
        present |= {os.path.join(by_id, n) for n in os.listdir(by_id)}

    def offered(kind, ends):
        if kind == "device":
            return present
        if kind == "files":
            return {f for f in files if not ends or f.rsplit(".")[1] in ends} | {"sub"}
        return set()

    cases = [(["halvex-cli", ""], set(commands) | {"--help", "--version"})]
    for command, table in tables.items():
        options = {w for w, _, _ in table if w.startswith("-")}
        if options != options_of(program, command):
            faults.append(f"{command}: the table holds {sorted(options)}, "
                          f"--help lists {sorted(options_of(program, command))}")
        cases.append((["halvex-cli", command, "-"], options | {"--help"}))
        values = [(w, k, e) for w, k, e in table if w.startswith("-") and k != "flag"]
        for word, kind, ends in values:
            start = "/dev/tty" if kind == "device" else ""
            wanted = {w for w in offered(kind, ends) if w.startswith(start)}
            cases.append((["halvex-cli", command, word, start], wanted))
        # Each operand after those before it, with an option's value in front that is no
        # operand.
        operands = [(w, k, e) for w, k, e in table if not w.startswith("-")]
        lead = [values[0][0], "v"] if values else []
        for place, (_, kind, ends) in enumerate(operands):
            words = ["halvex-cli", command, *lead, *["x"] * place, ""]
            cases.append((words, offered(kind, ends)))
    if len(cases) < 2 * len(commands):
        faults.append(f"too few cases from the tables: {len(cases)}")

    with tempfile.TemporaryDirectory() as folder:
        for name in files:
            open(os.path.join(folder, name), "w").close()
        os.mkdir(os.path.join(folder, "sub"))
        answers = {"bash": [bash_complete(bash_script, words, folder) for words, _ in cases],
                   "zsh": zsh_complete_all(zsh_script, [" ".join(words) for words, _ in cases], folder)}
        for shell, answered in answers.items():
            for (words, wanted), answer in zip(cases, answered):
                if answer != wanted:
                    faults.append(f"{shell} offers {sorted(answer)[:20]} after {' '.join(words)!r}, "
                                  f"not {sorted(wanted)[:20]}")
    for fault in faults:
        print(fault, file=sys.stderr)
    print(f"{len(cases)} completions checked in each shell", file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]) if len(sys.argv) == 5 else 2)
