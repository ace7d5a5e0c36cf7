#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The shell completion of halvex-cli against its --help, so neither drifts: bash's completion
# is run as bash runs it (COMP_WORDS in, COMPREPLY out) and must offer exactly the commands of
# --help and, for each command, exactly the options of COMMAND --help; its file completion
# must offer the files of the kind the option or command takes and no other. zsh's function
# must parse and name, for each command, the same options.
# usage: completion_test.py HALVEX_CLI BASH_COMPLETION ZSH_COMPLETION
import os, re, shutil, subprocess, sys, tempfile

OPTION = re.compile(r"(?<![\w-])(--[A-Za-z][\w-]*|-[A-Za-z](?![\w-]))")


def help_of(program, *words):
    run = subprocess.run([program, *words, "--help"], capture_output=True, text=True, timeout=30)
    if run.returncode != 0:
        raise SystemExit(f"{' '.join(words)} --help failed: {run.stderr}")
    return run.stdout


def commands_of(program):
    text = help_of(program)
    found = re.findall(r"^\s+halvex-cli ([a-z][a-z-]*) ", text, re.M)
    return [c for c in dict.fromkeys(found) if c != "COMMAND"]


def options_of(program, command):
    return set(OPTION.findall(help_of(program, command))) | {"--help"}


def bash_complete(script, words, folder):
    line = " ".join(words)
    source = f'''
source {script!r}
COMP_WORDS=({" ".join(repr(w) if w else "''" for w in words)})
COMP_CWORD={len(words) - 1}
COMP_LINE={line!r}
COMP_POINT=${{#COMP_LINE}}
_halvex_cli
printf '%s\\n' "${{COMPREPLY[@]}}"
'''
    run = subprocess.run(["bash", "--norc", "--noprofile", "-c", source], capture_output=True,
                         text=True, cwd=folder, timeout=30)
    if run.returncode != 0 or run.stderr:
        raise SystemExit(f"bash completion of {line!r} failed: {run.stderr}")
    return {w for w in run.stdout.split("\n") if w}


def zsh_options(script):
    text = open(script, encoding="utf-8").read()
    shared = dict(re.findall(r"^\s*(\w+)=\('(--?[\w-]+)\[", text, re.M))
    found = {}
    for command, body in re.findall(r"^\s{4}(\w[\w-]*)\)\n(.*?);;", text, re.M | re.S):
        names = set(re.findall(r"['\"](?:\([^)]*\))?\*?(--?[\w-]+)\[", body))
        names |= {shared[v] for v in re.findall(r"\$(\w+)", body) if v in shared}
        found[command] = names
    return found


def main(program, bash_script, zsh_script):
    program, bash_script = os.path.abspath(program), os.path.abspath(bash_script)
    faults = []
    commands = commands_of(program)
    if len(commands) < 5:
        raise SystemExit(f"too few commands found in --help: {commands}")
    with tempfile.TemporaryDirectory() as folder:
        for name in ("a.pgm", "b.csv", "c.yaml", "d.yml", "e.ini", "f.txt"):
            open(os.path.join(folder, name), "w").close()
        os.mkdir(os.path.join(folder, "sub"))
        offered = bash_complete(bash_script, ["halvex-cli", ""], folder)
        wanted = set(commands) | {"--help", "--version"}
        if offered != wanted:
            faults.append(f"bash offers {sorted(offered)} as commands, --help lists {sorted(wanted)}")
        zsh = zsh_options(zsh_script)
        for command in commands:
            options = options_of(program, command)
            offered = bash_complete(bash_script, ["halvex-cli", command, "-"], folder)
            if offered != options:
                faults.append(f"bash offers {sorted(offered)} for {command}, its --help lists {sorted(options)}")
            if zsh.get(command) != options:
                faults.append(f"zsh names {sorted(zsh.get(command, []))} for {command}, its --help lists {sorted(options)}")
        # The files each value and each command's operand take.
        cases = [
            (["info", ""], {"a.pgm", "sub"}), (["import", ""], {"b.csv", "sub"}),
            (["apply", ""], {"c.yaml", "d.yml", "sub"}), (["diff", "a.pgm", ""], {"a.pgm", "c.yaml", "d.yml", "sub"}),
            (["read", "-o", ""], {"a.pgm", "sub"}), (["export", "a.pgm", "-o", ""], {"b.csv", "sub"}),
            (["dump", "a.pgm", "-o", ""], {"c.yaml", "d.yml", "sub"}), (["new", "--settings", ""], {"e.ini", "sub"}),
            (["station", "--log", ""], {"b.csv", "sub"}), (["import", "b.csv", "--into", ""], {"a.pgm", "sub"}),
            (["read", "--port", ""], set()),
        ]
        for words, wanted in cases:
            offered = bash_complete(bash_script, ["halvex-cli", *words], folder)
            if offered != wanted:
                faults.append(f"bash offers {sorted(offered)} after {' '.join(words)!r}, not {sorted(wanted)}")
        devices = bash_complete(bash_script, ["halvex-cli", "read", "--device", "/dev/tty"], folder)
        present = {os.path.join("/dev", n) for n in os.listdir("/dev") if n.startswith("tty")}
        if devices != present:
            faults.append(f"bash offers {sorted(devices)[:5]}... for --device /dev/tty, /dev has {sorted(present)[:5]}...")
    if shutil.which("zsh"):
        run = subprocess.run(["zsh", "-n", zsh_script], capture_output=True, text=True, timeout=30)
        if run.returncode != 0:
            faults.append(f"zsh cannot parse {zsh_script}: {run.stderr}")
    else:
        faults.append("zsh is not installed (scripts/ensure-deps installs it)")
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]) if len(sys.argv) == 4 else 2)
