#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one test program on an X server of its own. The server picks a free display number
# itself (-displayfd), so parallel runs never share or fight over a display.
set -euo pipefail

number_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -f "$number_file"' EXIT

for _ in $(seq 100); do
    [[ -s "$number_file" ]] && break
    kill -0 "$server" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
display=$(head -n 1 "$number_file")
[[ -n "$display" ]] || { echo "Xvfb gave no display number" >&2; exit 1; }

DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$@"
