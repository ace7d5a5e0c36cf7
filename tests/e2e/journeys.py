#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end journeys: the real program on a private X server beside the virtual radio,
driven only by X input, judged by files, the radio's memory and screenshots.

usage: journeys.py JOURNEY --bin BIN_DIR --layout DIALOG_LAYOUT_PROGRAM --work FOLDER
"""

import html
import os
import re
import shutil
import subprocess
import sys
import time

# The source tree stays free of compiled modules.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from session import (CLONE_END, CLONE_START, DEVICE_TREE_PROGRAM, IDS,  # noqa: E402
                     PGM_HEADER_SIZE, IMAGE_SIZE, channel_rows, is_main_title, menu_command,
                     mnemonic, read_image, read_language_file, run_journey,
                     save_over_opened_file, wait_file)
from xserver import LIST_DEADLINE, PING_DEADLINE, JourneyFailure, wait_until  # noqa: E402

PGM_SIZE = PGM_HEADER_SIZE + IMAGE_SIZE
DATA_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "data")
TRANSFER_DEADLINE = 60.0
ACCESS_CODE = "RO264"
FM_PRESETS = 0x08A0
PTT_ID_CODE = 0x0D20


def read_from_radio(session):
    session.x.key("ctrl+r")
    dialog = session.dialog(session.text("IDS_READDATA"), IDS.kTransferTemplate)
    dialog.click(IDS.kIdOk)
    session.wait_gone(dialog.window, "the read dialog", TRANSFER_DEADLINE)
    session.shot("read-from-radio")


def answer_file_dialog(session, known, path, what):
    """Types a path into the file dialog that opens and confirms it."""
    window = session.wait_new_window(known, f"the file dialog to {what}")
    session.x.focus(window)
    session.shot(f"file-dialog-{what}")
    session.x.key("ctrl+a")
    session.x.type(path)
    session.x.key("Return")
    session.wait_gone(window, f"the file dialog to {what}")


def save_new_file(session, path):
    known = set(session.x.visible_windows())
    session.x.key("ctrl+s")
    answer_file_dialog(session, known, path, "save")
    wait_file(path, f"{os.path.basename(path)} to be saved", size=PGM_SIZE)


def type_into_cell(session, grid, row, column, text, commit=True):
    session.x.click(*grid.cell_centre(row, column))
    session.x.key("ctrl+a")
    session.x.type(text)
    if commit:
        session.x.key("Return")


def expect_row(session, path, channel, expected):
    found = channel_rows(session, path).get(str(channel))
    if found != expected:
        raise JourneyFailure(f"channel {channel} in {os.path.basename(path)} is {found!r}, "
                             f"expected {expected!r}")


def expect_question(session, what):
    """The unsaved-changes question must come up; returns its window."""
    title = session.text("IDS_CONFIRM")
    try:
        return session.wait_window(title, 5.0)
    except JourneyFailure as failure:
        raise JourneyFailure(f"{what}: no unsaved-changes question ({failure})") from None


def journey_read_edit_save_reopen(session):
    session.start_radio()
    session.start_app()
    read_from_radio(session)
    session.wait_channel_filled(1, 1, "channel 1 to show after the read")
    grid = session.channel_grid()

    # One cell of every kind in channel 1: frequency texts, both tone lists, the choice
    # lists of each length and the name.
    type_into_cell(session, grid, 1, 1, "146.625")
    type_into_cell(session, grid, 1, 3, "147.225")
    lists = [  # column, entry shown now, entry to pick, what it is
        (2, 0, 1, "decode tones"), (4, 0, 1, "encode tones"), (5, 1, 0, "power levels"),
        (6, 0, 1, "BCL"), (7, 0, 2, "bandwidths"), (8, 1, 0, "scan add"), (9, 0, 1, "reverse"),
        (10, 0, 1, "PTT ID"), (11, 0, 1, "compander"),
    ]
    for column, current, target, what in lists:
        session.x.click(*grid.cell_centre(1, column))
        session.pick_from_list(grid.cell_arrow(1, column), current, target, what)
    type_into_cell(session, grid, 1, 12, "E2E")
    session.shot("edited")

    saved = session.path("edited.pgm")
    save_new_file(session, saved)
    expect_row(session, saved, 1,
               "1,146.62500,67.0,147.22500,67.0,Low,On,Middle,Off,On,On,On,E2E")

    # A change made after saving is dropped at the question, so what Save As stores next
    # can only come from the reopened file.
    type_into_cell(session, grid, 2, 12, "LOST")
    known = set(session.x.visible_windows())
    session.x.key("ctrl+o")
    answer_file_dialog(session, known, saved, "open")
    question = expect_question(session, "Open after an edit")
    session.x.focus(question)
    session.x.key("alt+n")
    session.wait_gone(question, "the unsaved-changes question")
    session.shot("reopened")
    session.wait_cell_filled(grid, 1, 1, "the reopened file's channel 1 to show")

    again = session.path("saved-again.pgm")
    known = set(session.x.visible_windows())
    menu_command(session, "Menu_File", "Menu_File_Save_As")
    answer_file_dialog(session, known, again, "save-as")
    wait_file(again, "the reopened document to be saved again", size=PGM_SIZE)
    if read_image(again) != read_image(saved):
        raise JourneyFailure("the reopened and saved-again image differs from the saved one")


def open_list_by_key(session, key, what):
    known = set(session.x.visible_windows())
    session.x.key(key)
    return session.wait_new_window(known, f"{key} to open the list of {what}", LIST_DEADLINE)


def journey_undo_redo_keys(session):
    session.start_app()
    grid = session.channel_grid()
    # The scan mode, the first control of the next page: from Time to Carrier.
    session.x.focus(session.main_window)
    session.x.key("ctrl+Next")
    session.x.key("Down")
    session.shot("scan-mode-changed")
    session.x.key("ctrl+Prior")
    type_into_cell(session, grid, 1, 1, "146.52")
    type_into_cell(session, grid, 2, 1, "147")
    session.x.click(*grid.cell_centre(1, 5))
    session.pick_from_list(grid.cell_arrow(1, 5), 1, 0, "power levels")
    type_into_cell(session, grid, 1, 12, "UNDO")
    session.x.key("alt+" + mnemonic(session.text("Menu_Edit")))
    session.shot("edit-menu")
    session.x.key("Escape")
    session.x.focus(session.main_window)
    # Everything back, then all but the name again.
    for key in ("ctrl+z", "ctrl+z", "alt+BackSpace", "ctrl+z", "ctrl+z",
                "ctrl+y", "ctrl+shift+z", "ctrl+y", "ctrl+y"):
        session.x.key(key)
    session.shot("undone-and-redone")
    saved = session.path("undo.pgm")
    save_new_file(session, saved)
    expect_row(session, saved, 1,
               "1,146.52000,Off,146.52000,Off,Low,Off,Wide,Off,Off,Off,Off,")
    expect_row(session, saved, 2,
               "2,147.00000,Off,147.00000,Off,High,Off,Wide,Off,Off,Off,Off,")
    scan_mode = read_image(saved)[0x0D01] & 0x03
    if scan_mode != 1:
        raise JourneyFailure(f"the scan mode was saved as {scan_mode}, expected 1 (Carrier)")


def journey_rows_cut_paste_undo(session):
    session.start_app()
    grid = session.channel_grid()
    for row, frequency, name in ((2, "146.52", "AAA"), (3, "147", "BBB"), (4, "147.5", "CCC")):
        type_into_cell(session, grid, row, 1, frequency)
        type_into_cell(session, grid, row, 12, name)
    session.x.drag(grid.row_header(2), grid.row_header(4))
    session.shot("rows-chosen")
    session.x.key("ctrl+x")
    session.x.click(*grid.row_header(10))
    session.x.key("ctrl+v")
    # The pasted block goes up twice; both moves are then undone, the cut and paste stay.
    session.x.key("alt+Up")
    session.x.key("alt+Up")
    session.x.click(*grid.row_header(8), button=3)
    session.shot("context-menu")
    session.x.key("Escape")
    session.x.focus(session.main_window)
    session.x.key("alt+" + mnemonic(session.text("Menu_Edit")))
    session.shot("edit-menu")
    session.x.key("Escape")
    session.x.focus(session.main_window)
    session.x.key("ctrl+z")
    session.x.key("ctrl+z")
    session.shot("moves-undone")
    saved = session.path("rows.pgm")
    save_new_file(session, saved)
    for channel in (2, 3, 4, 8, 9, 13):
        expect_row(session, saved, channel, None)
    expect_row(session, saved, 10,
               "10,146.52000,Off,146.52000,Off,High,Off,Wide,Off,Off,Off,Off,AAA")
    expect_row(session, saved, 11,
               "11,147.00000,Off,147.00000,Off,High,Off,Wide,Off,Off,Off,Off,BBB")
    expect_row(session, saved, 12,
               "12,147.50000,Off,147.50000,Off,High,Off,Wide,Off,Off,Off,Off,CCC")


def journey_list_keys(session):
    session.start_radio()
    session.start_app()
    read_from_radio(session)
    grid = session.channel_grid()
    # Channel 1 has High power: Escape in the open list keeps it, then Up and Enter pick Low.
    session.x.click(*grid.cell_centre(1, 5))
    popup = open_list_by_key(session, "F4", "power levels")
    session.x.key("Escape")
    session.wait_gone(popup, "the list of power levels after Escape", LIST_DEADLINE)
    popup = open_list_by_key(session, "alt+Down", "power levels")
    session.x.key("Up")
    session.x.key("Return")
    session.wait_gone(popup, "the list of power levels after Enter", LIST_DEADLINE)
    # Channel 2 decodes 88.5: typing 9 searches the tone list, Escape keeps 88.5.
    session.x.click(*grid.cell_centre(2, 2))
    popup = open_list_by_key(session, "F4", "decode tones")
    session.x.type("9")
    session.shot("searched-tones")
    if popup not in session.x.visible_windows():
        raise JourneyFailure("the first typed key closed the list of decode tones")
    session.x.key("Escape")
    session.wait_gone(popup, "the list of decode tones after Escape", LIST_DEADLINE)
    saved = session.path("keys.pgm")
    save_new_file(session, saved)
    rows = channel_rows(session, saved)
    found = (rows["1"].split(",")[5], rows["2"].split(",")[2])
    if found != ("Low", "88.5"):
        raise JourneyFailure(f"power and decode tone were saved as {found}, "
                             "expected Low (picked) and 88.5 (kept by Escape)")


def journey_write_to_radio(session, *radio_options):
    session.start_radio(*radio_options)
    session.start_app()
    read_from_radio(session)
    grid = session.channel_grid()
    type_into_cell(session, grid, 1, 1, "147.5")
    type_into_cell(session, grid, 3, 12, "WRITE")
    session.x.key("ctrl+w")
    dialog = session.dialog(session.text("IDS_WRITEDATA"), IDS.kTransferTemplate)
    dialog.click(IDS.kIdOk)
    session.wait_gone(dialog.window, "the write dialog", TRANSFER_DEADLINE)
    session.shot("written")
    saved = session.path("written.pgm")
    save_new_file(session, saved)

    radio = session.stop_radio()
    document = read_image(saved)
    if radio[CLONE_START:CLONE_END] != document[CLONE_START:CLONE_END]:
        differing = [a for a in range(CLONE_START, CLONE_END) if radio[a] != document[a]]
        raise JourneyFailure(f"the radio's memory differs from the document at "
                             f"{len(differing)} bytes, first at 0x{differing[0]:04X}")
    expect_row(session, session.path("radio-memory.pgm"), 1,
               "1,147.50000,Off,146.52000,Off,High,Off,Wide,On,Off,Off,Off,CALL")


def new_channel_file(session):
    path = session.path("channels.pgm")
    subprocess.run([os.path.join(session.bin_dir, "halvex-cli"), "new", "--settings",
                    session.path("setting.ini"), "-o", path], check=True, capture_output=True)
    return path


def half_typed_edit_then(session, close):
    path = new_channel_file(session)
    before = read_image(path)
    session.start_app(path)
    grid = session.channel_grid()
    type_into_cell(session, grid, 1, 1, "147", commit=False)
    session.shot("half-typed")
    close()
    question = expect_question(session, "a half-typed 147 in channel 1")
    session.shot("question")
    session.x.focus(question)
    session.x.key("alt+y")
    session.wait_app_exit()
    if read_image(path) == before:
        raise JourneyFailure("Yes at the question saved nothing")
    row = channel_rows(session, path).get("1", "")
    if row.split(",")[1:2] != ["147.00000"]:
        raise JourneyFailure(f"channel 1 was saved as {row!r}, without the typed 147")


def open_file_menu(session):
    """Clicks the first menu of the bar and returns the window of the File menu."""
    image = session.x.capture()
    left, top, width, _ = session.x.geometry(session.main_window)
    first = first_dark(image, range(left, left + width // 4), range(top, top + 40), by_row=False)
    if first is None:
        raise JourneyFailure("the menu bar shows no File menu")
    known = set(session.x.visible_windows())
    session.x.click(first[0] + 4, first[1] + 4)
    menu = session.wait_new_window(known, "the File menu to open")
    session.shot("file-menu")
    return menu


def click_file_exit(session):
    """File > Exit with the mouse: the first menu of the bar, then its last entry."""
    menu = open_file_menu(session)
    left, top, width, height = session.x.geometry(menu)
    last = first_dark(session.x.capture(), range(left + 4, left + width - 4),
                      range(top + height - 3, top, -1), by_row=True)
    if last is None:
        raise JourneyFailure("the File menu shows no entries")
    session.x.click(left + width // 2, last[1] - 4)


def first_dark(image, xs, ys, by_row):
    """The first text pixel met scanning columns (or rows) in the order given."""
    outer, inner = (ys, xs) if by_row else (xs, ys)
    for a in outer:
        for b in inner:
            x, y = (b, a) if by_row else (a, b)
            if max(image.pixel(x, y)) < 80:
                return x, y
    return None


def journey_half_typed_file_exit(session):
    half_typed_edit_then(session, lambda: click_file_exit(session))


def journey_half_typed_close_box(session):
    half_typed_edit_then(session, lambda: session.x.messages.close_box(session.main_window))


def text_lines(image, area):
    """The middle screen row of each line of text inside area, top to bottom."""
    left, top, width, height = area
    runs = []
    for y in range(top + 2, top + height - 2):
        if not any(max(image.pixel(x, y)) < 80 for x in range(left + 4, left + width - 4)):
            continue
        # A mnemonic's underline lies a pixel or two below its letters.
        if runs and y - runs[-1][1] <= 3:
            runs[-1][1] = y
        else:
            runs.append([y, y])
    return [(first + last) // 2 for first, last in runs]


# New, Open, Open Example, Save and Save As come before it, each always shown.
IMPORT_CHANNELS_ENTRY = 5
# The fixture's two repeaters, both inside the band of a new document, as the CLI lists them.
IMPORTED_CHANNELS = {
    "1": "1,146.96000,Off,146.36000,103.5,High,Off,Wide,On,Off,Off,Off,SEA01",
    "2": "2,147.28000,103.5,147.88000,103.5,Low,Off,Narrow,On,Off,Off,Off,TACOM",
}


def journey_import_channels(session):
    path = new_channel_file(session)
    before = read_image(path)
    csv = session.path("names_too_long.csv")
    shutil.copy(os.path.join(DATA_DIR, "csv", "names_too_long.csv"), csv)
    session.start_app(path)
    grid = session.channel_grid()

    menu = open_file_menu(session)
    entries = text_lines(session.x.capture(), session.x.geometry(menu))
    if len(entries) <= IMPORT_CHANNELS_ENTRY:
        raise JourneyFailure(f"the File menu shows {len(entries)} entries")
    left, _, width, _ = session.x.geometry(menu)
    known = set(session.x.visible_windows())
    session.x.click(left + width // 2, entries[IMPORT_CHANNELS_ENTRY])
    answer_file_dialog(session, known, csv, "import")

    report = session.dialog(session.resource(IDS.kChannelImportTemplate),
                            IDS.kChannelImportTemplate)
    session.shot("import-report")
    # Both names are longer than the radio keeps: two lines in the loss report.
    shown = text_lines(session.x.capture(), report.control_rect(IDS.kImportReportId))
    if len(shown) != 2:
        raise JourneyFailure(f"the loss report shows {len(shown)} lines, expected 2")
    if not session.cell_is_empty(grid, 1, 1):
        raise JourneyFailure("the channel page changed before OK in the import dialog")
    report.click(IDS.kIdOk)
    session.wait_gone(report.window, "the import dialog")
    session.wait_cell_filled(grid, 1, 1, "the imported channel 1 to show")
    session.shot("imported")
    title = session.x.window_name(session.main_window)
    if not title.startswith(os.path.basename(path) + "* "):
        raise JourneyFailure(f"after the import the title is {title!r}, without the mark of "
                             "a modified document")

    save_over_opened_file(session)
    # Saved through a temporary file and a rename, so a changed image is a whole one.
    wait_until("the imported channels to be saved", lambda: read_image(path) != before)
    rows = channel_rows(session, path)
    if rows != IMPORTED_CHANNELS:
        raise JourneyFailure(f"the saved channel table is {rows!r}, expected "
                             f"{IMPORTED_CHANNELS!r}")


def journey_export_import_configuration(session):
    """File > Export Configuration, an edit of the text, File > Import Configuration: the
    import lists its changes first, OK takes them and Save stores them."""
    path = new_channel_file(session)
    text = session.path("radio.yaml")
    session.start_app(path)
    known = set(session.x.visible_windows())
    menu_command(session, "Menu_File", "Menu_File_Export_Config")
    answer_file_dialog(session, known, text, "export")
    wait_file(text, "the configuration to be exported")
    with open(text, encoding="utf-8") as exported:
        lines = exported.read()
    if "\nchannels: {}\n" not in lines:
        raise JourneyFailure("the exported configuration of a new file lists channels")
    with open(text, "w", encoding="utf-8") as edited:
        channel = '  7: {receive: 146.52, power: low, name: "TEXT"}'
        edited.write(lines.replace("\nchannels: {}\n", f"\nchannels:\n{channel}\n"))

    known = set(session.x.visible_windows())
    menu_command(session, "Menu_File", "Menu_File_Import_Config")
    answer_file_dialog(session, known, text, "import")
    changes = session.dialog(session.resource(IDS.kConfigImportTemplate),
                             IDS.kConfigImportTemplate)
    session.shot("configuration-changes")
    shown = text_lines(session.x.capture(), changes.control_rect(IDS.kConfigImportListId))
    # The new channel is one line of the list, not one per column.
    if len(shown) != 1:
        raise JourneyFailure(f"the import lists {len(shown)} changes, expected 1")
    changes.click(IDS.kIdOk)
    session.wait_gone(changes.window, "the import dialog")
    save_over_opened_file(session)
    wait_until("the imported channel to be saved", lambda: "7" in channel_rows(session, path))
    row = channel_rows(session, path)["7"]
    if row != "7,146.52000,Off,146.52000,Off,Low,Off,Wide,Off,Off,Off,Off,TEXT":
        raise JourneyFailure(f"the saved channel 7 is {row!r}")


def journey_fm_preset_lists(session):
    path = new_channel_file(session)
    session.start_app(path)
    menu_command(session, "Menu_Program", "Menu_Program_Radiogram")
    presets = session.dialog(session.resource(IDS.kRadiogramTemplate),
                             IDS.kRadiogramTemplate)
    grid = session.find_grid(presets.control_rect(IDS.kPresetGridId), 2)
    # A new file holds 65M0, the first entry, in preset 1 and OFF (431) in preset 2.
    session.x.click(*grid.cell_centre(1, 1))
    session.pick_from_list(grid.cell_arrow(1, 1), 0, 1, "FM presets")
    presets.click(IDS.kIdOk)
    session.wait_gone(presets.window, "the FM presets dialog")
    save_over_opened_file(session)
    wait_until("the presets to be saved",
               lambda: read_image(path)[FM_PRESETS:FM_PRESETS + 4] == bytes([0, 1, 1, 0xAF]))


def open_test_mode(session):
    session.x.key("ctrl+t")
    title = session.resource(IDS.kPasswordTemplate)
    password = session.dialog(title, IDS.kPasswordTemplate)
    password.click(IDS.kPasswordEditId)
    session.x.type(ACCESS_CODE)
    known = set(session.x.visible_windows())
    password.click(IDS.kIdOk)
    test_window = session.wait_new_window(known, "the test mode dialog")
    session.shot("test-mode")
    return password, session.dialog_for(test_window, IDS.kTestModeTemplate)


def journey_test_mode_read_all_pages(session):
    # Test mode reads an echoing cable without waiting for the bytes a direct one omits.
    session.start_radio("--echo")
    session.start_app()
    grid = session.channel_grid()
    password, test = open_test_mode(session)
    test.click(IDS.kReadAllId)
    done = session.wait_window(session.text("IDS_PROMPT"), TRANSFER_DEADLINE)
    session.shot("read-all-done")
    session.x.focus(done)
    session.x.key("Return")
    session.wait_gone(done, "the read-all message")
    test.click(IDS.kIdCancel)
    session.wait_gone(test.window, "the test mode dialog")
    password.click(IDS.kIdCancel)
    session.wait_gone(password.window, "the access code dialog")
    session.shot("channel-page-after-read-all")
    session.wait_cell_filled(grid, 1, 1, "the channel page to show the channel 1 that Read "
                             "all put in the image (it still shows the old, empty one)")
    session.x.messages.close_box(session.main_window)
    question = expect_question(session, "closing after Read all changed the image")
    session.x.focus(question)
    session.x.key("alt+n")
    session.wait_app_exit()


def journey_test_mode_read_all_responsive(session):
    # A direct cable: Read all then takes as long as it does with a real radio, and far
    # longer than the stretch watched here.
    session.start_radio()
    session.start_app()
    _, test = open_test_mode(session)
    test.click(IDS.kReadAllId)
    prompt = session.text("IDS_PROMPT")
    checks = 0
    end = time.monotonic() + 2 * PING_DEADLINE
    while time.monotonic() < end and not session.has_window(prompt):
        if not session.x.messages.answers_ping(session.main_window, PING_DEADLINE):
            session.shot("frozen")
            raise JourneyFailure(f"the window did not respond for {PING_DEADLINE:.0f} s during "
                                 f"test mode's Read all (after {checks} answered checks)")
        checks += 1
    session.shot("reading-all")


def progress_shown(session, dialog):
    left, top, width, height = dialog.control_rect(IDS.kTransferProgressId)
    image = session.x.capture()
    for x in range(left + 2, left + width // 2):
        red, green, blue = image.pixel(x, top + height // 2)
        if max(red, green, blue) - min(red, green, blue) > 60:
            return True
    return False


def journey_cancel_paced_read(session):
    session.start_radio("--pace")
    session.start_app()
    grid = session.channel_grid()
    session.x.key("ctrl+r")
    dialog = session.dialog(session.text("IDS_READDATA"), IDS.kTransferTemplate)
    dialog.click(IDS.kIdOk)
    wait_until("the read's progress to show", lambda: progress_shown(session, dialog), 20.0)
    session.shot("reading")
    if not session.x.messages.answers_ping(session.main_window, PING_DEADLINE):
        raise JourneyFailure("the window does not respond during a read")
    dialog.click(IDS.kIdCancel)
    session.wait_gone(dialog.window, "the read dialog after Cancel", 5.0)
    session.shot("cancelled")
    if not session.cell_is_empty(grid, 1, 1):
        raise JourneyFailure("a cancelled read changed the channel page")
    if not session.x.messages.answers_ping(session.main_window, PING_DEADLINE):
        raise JourneyFailure("the window does not respond after Cancel")
    # Nothing changed, so the program ends without a question, and no worker holds it up.
    session.x.messages.close_box(session.main_window)
    session.wait_app_exit()


def port_pane(session):
    """The pixels of the status bar's first pane, at the main window's bottom left."""
    left, top, width, height = session.x.geometry(session.main_window)
    image = session.x.capture()
    return [image.pixel(x, y) for y in range(top + height - 18, top + height - 4)
            for x in range(left + 2, left + width // 8)]


def journey_port_and_language_dialogs(session):
    # Only ports that open can be chosen: the radio provides COM2.
    session.start_radio(port=2)
    session.start_app()
    pane_before = port_pane(session)
    session.x.key("ctrl+c")
    port = session.dialog(session.resource(IDS.kPortTemplate), IDS.kPortTemplate)
    port.click(IDS.kFirstPortButtonId + 1)
    session.shot("port-dialog")
    port.click(IDS.kIdOk)
    session.wait_gone(port.window, "the port dialog")
    if session.settings_value("com") != "2":
        raise JourneyFailure(f"the port dialog stored com={session.settings_value('com')}")
    wait_until("the status bar to show the new port", lambda: port_pane(session) != pane_before,
               LIST_DEADLINE)

    session.x.key("ctrl+l")
    language = session.dialog(session.resource(IDS.kLanguageTemplate),
                              IDS.kLanguageTemplate)
    # The list is sorted by display name; the journey starts in Chinese.
    names = sorted(read_language_file(session.path(entry))["Face"]["disp"]
                   for entry in os.listdir(session.folder) if entry.endswith(".lang"))
    chinese = read_language_file(session.path("chinese.lang"))["Face"]["disp"]
    session.pick_from_list(language.list_arrow(IDS.kLanguageListId), names.index(chinese),
                           names.index("English"), "languages")
    session.shot("language-picked")
    language.click(IDS.kIdOk)
    session.wait_gone(language.window, "the language dialog")
    if session.settings_value("language") != "english":
        raise JourneyFailure(f"language={session.settings_value('language')} was stored")
    english = read_language_file(session.path("english.lang"))
    wait_until("the English window title",
               lambda: is_main_title(session.x.window_name(session.main_window),
                                     english["String"]["IDS_WINDOWNAME"]), 5.0)


def fake_device_tree(session, node_target):
    """A /dev tree with one CH340 adapter, ttyUSB3, whose node leads to node_target, and its
    stable name, beside udev's record of it; gives the roots and the stable name."""
    sys_root, dev_root = session.path("sys"), session.path("dev")
    for folder in (os.path.join(sys_root, "tty"), os.path.join(dev_root, "serial/by-id")):
        os.makedirs(folder, exist_ok=True)
    with open(os.path.join(sys_root, "tty/ttyUSB3"), "w", encoding="ascii") as stream:
        stream.write("ID_BUS=usb\nID_VENDOR_ID=1a86\nID_MODEL_ID=7523\nID_VENDOR=1a86\n"
                     "ID_MODEL=USB_Serial\nID_MODEL_ENC=USB\\x20Serial\nID_USB_DRIVER=ch341\n")
    os.symlink(node_target, os.path.join(dev_root, "ttyUSB3"))
    stable = os.path.join(dev_root, "serial/by-id/usb-1a86_USB_Serial-if00-port0")
    os.symlink(os.path.relpath(os.path.join(dev_root, "ttyUSB3"), os.path.dirname(stable)),
               stable)
    return {"HALVEX_SYSFS_ROOT": sys_root, "HALVEX_DEV_ROOT": dev_root}, stable


def journey_pick_listed_device(session):
    # The cable is outside COM1-COM8's mapping: only the dialog's list can reach it.
    cable = session.path("cable")
    session.start_radio("--demo", link=cable)
    roots, stable = fake_device_tree(session, cable)
    session.start_app(extra_environment=roots, program=DEVICE_TREE_PROGRAM)
    session.x.key("ctrl+c")
    port = session.dialog(session.resource(IDS.kPortTemplate), IDS.kPortTemplate)
    left, top, width, _ = port.control_rect(IDS.kPortDeviceListId)
    # The first entry of the list, a few pixels inside its frame.
    session.x.click(left + width // 2, top + port.line_height * 3 // 4)
    session.shot("device-picked")
    port.click(IDS.kIdOk)
    session.wait_gone(port.window, "the port dialog")
    if session.settings_value("device") != stable:
        raise JourneyFailure(f"the port dialog stored device={session.settings_value('device')}")

    read_from_radio(session)
    saved = session.path("read.pgm")
    save_new_file(session, saved)
    memory = session.stop_radio()
    if read_image(saved)[CLONE_START:CLONE_END] != memory[CLONE_START:CLONE_END]:
        raise JourneyFailure("the document read through the chosen device is not the radio's")


def finding_box(session, caption_key, step):
    """The box the connection check ends with; shot and focused for an answer."""
    box = session.wait_window(session.text(caption_key), TRANSFER_DEADLINE)
    session.x.focus(box)
    session.shot(step)
    return box


def journey_check_connection(session):
    # An echoing cable on the direct setting, with a CH340 adapter listed beside it.
    session.start_radio("--echo")
    roots, _ = fake_device_tree(session, "/dev/null")
    session.start_app(extra_environment=roots, program=DEVICE_TREE_PROGRAM)
    if session.settings_value("rwtype") != "1":
        raise JourneyFailure(f"the journey starts with rwtype={session.settings_value('rwtype')}")
    menu_command(session, "Menu_Program", "Menu_Program_CheckConnection")
    box = finding_box(session, "IDS_ERROR", "check-echoing-cable")
    session.x.key("alt+y")
    session.wait_gone(box, "the echo finding")
    wait_until("the echoing cable type to be stored",
               lambda: session.settings_value("rwtype") == "2", LIST_DEADLINE)

    menu_command(session, "Menu_Program", "Menu_Program_CheckConnection")
    box = finding_box(session, "IDS_PROMPT", "check-radio-found")
    session.x.key("Return")
    session.wait_gone(box, "the radio found")

    # Unplugged: the finding names the adapter that is there.
    session.stop_radio()
    menu_command(session, "Menu_Program", "Menu_Program_CheckConnection")
    box = finding_box(session, "IDS_ERROR", "check-no-device")
    session.x.key("Return")
    session.wait_gone(box, "the missing device finding")


def station_after_one_radio(session, log, fields=(), boxes=(), lines=2):
    """The station dialog on COM1 with its log and any other fields typed in and boxes
    ticked, once the radio found by itself has its line in the log, the log's lines-th."""
    menu_command(session, "Menu_Program", "Menu_Program_Station")
    station = session.dialog(session.resource(IDS.kStationTemplate), IDS.kStationTemplate)
    for control, text in ((IDS.kStationOtherEditId, session.path("ports", "COM1")),
                          (IDS.kStationLogEditId, log), *fields):
        station.click(control)
        session.x.key("ctrl+a")
        session.x.type(text)
    for box in (IDS.kStationAutoId, *boxes):
        station.click(box)
    station.click(IDS.kStationStartId)
    wait_until("the radio's line in the log",
               lambda: os.path.exists(log) and open(log).read().count("\n") == lines,
               TRANSFER_DEADLINE)
    return station


def journey_station_codes(session):
    """A fleet's first PTT ID code typed into the station dialog: the radio found by itself
    holds it, and the log's line and the dialog's list say so; a check against the next code
    finds it differs and writes nothing."""
    session.start_radio()
    session.start_app()
    read_from_radio(session)
    log = session.path("fleet.csv")
    station = station_after_one_radio(session, log, ((IDS.kStationCodeEditId, "0101"),))
    session.shot("station-done")
    session.x.key("Escape")
    session.wait_gone(station.window, "the station dialog")
    # Checked only against the next code: the radio differs and keeps the code it holds.
    station = station_after_one_radio(session, log, ((IDS.kStationCodeEditId, "0102"),),
                                      (IDS.kStationCheckOnlyId,), 3)
    session.shot("station-checked")
    session.x.key("Escape")
    session.wait_gone(station.window, "the station dialog")
    lines = open(log).read().splitlines()
    if not lines[0].startswith("time,") or ",ok," not in lines[1] or \
            not lines[1].endswith(",0101") or ",differs," not in lines[2]:
        raise JourneyFailure(f"the log does not hold the radio with its code, then its check: "
                             f"{lines}")
    radio = session.stop_radio()
    if radio[PTT_ID_CODE:PTT_ID_CODE + 6] != bytes([0, 1, 0, 1, 0xFF, 0xFF]):
        raise JourneyFailure("the radio does not hold the PTT ID code 0101")


def journey_questions_default_to_cancel(session):
    """Enter on a question that would erase the radio must not erase it, and Ctrl+Tab back to
    the channels lands on the table, where Down asks nothing."""
    session.start_radio()
    baseline = session.stop_radio()
    session.start_radio()
    session.start_app()
    session.x.key("ctrl+w")
    dialog = session.dialog(session.text("IDS_WRITEDATA"), IDS.kTransferTemplate)
    dialog.click(IDS.kIdOk)
    question = session.wait_window(session.text("IDS_CONFIRM"))
    session.shot("erase-question")
    session.x.focus(question)
    session.x.key("Return")
    session.wait_gone(question, "the erase question")
    session.x.focus(dialog.window)
    session.x.key("Escape")
    session.wait_gone(dialog.window, "the write dialog")
    session.x.focus(session.main_window)
    for _ in range(3):
        session.x.key("ctrl+Tab")
    session.x.key("Down")
    try:
        session.wait_window(session.text("IDS_CONFIRM"), 2.0)
    except JourneyFailure:
        pass
    else:
        raise JourneyFailure("Down after Ctrl+Tab to the channels asked to reset everything")
    session.shot("back-on-the-table")
    if session.stop_radio() != baseline:
        raise JourneyFailure("Enter on the erase question wrote to the radio")


def section_heading(session, anchor):
    """The heading of a section of the guide in the journey's language, from the page itself."""
    with open(session.path(session.language + ".html"), encoding="utf-8") as stream:
        found = re.search(rf'<h[1-6] id="{anchor}">([^<]*)</h', stream.read())
    if not found:
        raise JourneyFailure(f"the guide has no section {anchor!r}")
    return html.unescape(found.group(1))


def journey_help_at_channels(session):
    session.start_app()
    grid = session.channel_grid()
    session.x.click(*grid.cell_centre(1, 1))
    session.x.key("F1")
    # The help window's title names the section at the top of its view, as the window list
    # and a screen reader show it.
    title = f"{section_heading(session, 'channels')} - {session.text('IDS_HELP_TITLE')}"
    help_window = session.wait_window(title)
    session.shot("help-at-channels")
    # The guide beside it does not block the main window.
    session.x.focus(session.main_window)
    session.x.key("ctrl+l")
    language = session.dialog(session.resource(IDS.kLanguageTemplate), IDS.kLanguageTemplate)
    session.x.key("Escape")
    session.wait_gone(language.window, "the language dialog")
    if help_window not in session.x.visible_windows():
        raise JourneyFailure("the help window closed with the language dialog")
    # The guide left open does not keep the program running.
    menu_command(session, "Menu_File", "Menu_App_Exit")
    if session.wait_app_exit() != 0:
        raise JourneyFailure(f"the program ended with status {session.app.returncode}")


def journey_first_start(session):
    """An empty document shows the start panel above the table; File > Open Example brings an
    example's channels, and the panel goes, so the table moves up into its room."""
    with open(session.path("list.csv"), "w", encoding="utf-8") as stream:
        stream.write("Location,Name,Frequency\n1,CALL,146.520\n2,SIMPLX,146.550\n")
    os.makedirs(session.path("examples"))
    result = subprocess.run(
        [os.path.join(session.bin_dir, "halvex-cli"), "import", session.path("list.csv"),
         "--settings", session.path("setting.ini"), "-o", session.path("examples", "demo.pgm")],
        capture_output=True, text=True)
    if result.returncode != 0:
        raise JourneyFailure(f"no example could be made: {result.stderr.strip()}")
    session.start_app()
    with_panel = session.channel_grid()
    session.picture("start-panel", session.main_window)
    session.x.focus(session.main_window)
    session.x.key("alt+" + mnemonic(session.text("Menu_File")))
    session.x.key(mnemonic(session.text("Menu_File_Open_Example")))
    session.x.key("Down")
    session.x.key("Return")
    source = session.text("IDS_EXAMPLE_SOURCE").replace("%s", "demo.pgm")
    session.wait_window(f"{source} - {session.text('IDS_WINDOWNAME')}")
    without = session.channel_grid()
    if without.rows[0] >= with_panel.rows[0]:
        raise JourneyFailure("the table did not move up: the start panel is still shown")
    session.wait_cell_filled(without, 1, 1, "channel 1 of the example")
    menu_command(session, "Menu_File", "Menu_App_Exit")
    if session.wait_app_exit() != 0:
        raise JourneyFailure(f"the program ended with status {session.app.returncode}")


def window_pixels(session, window):
    left, top, width, height = session.x.geometry(window)
    image = session.x.capture()
    rows = (((top + y) * image.width + left) * 3 for y in range(height))
    return b"".join(bytes(image.pixels[row:row + width * 3]) for row in rows)


def page_shown(session, before, what):
    """The main window's pixels once they differ from before and hold still."""
    def probe():
        now = window_pixels(session, session.main_window)
        return now if now != before and window_pixels(session, session.main_window) == now \
            else None
    return wait_until(what, probe)


def journey_guide_pictures(session):
    """The user guide's pictures, each where a user meets it: the read's dialog, the channels
    it brings, the other two pages, Check Connection finding the radio and the station after
    its first radio."""
    session.start_radio("--demo")
    session.start_app()
    session.x.key("ctrl+r")
    dialog = session.dialog(session.text("IDS_READDATA"), IDS.kTransferTemplate)
    session.picture("transfer-dialog", dialog.window)
    dialog.click(IDS.kIdOk)
    session.wait_gone(dialog.window, "the read dialog", TRANSFER_DEADLINE)
    session.wait_channel_filled(1, 1, "channel 1 of the radio")
    channels = page_shown(session, b"", "the channels to hold still")
    session.picture("channel-page", session.main_window)
    session.x.focus(session.main_window)
    session.x.key("ctrl+Tab")
    functions = page_shown(session, channels, "the Optional Functions page")
    session.picture("function-page", session.main_window)
    session.x.key("ctrl+Tab")
    page_shown(session, functions, "the VFO page")
    session.picture("vfo-page", session.main_window)

    menu_command(session, "Menu_Program", "Menu_Program_CheckConnection")
    box = session.wait_window(session.text("IDS_PROMPT"), TRANSFER_DEADLINE)
    session.picture("check-connection", box)
    session.x.focus(box)
    session.x.key("Return")
    session.wait_gone(box, "the radio found")

    station = station_after_one_radio(session, session.path("fleet.csv"))
    # It opens wider than the screen's room right of the main window, which would crop it.
    session.x.xdotool("windowmove", station.window, 0, 0)
    wait_until("the station dialog at the screen's corner",
               lambda: session.x.geometry(station.window)[:2] == (0, 0))
    session.picture("station", station.window)
    session.x.key("Escape")
    session.wait_gone(station.window, "the station dialog")


# Every shipped language, so the start panel can be looked at in each (scripts/guide-pictures).
LANGUAGES = ["english", "chinese", "chinese_traditional", "french", "german", "italian",
             "japanese", "polish", "portuguese_brazil", "russian", "spanish"]

JOURNEYS = {
    "read_edit_save_reopen": ("english", journey_read_edit_save_reopen),
    "write_to_radio": ("english", journey_write_to_radio),
    # At 9600 baud the link's waits for each answer run their full length, as with a cable.
    "write_to_radio_at_line_speed": ("english",
                                     lambda session: journey_write_to_radio(session, "--pace")),
    "half_typed_file_exit": ("english", journey_half_typed_file_exit),
    "half_typed_close_box": ("english", journey_half_typed_close_box),
    "fm_preset_lists": ("english", journey_fm_preset_lists),
    "import_channels": ("english", journey_import_channels),
    "export_import_configuration": ("english", journey_export_import_configuration),
    "export_import_configuration_chinese": ("chinese", journey_export_import_configuration),
    "list_keys": ("english", journey_list_keys),
    "undo_redo_keys": ("english", journey_undo_redo_keys),
    "rows_cut_paste_undo": ("english", journey_rows_cut_paste_undo),
    "test_mode_read_all_pages": ("english", journey_test_mode_read_all_pages),
    "test_mode_read_all_responsive": ("english", journey_test_mode_read_all_responsive),
    "cancel_paced_read": ("english", journey_cancel_paced_read),
    "port_and_language_dialogs": ("chinese", journey_port_and_language_dialogs),
    "pick_listed_device": ("english", journey_pick_listed_device),
    "check_connection": ("english", journey_check_connection),
    "check_connection_chinese": ("chinese", journey_check_connection),
    "questions_default_to_cancel": ("english", journey_questions_default_to_cancel),
    "questions_default_to_cancel_chinese": ("chinese", journey_questions_default_to_cancel),
    "station_codes": ("english", journey_station_codes),
    "guide_pictures_english": ("english", journey_guide_pictures),
    "guide_pictures_chinese": ("chinese", journey_guide_pictures),
    "help_at_channels": ("english", journey_help_at_channels),
    "help_at_channels_chinese": ("chinese", journey_help_at_channels),
    **{f"first_start_{language}": (language, journey_first_start) for language in LANGUAGES},
}


def main():
    return run_journey(__doc__, JOURNEYS)


if __name__ == "__main__":
    sys.exit(main())
