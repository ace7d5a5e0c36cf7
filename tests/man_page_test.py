#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Compares a program's --help with its manual page, both ways.

usage: man_page_test.py PROGRAM PAGE.1 [--skip-if-no-help]

The program is started under the page's name, so a usage line naming the program by how it
was started matches the page. An option is a token "-x" or "--word" that follows a space or
punctuation; a subcommand is the word after the program's name at the start of a usage line,
or the first word of a line under a "Commands:" heading. In the page, the synopsis and the
tags of the option and command lists are what it claims the program takes; every one of
those must be in --help, every option --help lists must be somewhere in the page, and every
subcommand in its synopsis or command list.
"""
import os
import re
import subprocess
import sys
import tempfile

OPTION = re.compile(r"(?<![\w-])(--[A-Za-z][\w-]*|-[A-Za-z](?![\w-]))")
WORD = re.compile(r"[a-z][a-z0-9-]*$")
SKIPPED = 77


def troff_text(line):
    """The text a troff source line shows, with its macro name and font changes dropped."""
    line = re.sub(r"\\f(\(..|\[[^]]*\]|.)", "", line)
    line = line.replace("\\-", "-").replace("\\&", "").replace("\\e", "\\")
    if line.startswith("."):
        line = line.split(None, 1)[1] if " " in line else ""
    return line.replace('"', " ")


def subcommand_after(name, text):
    tokens = text.split()
    if tokens and tokens[0].lower() == "usage:":
        tokens = tokens[1:]
    if len(tokens) > 1 and os.path.basename(tokens[0]) == name and WORD.match(tokens[1]):
        return tokens[1]
    return None


def parse_help(name, text):
    options, commands, in_commands = set(OPTION.findall(text)), set(), False
    for line in text.splitlines():
        if re.match(r"^\s*(sub)?commands:\s*$", line, re.I):
            in_commands = True
            continue
        if in_commands and line.startswith((" ", "\t")) and line.split():
            first = line.split()[0]
            if WORD.match(first):
                commands.add(first)
            continue
        in_commands = False
        command = subcommand_after(name, line)
        if command:
            commands.add(command)
    return options, commands


def parse_page(name, source):
    """What the page claims (synopsis and list tags), and every option it shows anywhere."""
    claimed_options, claimed_commands, shown = set(), set(), []
    section, tag_next = "", False
    for raw in source.splitlines():
        if raw.startswith(".SH"):
            section = troff_text(raw).strip().upper()
            continue
        if raw.startswith((".TP", ".IP")):
            tag_next = True
            continue
        text = troff_text(raw)
        shown.append(text)
        is_tag, tag_next = tag_next, False
        if section == "SYNOPSIS" or (is_tag and section == "OPTIONS"):
            claimed_options.update(OPTION.findall(text))
        if section == "SYNOPSIS":
            command = subcommand_after(name, text)
            if command:
                claimed_commands.add(command)
        if is_tag and section in ("COMMANDS", "SUBCOMMANDS") and text.split():
            claimed_commands.add(text.split()[0])
            claimed_options.update(OPTION.findall(text))
    return claimed_options, claimed_commands, set(OPTION.findall("\n".join(shown)))


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    program, page = os.path.abspath(argv[1]), argv[2]
    name = os.path.basename(page).rsplit(".", 1)[0]
    with tempfile.TemporaryDirectory() as scratch:
        started_as = os.path.join(scratch, name)
        os.symlink(program, started_as)
        # No display, so a program that would need one fails instead of opening a window.
        env = {key: value for key, value in os.environ.items()
               if key not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        run = subprocess.run([started_as, "--help"], capture_output=True, text=True,
                             timeout=30, env=env)
    if run.returncode != 0 or not run.stdout.strip():
        message = f"{name} --help printed no help (exit {run.returncode}): {run.stderr.strip()}"
        print(message, file=sys.stderr)
        return SKIPPED if "--skip-if-no-help" in argv else 1

    help_options, help_commands = parse_help(name, run.stdout)
    with open(page, encoding="utf-8") as file:
        claimed_options, claimed_commands, page_options = parse_page(name, file.read())
    faults = [f"--help lists {option}, the page does not"
              for option in sorted(help_options - page_options)]
    faults += [f"--help lists the command {command}, the page does not"
               for command in sorted(help_commands - claimed_commands)]
    faults += [f"the page lists {option}, --help does not"
               for option in sorted(claimed_options - help_options)]
    faults += [f"the page lists the command {command}, --help does not"
               for command in sorted(claimed_commands - help_commands)]
    for fault in faults:
        print(f"{name}: {fault}", file=sys.stderr)
    if not help_options and not help_commands:
        print(f"{name}: found no option or command in --help:\n{run.stdout}", file=sys.stderr)
        return 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
