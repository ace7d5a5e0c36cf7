#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The shell completion of halvex-cli against its --help, so neither drifts. Each shell runs
# its completion as it does at a prompt: bash the function with COMP_WORDS, zsh the widget on
# a pseudo-terminal with every candidate its functions add written out. Both must offer
# exactly the commands of --help and, for each command, exactly the options of its --help,
# and for a value or operand the files of the kind it takes (and folders), no other.
# usage: completion_test.py HALVEX_CLI BASH_COMPLETION ZSH_COMPLETION
import os, re, subprocess, sys, tempfile

OPTION = re.compile(r"(?<![\w-])(--[A-Za-z][\w-]*|-[A-Za-z](?![\w-]))")
FILES = ("a.pgm", "b.csv", "c.yaml", "d.yml", "e.ini", "f.txt")

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
    return set(OPTION.findall(help_of(program, command))) | {"--help"}


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


def main(program, bash_script, zsh_script):
    program, bash_script, zsh_script = map(os.path.abspath, (program, bash_script, zsh_script))
    commands = commands_of(program)
    if len(commands) < 5:
        raise SystemExit(f"too few commands found in --help: {commands}")
    cases = [(["halvex-cli", ""], set(commands) | {"--help", "--version"})]
    cases += [(["halvex-cli", c, "-"], options_of(program, c)) for c in commands]
    # The files each value and each command's operand take, and what a number takes: none.
    for words, kinds in [
        (["info", ""], "pgm"), (["import", ""], "csv"), (["apply", ""], "yaml yml"),
        (["diff", "a.pgm", ""], "pgm yaml yml"), (["write", ""], "pgm yaml yml"),
        (["read", "-o", ""], "pgm"),
        (["export", "a.pgm", "-o", ""], "csv"), (["dump", "a.pgm", "-o", ""], "yaml yml"),
        (["new", "--settings", ""], "ini"), (["station", "--log", ""], "csv"),
        (["import", "b.csv", "--into", ""], "pgm"), (["read", "--port", ""], None),
    ]:
        wanted = {f for f in FILES if kinds and f.rsplit(".")[1] in kinds.split()}
        cases.append((["halvex-cli", *words], wanted | ({"sub"} if kinds else set())))
    present = {os.path.join("/dev", n) for n in os.listdir("/dev") if n.startswith("tty")}
    for command in ("read", "diff a.pgm", "station a.pgm", "verify a.pgm"):
        cases.append((["halvex-cli", *command.split(), "--device", "/dev/tty"], present))

    faults = []
    with tempfile.TemporaryDirectory() as folder:
        for name in FILES:
            open(os.path.join(folder, name), "w").close()
        os.mkdir(os.path.join(folder, "sub"))
        offered = {"bash": [bash_complete(bash_script, words, folder) for words, _ in cases],
                   "zsh": zsh_complete_all(zsh_script, [" ".join(words) for words, _ in cases], folder)}
        for shell, answers in offered.items():
            for (words, wanted), answer in zip(cases, answers):
                if answer != wanted:
                    faults.append(f"{shell} offers {sorted(answer)[:20]} after {' '.join(words)!r}, "
                                  f"not {sorted(wanted)[:20]}")
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]) if len(sys.argv) == 4 else 2)
