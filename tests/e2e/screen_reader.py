#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The screen reader journey: Orca itself reads the running program, and the journey checks
what it says, from the lines of Orca's debug log that record speech. Orca runs without a
speech module, so nothing is heard and every utterance is still logged. Needs a D-Bus session
of its own (dbus-run-session).

usage: dbus-run-session -- screen_reader.py JOURNEY --bin BIN_DIR --layout DIALOG_LAYOUT_PROGRAM
           --work FOLDER
"""

import json
import os
import pty
import re
import shutil
import subprocess
import sys
import threading
import tty

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from accessibility import (COLUMN_COUNT, TRANSFER_DEADLINE, Tree,  # noqa: E402
                           demo_memory_file, keys_until_focused, start_accessibility_bus)
from session import IDS, run_journey  # noqa: E402
from xserver import DEFAULT_DEADLINE, JourneyFailure, dies_with_parent, wait_until  # noqa: E402

# Orca on a loaded machine takes its time; the deadline bounds a hang, not a speed.
SPEECH_DEADLINE = 60.0
# The utterance, without the voice Orca logs after it.
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*)' ?\[?\{'established")
# A user's settings with nothing to speak through, no braille display to look for, and no
# hang check: on a busy machine a slow start is not a hang.
ORCA_SETTINGS = {
    "general": {"speechServerFactory": "", "enableBraille": False, "enableSound": False},
    "profiles": {"default": {"profile": ["Default", "default"], "pronunciations": {},
                             "keybindings": {}}},
    "pronunciations": {}, "keybindings": {},
}
ORCA_CUSTOMIZATIONS = "import orca.settings\norca.settings.timeoutTime = 0\n"


def bus_call(*arguments):
    return subprocess.run(["dbus-send", "--session", "--print-reply", *arguments],
                          capture_output=True, text=True, timeout=DEFAULT_DEADLINE).stdout


class ScreenReader:
    """Orca beside a window manager, and what it has said so far."""

    def __init__(self, session):
        self.session = session
        self.spoken = []
        self._lock = threading.Lock()
        # Asked before the launcher owns its name, D-Bus would start a second one.
        wait_until("the accessibility bus", lambda: "boolean true" in bus_call(
            "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
            "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"))
        bus_call("--dest=org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties.Set",
                 "string:org.a11y.Status", "string:IsEnabled", "variant:boolean:true")
        # Without a window manager the focus does not come back after a modal dialog.
        self.window_manager = subprocess.Popen(
            ["openbox", "--sm-disable"], env=session.x.env, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, preexec_fn=dies_with_parent)
        settings = session.path("orca")
        os.makedirs(settings)
        with open(os.path.join(settings, "user-settings.conf"), "w", encoding="utf-8") as stream:
            json.dump(ORCA_SETTINGS, stream)
        with open(os.path.join(settings, "orca-customizations.py"), "w", encoding="utf-8") as s:
            s.write(ORCA_CUSTOMIZATIONS)
        # Orca's debug file is line-buffered only on a terminal, so it writes to one.
        master, slave = pty.openpty()
        tty.setraw(slave)
        self.orca = subprocess.Popen(
            ["orca", "-u", settings, "--debug-file=/dev/stdout"], env=session.x.env,
            stdin=subprocess.DEVNULL, stdout=slave, stderr=subprocess.STDOUT,
            preexec_fn=dies_with_parent)
        os.close(slave)
        self._reader = threading.Thread(target=self._read, args=(master,), daemon=True)
        self._reader.start()
        self.wait_for("Orca to start", ["Screen reader on"], 0, 2 * SPEECH_DEADLINE)

    def _read(self, master):
        with open(self.session.path("orca.log"), "wb") as log:
            pending = b""
            while True:
                try:
                    chunk = os.read(master, 65536)
                except OSError:
                    break
                if not chunk:
                    break
                log.write(chunk)
                lines = (pending + chunk).split(b"\n")
                pending = lines.pop()
                heard = [m.group(1) for m in map(SPOKEN.search,
                                                 (line.decode("utf-8", "replace")
                                                  for line in lines)) if m]
                with self._lock:
                    self.spoken += heard
        os.close(master)

    def mark(self):
        with self._lock:
            return len(self.spoken)

    def since(self, mark):
        with self._lock:
            return list(self.spoken[mark:])

    def wait_for(self, what, phrases, mark, deadline=SPEECH_DEADLINE):
        """Waits until each phrase has been said, in order, since mark; returns the lines."""
        def heard():
            if self.orca.poll() is not None:
                raise JourneyFailure(f"Orca ended with status {self.orca.returncode}")
            lines = self.since(mark)
            text = " | ".join(lines)
            position = 0
            for phrase in phrases:
                position = text.find(phrase, position)
                if position < 0:
                    return None
                position += len(phrase)
            return lines

        try:
            return wait_until(what, heard, deadline)
        except JourneyFailure:
            raise JourneyFailure(f"{what}: expected {phrases} to be spoken, Orca said "
                                 f"{self.since(mark)}") from None

    def stop(self):
        for process in (self.orca, self.window_manager):
            process.terminate()
            try:
                process.wait(timeout=DEFAULT_DEADLINE)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self._reader.join(timeout=DEFAULT_DEADLINE)


def start_screen_reader(session):
    stop_bus = start_accessibility_bus(session)
    try:
        session.reader = ScreenReader(session)
    except Exception:
        stop_bus()
        raise

    def stop():
        session.reader.stop()
        stop_bus()
    return stop


def journey_orca_speech(session):
    """Each step names what Orca must say, in order, after its key; the log of each step is
    printed for the record."""
    reader = session.reader
    path = session.path("channels.pgm")
    shutil.copy(demo_memory_file(session), path)
    session.start_radio()
    session.start_app(path, extra_environment={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
    tree = Tree(session)
    reader.wait_for("the main window", [session.text("IDS_WINDOWNAME")], 0)
    toolbars = [a.name for a in tree.objects() if a.getRoleName() == "tool bar"]
    if toolbars != [session.text("IDS_TOOLBAR")]:
        raise JourneyFailure(f"the toolbar is named {toolbars}")
    table = tree.channel_table()
    keys_until_focused(session, "Tab", lambda: tree.focused_cell(table, (0, 0)),
                       "a cell of the channel table")
    # A Tab too many on a slow machine moves between cells; the steps start on the first.
    session.x.key(*["Left"] * COLUMN_COUNT, "Home")
    wait_until("the first cell", lambda: tree.focused_cell(table, (0, 1)) == (0, 1))
    channels, functions, vfo = (session.text(k) for k in ("IDS_CHANNEL", "IDS_FUNCTION",
                                                          "IDS_VFOFREQ"))
    steps = [
        (["Down"], ["145.50000", "Channel 2, RX Freq (MHz)"]),
        (["Right"], ["Channel 2, Decode CTC/DCS"]),
        (["F4"], ["Channel 2, Decode CTC/DCS combo box expanded"]),
        (["Escape"], ["Channel 2, Decode CTC/DCS combo box", "88.5"]),
        (["Escape"], ["Channel 2, Decode CTC/DCS"]),
        (["ctrl+Tab"], [f"{functions} panel", "Scan mode combo box", "Time (TO)"]),
        (["Down"], ["Carrier (CO)"]),
        (["Tab", "Tab"], ["Frequency mode combo box", "Channel"]),
        (["Down"], ["Frequency"]),
        (["ctrl+Tab"], [f"{vfo} panel", "F1 VFO RX frequency text", "146.00000"]),
        (["shift+Tab"], [f"{vfo} page tab"]),
        (["Tab", "ctrl+a", "1", "4", "6", "period", "0", "0", "6", "2", "5", "Tab"],
         ["F1 VFO CTC/DCS decode combo box"]),
        (["shift+Tab"], ["F1 VFO RX frequency text", "146.00625"]),
        (["Tab"] * 12, ["F2 VFO RX frequency text", "136.00000"]),
        # Back on the channels, the table has the focus again, on the cell it had.
        (["ctrl+Tab"], [f"{channels} panel", "Channel table", "Channel 2, Decode CTC/DCS"]),
        (["Down", "Down", "Down", "Left"], ["Channel 5, RX Freq (MHz)"]),
        (["Return"], ["Channel 5, RX Freq (MHz) text", "151.82000"]),
        (["Escape", "ctrl+r"], [session.text("IDS_ASK_SAVE").split("%")[0]]),
        (["Return"], [f"{session.text('IDS_READDATA')} dialog",
                      session.resource(IDS.kTransferMessageId)]),
    ]
    for keys, phrases in steps:
        mark = reader.mark()
        session.x.key(*keys)
        print(f"{' '.join(keys)}: {reader.wait_for(' '.join(keys), phrases, mark)}")
    mark = reader.mark()
    session.x.key("Return")
    # "Read done" is spoken too when Orca keeps up, but a loaded Orca drops it once the dialog
    # has closed, so only the return to the window is waited for.
    heard = reader.wait_for("the read", [session.text("IDS_WINDOWNAME")], mark,
                            SPEECH_DEADLINE + TRANSFER_DEADLINE)
    print(f"read: {heard}")
    noise = [line for line in reader.since(0) if "layered pane" in line or "     " in line]
    if noise:
        raise JourneyFailure(f"Orca said {noise}")


JOURNEYS = {"orca_speech": ("english", journey_orca_speech)}


def main():
    return run_journey(__doc__, JOURNEYS, "screen_reader_", start_screen_reader)


if __name__ == "__main__":
    sys.exit(main())
