#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Accessibility journeys: the real program read through AT-SPI, the accessibility bus that
screen readers use, and driven by the keyboard alone. Each run needs a D-Bus session of its
own (dbus-run-session) and starts the accessibility bus inside it.

usage: dbus-run-session -- accessibility.py JOURNEY --bin BIN_DIR --layout DIALOG_LAYOUT_PROGRAM
           --work FOLDER
"""

import os
import subprocess
import sys

# The source tree stays free of compiled modules.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from session import (CLONE_END, CLONE_START, IDS, channel_rows, highlighted_rows,  # noqa: E402
                     is_main_title, read_image, read_language_file, run_journey, wait_file)
from xserver import (DEFAULT_DEADLINE, LIST_DEADLINE, JourneyFailure,  # noqa: E402
                     dies_with_parent, wait_until)

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
TRANSFER_DEADLINE = 60.0
PGM_SIZE = 48 + 8192
COLUMN_COUNT = 13
# The first channel of the demo memory that uses a CTCSS tone: channel 2 decodes 88.5.
TONE_CHANNEL = 2
# Roles a user operates; each must tell a screen reader what it is for.
CONTROL_ROLES = {"push button", "toggle button", "check box", "radio button", "combo box",
                 "text", "password text", "spin button", "slider", "scroll bar", "list",
                 "table", "page tab"}


def start_accessibility_bus(session):
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        raise JourneyFailure("no D-Bus session: run the journey under dbus-run-session")
    log = open(session.path("at-spi-bus.log"), "wb")
    launcher = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"], env=session.x.env,
                                stdout=log, stderr=subprocess.STDOUT, preexec_fn=dies_with_parent)

    def stop():
        launcher.terminate()
        launcher.wait(timeout=DEFAULT_DEADLINE)
        log.close()
    return stop


class Tree:
    """The program's accessibility tree, read afresh on every question."""

    def __init__(self, session):
        # Imported here: the module talks to the bus as soon as it is loaded.
        import gi
        gi.require_version("Atspi", "2.0")
        import pyatspi
        from gi.repository import Atspi
        from gi.repository import GLib
        self.pyatspi = pyatspi
        self.glib = GLib
        self.session = session
        self.heard = []
        # What a screen reader is told, not only what it could ask: the focus events.
        self.listener = Atspi.EventListener.new(self._hear)
        self.listener.register("object:state-changed:focused")
        self.app = wait_until("the program on the accessibility bus", self._find_app,
                              DEFAULT_DEADLINE)
        # A cached state would hide the focus moving from cell to cell.
        self.app.set_cache_mask(Atspi.Cache.NONE)

    def _hear(self, event):
        if event.detail1 == 1:
            try:
                self.heard.append((event.source.getRoleName(), event.source.name,
                                   event.source.description))
            except Exception:  # noqa: BLE001 - the object may be gone already
                pass

    def heard_focus(self, name, description):
        """Whether a focus event named an object so, pumping the bus's events first."""
        context = self.glib.MainContext.default()
        while context.pending():
            context.iteration(False)
        return any(entry[1:] == (name, description) for entry in self.heard)

    def _find_app(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            try:
                if app is not None and app.get_process_id() == self.session.app.pid:
                    return app
            except Exception:  # noqa: BLE001 - an application may leave the bus meanwhile
                continue
        return None

    def has(self, accessible, state):
        return accessible.getState().contains(state)

    def showing(self, accessible):
        return self.has(accessible, self.pyatspi.STATE_SHOWING)

    def objects(self, root=None, only_showing=True):
        """Every object under root, without the cells of tables and the entries of lists."""
        root = root or self.app
        found = []

        def visit(accessible):
            if accessible is None or (only_showing and not self.showing(accessible)):
                return
            found.append(accessible)
            if accessible.getRoleName() in ("table", "combo box", "list", "menu bar"):
                return
            for index in range(accessible.childCount):
                visit(accessible.getChildAtIndex(index))

        for index in range(root.childCount):
            visit(root.getChildAtIndex(index))
        return found

    def labels(self, accessible):
        names = []
        for relation in accessible.getRelationSet():
            if relation.getRelationType() == self.pyatspi.RELATION_LABELLED_BY:
                names += [relation.getTarget(k).name for k in range(relation.getNTargets())]
        return names

    def spoken_name(self, accessible):
        """What a screen reader calls a control by. A drop-down list's own name is the entry
        it shows, so on this desktop a list is called by its label."""
        if accessible.getRoleName() == "combo box":
            return " ".join(name for name in self.labels(accessible) if name)
        return accessible.name or " ".join(name for name in self.labels(accessible) if name)

    def focused(self):
        """The focused control outside tables, or None."""
        for accessible in self.objects():
            if self.has(accessible, self.pyatspi.STATE_FOCUSED):
                return accessible
        return None

    def channel_table(self):
        tables = [a for a in self.objects() if a.getRoleName() == "table"]
        if len(tables) != 1:
            raise JourneyFailure(f"the main window shows {len(tables)} tables, expected the "
                                 "channel table alone")
        return tables[0]

    def focused_cell(self, table, near):
        """Row and column of the table's focused cell, looked for around the cell near."""
        grid = table.queryTable()
        for row in range(max(0, near[0] - 3), min(grid.nRows, near[0] + 4)):
            for column in range(grid.nColumns):
                if self.has(grid.getAccessibleAt(row, column), self.pyatspi.STATE_FOCUSED):
                    return row, column
        return None


def keys_until_focused(session, key, probe, what, presses=8):
    """Presses key until probe (asked of the tree) holds; fails after presses presses."""
    for _ in range(presses):
        if probe():
            return
        session.x.key(key)
        try:
            wait_until(what, probe, 1.0)
            return
        except JourneyFailure:
            continue
    raise JourneyFailure(f"{presses} presses of {key} did not reach {what}")


def expect_focused(session, tree, role, name, what):
    def probe():
        focused = tree.focused()
        if focused is None or focused.getRoleName() != role:
            return None
        return focused if tree.spoken_name(focused) == name else None

    try:
        return wait_until(what, probe, 5.0)
    except JourneyFailure:
        focused = tree.focused()
        found = (f"{focused.getRoleName()} {tree.spoken_name(focused)!r}" if focused else
                 "nothing")
        session.shot("focus-" + what)
        raise JourneyFailure(f"{what}: expected the focus on {role} {name!r}, found {found}") \
            from None


def demo_memory_file(session):
    """The virtual radio's demo channels as a .pgm file."""
    session.start_radio()
    session.stop_radio()
    return session.path("radio-memory.pgm")


def cell_place(session, channel, column):
    header = session.text(f"IDS_ChText{column}", "ChText")
    return session.text("IDS_ROW_CHANNEL").replace("%1", str(channel)) + ", " + header


def journey_accessible_tree(session):
    path = demo_memory_file(session)
    rows = channel_rows(session, path)
    session.start_app(path, extra_environment={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
    tree = Tree(session)
    wait_until("the main window's controls on the bus", lambda: len(tree.objects()) > 20)

    unnamed = [f"{a.getRoleName()} in {a.parent.getRoleName()} {a.parent.name!r}"
               for a in tree.objects()
               if a.getRoleName() in CONTROL_ROLES and not tree.spoken_name(a).strip()]
    if unnamed:
        raise JourneyFailure(f"controls without a name: {unnamed}")
    toolbar = [a for a in tree.objects() if a.getRoleName() == "push button"
               and a.parent.getRoleName() == "tool bar"]
    tips = [session.text(f"IDS_TIP_{command}")
            for command in (57600, 57601, 57603, 32771, 32772, 57607, 32776, 32775)]
    if [a.name for a in toolbar] != tips:
        raise JourneyFailure(f"the toolbar buttons read {[a.name for a in toolbar]}, "
                             f"expected their tips {tips}")

    table = tree.channel_table()
    grid = table.queryTable()
    channel_count = int(session.settings_value("channelcount"))
    if (grid.nRows, grid.nColumns) != (channel_count, COLUMN_COUNT):
        raise JourneyFailure(f"the channel table reads as {grid.nRows} x {grid.nColumns}, "
                             f"expected {channel_count} x {COLUMN_COUNT}")
    headers = [grid.getColumnHeader(column).name for column in range(COLUMN_COUNT)]
    expected_headers = [session.text(f"IDS_ChText{c}", "ChText") for c in range(COLUMN_COUNT)]
    if headers != expected_headers:
        raise JourneyFailure(f"the column headers read {headers}, expected {expected_headers}")
    # The command-line tool lists the channels in use; the others show only their number.
    for row in range(channel_count):
        channel = str(row + 1)
        expected = rows.get(channel, ",".join([channel] + [""] * (COLUMN_COUNT - 1)))
        read = ",".join(grid.getAccessibleAt(row, column).name for column in range(COLUMN_COUNT))
        if read != expected:
            raise JourneyFailure(f"channel {channel} reads {read!r}, the file holds {expected!r}")

    # Tab from the page's tab through its controls into the table, then the arrows.
    session.x.focus(session.main_window)
    keys_until_focused(session, "Tab", lambda: tree.focused_cell(table, (0, 0)),
                       "a cell of the channel table")
    start = tree.focused_cell(table, (0, 0))
    if start != (0, 1):
        raise JourneyFailure(f"tabbing into the table focused cell {start}, expected the "
                             "first frequency (0, 1)")
    steps = [("Down", (1, 1)), ("Right", (1, 2)), ("Down", (2, 2)), ("Up", (1, 2))]
    for key, target in steps:
        before = tree.focused_cell(table, target)
        session.x.key(key)
        wait_until(f"{key} to move the focused cell from {before} to {target}",
                   lambda: tree.focused_cell(table, target) == target, 5.0)
    cell = grid.getAccessibleAt(TONE_CHANNEL - 1, 2)
    if cell.description != cell_place(session, TONE_CHANNEL, 2):
        raise JourneyFailure(f"the focused cell is described as {cell.description!r}")
    wait_until("a focus event that names the tone cell of channel 2",
               lambda: tree.heard_focus(cell.name, cell.description), 5.0)

    # The in-cell list is called by its channel and column, like the cell it edits.
    session.x.key("Return")
    expect_focused(session, tree, "combo box", cell_place(session, TONE_CHANNEL, 2),
                   "the decode tone list")
    session.x.key("Escape")
    wait_until("Escape to put the focus back on the cell",
               lambda: tree.focused_cell(table, (1, 2)) == (1, 2), 5.0)

    # An out-of-band receive frequency is clamped, and the note about it is on the bus.
    session.x.key("Left")
    session.x.key("Return")
    expect_focused(session, tree, "text", cell_place(session, TONE_CHANNEL, 1),
                   "the receive frequency editor")
    session.x.type("999")
    session.x.key("Return")
    labels = [a for a in tree.objects() if a.getRoleName() == "status bar"]

    def note():
        texts = [child.name for bar in labels for child in tree.objects(bar)]
        return next((text for text in texts if "999" in text), None)

    wait_until("the clamp note to be readable in the status bar", note, 5.0)


def journey_keyboard_only(session):
    """Read, change a tone and a name, save and write, without a single mouse event."""
    session.start_radio()
    session.start_app(extra_environment={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
    tree = Tree(session)
    session.x.key("ctrl+r")
    dialog = session.dialog(session.text("IDS_READDATA"), IDS.kTransferTemplate)
    session.x.key("Return")
    session.wait_gone(dialog.window, "the read dialog", TRANSFER_DEADLINE)
    session.shot("read")

    session.x.focus(session.main_window)
    table = tree.channel_table()
    keys_until_focused(session, "Tab", lambda: tree.focused_cell(table, (0, 0)),
                       "a cell of the channel table")
    session.x.key("Down")
    session.x.key("Right")
    wait_until("the decode tone of channel 2",
               lambda: tree.focused_cell(table, (1, 2)) == (1, 2), 5.0)
    session.x.key("Return")
    expect_focused(session, tree, "combo box", cell_place(session, TONE_CHANNEL, 2),
                   "the decode tone list")
    known = set(session.x.visible_windows())
    session.x.key("F4")
    popup = session.wait_new_window(known, "F4 to open the tone list")
    # A key sent before the list has drawn its chosen entry may reach no window.
    area = session.x.geometry(popup)
    first, _ = wait_until("the open tone list to mark its chosen entry",
                          lambda: highlighted_rows(session.x.capture(), area), LIST_DEADLINE)
    session.x.key("Down")
    wait_until("the mark on the next tone",
               lambda: (highlighted_rows(session.x.capture(), area) or (first,))[0] > first,
               LIST_DEADLINE)
    session.x.key("Return")
    session.wait_gone(popup, "the tone list after Enter")
    wait_until("the focus back on the tone cell",
               lambda: tree.focused_cell(table, (1, 2)) == (1, 2), 5.0)

    for _ in range(COLUMN_COUNT - 1 - 2):
        session.x.key("Right")
    wait_until("the name of channel 2",
               lambda: tree.focused_cell(table, (1, 12)) == (1, 12), 5.0)
    session.x.key("Return")
    expect_focused(session, tree, "text", cell_place(session, TONE_CHANNEL, 12),
                   "the name editor")
    session.x.type("KEYS")
    session.x.key("Return")
    wait_until("the focus back on the name cell",
               lambda: tree.focused_cell(table, (1, 12)) == (1, 12), 5.0)
    session.shot("edited")

    saved = session.path("keys.pgm")
    known = set(session.x.visible_windows())
    session.x.key("ctrl+s")
    window = session.wait_new_window(known, "the file dialog to save")
    session.x.focus(window)
    session.x.key("ctrl+a")
    session.x.type(saved)
    session.x.key("Return")
    session.wait_gone(window, "the file dialog to save")
    wait_file(saved, "keys.pgm to be saved", size=PGM_SIZE)

    session.x.focus(session.main_window)
    session.x.key("ctrl+w")
    dialog = session.dialog(session.text("IDS_WRITEDATA"), IDS.kTransferTemplate)
    session.x.key("Return")
    session.wait_gone(dialog.window, "the write dialog", TRANSFER_DEADLINE)
    session.shot("written")

    expected = "2,145.50000,91.5,145.50000,88.5,High,Off,Wide,On,Off,Off,Off,KEYS"
    found = channel_rows(session, saved).get("2")
    if found != expected:
        raise JourneyFailure(f"channel 2 was saved as {found!r}, expected {expected!r}")
    radio = session.stop_radio()
    document = read_image(saved)
    if radio[CLONE_START:CLONE_END] != document[CLONE_START:CLONE_END]:
        raise JourneyFailure("the radio's memory differs from the saved document")


def click_accessible(session, tree, accessible):
    """A click of the real mouse in the middle of what the bus says the object covers."""
    box = accessible.queryComponent().getExtents(tree.pyatspi.DESKTOP_COORDS)
    session.x.click(box.x + box.width // 2, box.y + box.height // 2)


def tree_texts(tree):
    """Every name, description and column heading in the program's tree, shown or on a
    page behind its tab, with where it is; list entries and table cells are the language's
    lists and the document's values, which their own tests check."""
    found = []

    def visit(accessible, place):
        if accessible is None:
            return
        role = accessible.getRoleName()
        here = f"{place} > {role}"
        found.extend((here, text) for text in (accessible.name, accessible.description) if text)
        if role == "table":
            grid = accessible.queryTable()
            for column in range(grid.nColumns):
                header = grid.getColumnHeader(column)
                if header is not None and header.name:
                    found.append((f"{here} column {column}", header.name))
            return
        if role == "combo box":
            return
        for index in range(accessible.childCount):
            visit(accessible.getChildAtIndex(index), here)

    visit(tree.app, "")
    return found


def journey_every_language(session):
    """The next-language button, pressed with the mouse, steps through every shipped language;
    in each, no text of the main window, on any of its pages, is missing from the file."""
    session.start_app(extra_environment={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
    tree = Tree(session)
    wait_until("the main window's controls on the bus", lambda: len(tree.objects()) > 20)
    files = sorted(entry for entry in os.listdir(session.folder) if entry.endswith(".lang"))
    current = files.index("english.lang")
    for _ in files:
        texts = read_language_file(session.path(files[current]))["String"]
        button = wait_until("the next-language button", lambda: next(
            (a for a in tree.objects() if a.getRoleName() == "push button"
             and a.parent.getRoleName() == "tool bar" and a.name == texts["IDS_TIP_32776"]),
            None), 5.0)
        click_accessible(session, tree, button)
        current = (current + 1) % len(files)
        language = read_language_file(session.path(files[current]))
        wait_until(f"the window title of {files[current]}",
                   lambda: is_main_title(session.x.window_name(session.main_window),
                                         language["String"]["IDS_WINDOWNAME"]), 5.0)
        session.shot(f"language-{files[current]}")
        read = tree_texts(tree)
        missing = [place for place, text in read if "Not Found" in text]
        if missing:
            raise JourneyFailure(f"{files[current]}: \"Not Found\" at {missing}")
        # Each page was read, the two behind their tabs too: a label of each is there.
        names = {text for _, text in read}
        for key in ("1020", "1028", "1094"):
            if language["Resource"][key] not in names:
                raise JourneyFailure(f"{files[current]}: the tree lacks the label "
                                     f"{language['Resource'][key]!r} of Resource/{key}")


JOURNEYS = {
    "accessible_tree": ("english", journey_accessible_tree),
    "keyboard_only": ("english", journey_keyboard_only),
    "every_language": ("english", journey_every_language),
}


def main():
    return run_journey(__doc__, JOURNEYS, "accessibility_", start_accessibility_bus)


if __name__ == "__main__":
    sys.exit(main())
