#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end journeys of editing many channels, under a window manager: a window that grows,
Set for Selected Channels, Sort Channels, the find bar, Fill Frequencies and the keyboard after
dialogs and menus close, each judged by the file the user saves and undone where the journey
says so.

usage: editing_journeys.py JOURNEY --bin BIN_DIR --layout DIALOG_LAYOUT_PROGRAM --work FOLDER
"""

import configparser
import os
import subprocess
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from session import (IDS, channel_rows, menu_command, mnemonic, run_journey,  # noqa: E402
                     save_over_opened_file)
from xserver import JourneyFailure, dies_with_parent, wait_until  # noqa: E402

# The journey's table: 40 channels, their frequencies out of order, named after their number.
CHANNEL_COUNT = 40


def frequency(channel):
    return 146 + ((channel * 17) % CHANNEL_COUNT) * 0.025


def start_window_manager(session):
    manager = subprocess.Popen(["openbox", "--sm-disable"], env=session.x.env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               preexec_fn=dies_with_parent)

    def stop():
        manager.terminate()
        manager.wait(timeout=10)
    return stop


def channel_file(session):
    csv = session.path("channels.csv")
    with open(csv, "w", encoding="utf-8") as stream:
        stream.write("Location,Name,Frequency\n")
        for channel in range(1, CHANNEL_COUNT + 1):
            stream.write(f"{channel},R{channel:02d},{frequency(channel):.3f}\n")
    path = session.path("channels.pgm")
    subprocess.run([os.path.join(session.bin_dir, "halvex-cli"), "import", csv, "--settings",
                    session.path("setting.ini"), "-o", path], check=True, capture_output=True)
    return path


def save_over(session, path, what):
    """Ctrl+S over the opened file, confirming the overwrite; returns the saved rows."""
    before = os.stat(path).st_mtime_ns
    save_over_opened_file(session)
    wait_until(f"{what} to be saved", lambda: os.stat(path).st_mtime_ns != before)
    return channel_rows(session, path)


def field(rows, channel, column):
    """A cell of the saved table: 1 receive, 3 transmit, 5 power, 12 name."""
    row = rows.get(str(channel))
    return row.split(",")[column] if row else None


def expect(what, found, expected):
    if found != expected:
        raise JourneyFailure(f"{what}: {found!r}, expected {expected!r}")


def choose_rows(session, first, last):
    """Rows chosen from the keyboard: the table starts focused, Shift+Space takes the
    current row and Shift with the arrows stretches the choice."""
    session.x.focus(session.main_window)
    session.x.key("Home")
    for _ in range(first - 1):
        session.x.key("Down")
    session.x.key("shift+space")
    for _ in range(last - first):
        session.x.key("shift+Down")


def rows_changed(before, after):
    """How many screen rows differ between two screenshots of the same size."""
    stride = before.width * 3
    return sum(before.pixels[y:y + stride] != after.pixels[y:y + stride]
               for y in range(0, before.height * stride, stride))


def settled_screen(session):
    """The screen once two shots in a row are the same, so a change after it is the menu's."""
    shots = [session.x.capture()]

    def probe():
        shots.append(session.x.capture())
        return shots[-1] if rows_changed(shots[-2], shots[-1]) == 0 else None

    return wait_until("the screen to settle", probe)


def managed_and_active(session, window):
    """Whether the window manager has taken the window over and made it the active one. Its
    keys, such as Alt+Space, are bound once it answers that: a key pressed before, while a busy
    machine still starts the manager, goes to the program and is lost."""
    session.x.xdotool("windowactivate", window)
    return session.x.xdotool("getactivewindow").strip() == str(window)


def journey_maximise_shows_more_rows(session):
    path = channel_file(session)
    session.start_app(path)
    rows_before = len(session.channel_grid().rows)
    # Maximise from the window manager's own menu of the window, as a keyboard user would. On a
    # busy machine the menu opens late, and an X typed before it would reach the program.
    wait_until("the window manager to take the window",
               lambda: managed_and_active(session, session.main_window))
    before = settled_screen(session)
    session.x.key("alt+space")
    wait_until("the window menu to open", lambda: rows_changed(before, session.x.capture()) > 60)
    session.x.key("x")
    wait_until("the window to fill the screen",
               lambda: session.x.geometry(session.main_window)[2] >= 1200)
    grid = wait_until("the table to show more rows",
                      lambda: (lambda g: g if len(g.rows) > rows_before + 10 else None)(
                          session.channel_grid()))
    session.shot("maximised")
    menu_command(session, "Menu_File", "Menu_App_Exit")
    session.wait_app_exit()
    kept = configparser.ConfigParser()
    kept.read(session.path("config", "halvex", "Halvex.conf"))
    expect("the kept maximised state", kept.get("Window", "Maximized", fallback=None), "true")
    session.start_app(path)
    wait_until("the window to open maximised again",
               lambda: session.x.geometry(session.main_window)[2] >= 1200)
    expect("rows shown after the restart", len(session.channel_grid().rows), len(grid.rows))
    session.shot("maximised-again")


def journey_set_power_undo(session):
    path = channel_file(session)
    session.start_app(path)
    session.channel_grid()
    choose_rows(session, 3, 7)
    menu_command(session, "Menu_Edit", "Menu_Edit_Set_For_Selected")
    dialog = session.dialog(session.resource(IDS.kSetColumnTemplate), IDS.kSetColumnTemplate)
    # The column list has the focus: typing a header's first letters picks it.
    session.x.type("Po")
    session.x.key("Tab")
    session.x.type("L")
    session.shot("set-power-low")
    session.x.key("Return")
    session.wait_gone(dialog.window, "the Set for Selected Channels dialog")
    rows = save_over(session, path, "the low-power channels")
    for channel in range(1, 10):
        expect(f"channel {channel}'s power", field(rows, channel, 5),
               "Low" if 3 <= channel <= 7 else "High")
    session.x.key("ctrl+z")
    rows = save_over(session, path, "the undone power")
    expect("powers after undo", {field(rows, n, 5) for n in range(1, CHANNEL_COUNT + 1)},
           {"High"})


def journey_sort_by_frequency_undo(session):
    path = channel_file(session)
    original = channel_rows(session, path)
    session.start_app(path)
    session.channel_grid()
    menu_command(session, "Menu_Edit", "Menu_Edit_Sort")
    dialog = session.dialog(session.resource(IDS.kSortTemplate), IDS.kSortTemplate)
    session.shot("sort-dialog")
    session.x.key("Return")
    session.wait_gone(dialog.window, "the Sort Channels dialog")
    session.shot("sorted")
    rows = save_over(session, path, "the sorted channels")
    received = [field(rows, n, 1) for n in range(1, CHANNEL_COUNT + 1)]
    expect("receive frequencies after the sort", received, sorted(received))
    expect("names after the sort", sorted(field(rows, n, 12) for n in range(1, 41)),
           [f"R{n:02d}" for n in range(1, 41)])
    session.x.key("ctrl+z")
    expect("the table after undo", save_over(session, path, "the undone sort"), original)


def journey_find_a_name(session):
    path = channel_file(session)
    session.start_app(path)
    session.channel_grid()
    session.x.key("ctrl+f")
    session.x.type("r3")
    session.x.key("F3")
    session.x.key("F3")
    session.x.key("shift+F3")
    session.x.key("F3")
    session.shot("found-r32")
    # "r3" matches R30 to R39: the third is R32, where Escape leaves the table's focus for
    # Return to edit.
    session.x.key("Escape")
    session.x.key("Return")
    session.x.key("ctrl+a")
    session.x.type("150")
    session.x.key("Return")
    rows = save_over(session, path, "the channel found")
    expect("channel 32's receive frequency", field(rows, 32, 1), "150.00000")
    expect("channels changed", sum(field(rows, n, 1) == "150.00000" for n in range(1, 41)), 1)


def journey_fill_series(session):
    path = channel_file(session)
    session.start_app(path)
    session.channel_grid()
    choose_rows(session, 2, 9)
    menu_command(session, "Menu_Edit", "Menu_Edit_Fill")
    dialog = session.dialog(session.resource(IDS.kFillTemplate), IDS.kFillTemplate)
    session.x.key("ctrl+a")
    session.x.type("173.9")
    session.x.key("Tab")
    session.x.key("ctrl+a")
    session.x.type("25")
    session.x.key("Tab")
    session.x.key("ctrl+a")
    # xdotool would take a leading minus for an option of its own.
    session.x.key("minus")
    session.x.type("0.6")
    session.shot("fill-dialog")
    session.x.key("Return")
    session.wait_gone(dialog.window, "the Fill Frequencies dialog")
    report = session.wait_window(session.text("IDS_PROMPT"))
    session.shot("fill-report")
    session.x.focus(report)
    session.x.key("Return")
    session.wait_gone(report, "the report of channels outside the band")
    before = channel_rows(session, path)
    rows = save_over(session, path, "the filled series")
    for channel, receive in ((2, "173.90000"), (3, "173.92500"), (4, "173.95000"),
                             (5, "173.97500")):
        expect(f"channel {channel}'s receive", field(rows, channel, 1), receive)
        expect(f"channel {channel}'s transmit", field(rows, channel, 3),
               f"{float(receive) - 0.6:.5f}")
    for channel in (1, 6, 7, 8, 9, 10):
        expect(f"channel {channel} outside the series or the band", rows[str(channel)],
               before[str(channel)])


def journey_keyboard_back_after_dialogs(session):
    """The keyboard lands on the channel table, with no click or focus given, after a dialog
    closes together with the message box above it and after Alt+E then Escape; Ctrl+S then
    Enter saves over the file."""
    path = channel_file(session)
    session.start_app(path)
    session.channel_grid()
    session.x.key("ctrl+w")
    dialog = session.dialog(session.text("IDS_WRITEDATA"), IDS.kTransferTemplate)
    session.x.focus(dialog.window)
    session.x.key("Return")
    failure = session.wait_window(session.text("IDS_ERROR"), 60.0)
    session.shot("no-radio")
    session.x.key("Return")
    session.wait_gone(failure, "the no-radio message")
    session.wait_gone(dialog.window, "the write dialog")
    session.x.key("alt+" + mnemonic(session.text("Menu_Edit")))
    session.x.key("Escape")
    session.shot("menu-left")
    # The table keeps channel 1 as its focus cell: Enter edits it.
    session.x.key("Return", "ctrl+a")
    session.x.type("147")
    session.x.key("Return")
    session.shot("typed")
    rows = save_over(session, path, "the typed channel 1")
    expect("channel 1 after typing on the keyboard", field(rows, 1, 1), "147.00000")
    expect("channel 2", field(rows, 2, 1), f"{frequency(2):.5f}")


JOURNEYS = {
    "keyboard_back_after_dialogs": ("english", journey_keyboard_back_after_dialogs),
    "keyboard_back_after_dialogs_chinese": ("chinese", journey_keyboard_back_after_dialogs),
    "maximise_shows_more_rows": ("english", journey_maximise_shows_more_rows),
    "maximise_shows_more_rows_chinese": ("chinese", journey_maximise_shows_more_rows),
    "set_power_undo": ("english", journey_set_power_undo),
    "sort_by_frequency_undo": ("english", journey_sort_by_frequency_undo),
    "find_a_name": ("english", journey_find_a_name),
    "fill_series": ("english", journey_fill_series),
}


def main():
    return run_journey(__doc__, JOURNEYS, prepare=start_window_manager)


if __name__ == "__main__":
    sys.exit(main())
