#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Compares a program's --help with its manual page, both ways; the program is started under
# the page's name. An option is "-x" or "--word" after a space or punctuation; a subcommand is
# the word after the program's name at the start of a line, or the first word of an indented
# line under a "Commands:" heading. The page's synopsis, its OPTIONS tags and its COMMANDS tags
# must all be in --help; every option of --help must be somewhere in the page, and every
# subcommand in its synopsis or COMMANDS tags.
# usage: man_page_test.py PROGRAM PAGE.1 [--skip-if-no-help]   (77 means skipped)
import os, re, subprocess, sys, tempfile

OPTION = re.compile(r"(?<![\w-])(--[A-Za-z][\w-]*|-[A-Za-z](?![\w-]))")
WORD = re.compile(r"[a-z][a-z0-9-]*$")


def subcommand(name, line):
    words = line.split()
    words = words[1:] if words[:1] == ["usage:"] else words
    if len(words) > 1 and os.path.basename(words[0]) == name and WORD.match(words[1]):
        return words[1]


def parse_help(name, text):
    commands, heading = set(), False
    for line in text.splitlines():
        if heading and line[:1].isspace() and WORD.match(line.split()[0] if line.split() else ""):
            commands.add(line.split()[0])
            continue
        heading = bool(re.match(r"\s*(sub)?commands:\s*$", line, re.I))
        commands.add(subcommand(name, line))
    return set(OPTION.findall(text)), commands - {None}


def parse_page(name, source):
    claimed, commands, shown, section, tag = set(), set(), set(), "", False
    for line in source.splitlines():
        line = re.sub(r"\\f(\(..|\[[^]]*\]|.)", "", line).replace("\\-", "-").replace("\\&", "")
        macro, _, text = line.partition(" ") if line.startswith(".") else ("", "", line)
        text = text.replace('"', " ")
        if macro in (".TP", ".IP"):
            tag = True
            continue
        if macro == ".SH":
            section = text.strip().upper()
            continue
        shown.update(OPTION.findall(text))
        if section == "SYNOPSIS" or (tag and section in ("OPTIONS", "COMMANDS")):
            claimed.update(OPTION.findall(text))
        if section == "SYNOPSIS":
            commands.add(subcommand(name, text))
        elif tag and section == "COMMANDS" and text.split():
            commands.add(text.split()[0])
        tag = False
    return claimed, commands - {None}, shown


def main(program, page, *flags):
    name = os.path.basename(page).rsplit(".", 1)[0]
    # No display, so a program that would need one fails instead of opening a window.
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    with tempfile.TemporaryDirectory() as scratch:
        os.symlink(os.path.abspath(program), os.path.join(scratch, name))
        run = subprocess.run([os.path.join(scratch, name), "--help"], capture_output=True, text=True, timeout=30, env=env)
    if run.returncode != 0 or not run.stdout.strip():
        print(f"{name} --help printed no help (exit {run.returncode}): {run.stderr}", file=sys.stderr)
        return 77 if "--skip-if-no-help" in flags else 1
    options, commands = parse_help(name, run.stdout)
    with open(page, encoding="utf-8") as file:
        claimed, page_commands, shown = parse_page(name, file.read())
    faults = [f"--help lists {o}, the page does not" for o in sorted(options - shown)]
    faults += [f"--help lists the command {c}, the page does not" for c in sorted(commands - page_commands)]
    faults += [f"the page lists {o}, --help does not" for o in sorted(claimed - options)]
    faults += [f"the page lists the command {c}, --help does not" for c in sorted(page_commands - commands)]
    if not options and not commands:
        faults.append(f"no option or command found in --help:\n{run.stdout}")
    for fault in faults:
        print(f"{name}: {fault}", file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]) if len(sys.argv) >= 3 else 2)
