#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command beside an accessibility bus of its own, as on a desktop with a screen reader
# running, so Qt reports every accessibility event. Call it inside dbus-run-session.
set -euo pipefail

[[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ]] || { echo "no D-Bus session: run under dbus-run-session" >&2; exit 1; }
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
trap 'kill "$launcher" 2>/dev/null || true; wait "$launcher" 2>/dev/null || true' EXIT

# The launcher answers on the session bus once it owns its name.
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null |
        grep -q 'boolean true' && break
    kill -0 "$launcher" 2>/dev/null || { echo "the accessibility bus did not start" >&2; exit 1; }
    sleep 0.1
done

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
