# SPDX-License-Identifier: GPL-3.0-or-later
"""One journey's world: its own folder of programs and settings, its own X server, the
virtual radio and the desktop program, and the geometry to click at.

Every position comes from a dialog template (dialog units scaled by the measured size of
the dialog's window) or from the channel grid's own lines on a screenshot; nothing is a
remembered screen coordinate.
"""

import argparse
import json
import os
import re
import shutil
import signal
import subprocess

from xserver import (DEFAULT_DEADLINE, LIST_DEADLINE, JourneyFailure, XServer, dies_with_parent,
                     wait_until)

PGM_HEADER_SIZE = 48
IMAGE_SIZE = 8192
# The desktop program as journeys that fake the serial devices run it.
DEVICE_TREE_PROGRAM = "halvex-journey"
CLONE_START, CLONE_END = 0x0800, 0x2000


def read_control_ids():
    """The program's names for its dialog templates and controls, read from its own headers,
    so a journey names what it clicks and follows a renumbering."""
    source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src")
    paths = [os.path.join(source, "desktop", "resources", "dialog_template.h")]
    # The pages the browser draws too keep their ids in the core.
    for side in ("desktop", "core"):
        folder = os.path.join(source, side, "resources", "ids")
        paths += sorted(os.path.join(folder, name) for name in os.listdir(folder))
    ids = {}
    for path in paths:
        with open(path, encoding="utf-8") as stream:
            ids.update((name, int(value)) for name, value in
                       re.findall(r"constexpr int (k\w+) = (\d+);", stream.read()))
    return argparse.Namespace(**ids)


IDS = read_control_ids()


def read_language_file(path):
    sections = {}
    section = None
    with open(path, encoding="utf-8") as stream:
        for line in stream:
            line = line.rstrip("\r\n")
            if line.startswith("[") and line.endswith("]"):
                section = sections.setdefault(line[1:-1], {})
            elif section is not None and "=" in line:
                key, _, value = line.partition("=")
                section[key.strip()] = value
    return sections


def mnemonic(menu_text):
    """The key that picks a menu entry: the letter after its '&'."""
    found = re.search(r"&(\w)", menu_text)
    if not found:
        raise JourneyFailure(f"the menu text {menu_text!r} has no mnemonic")
    return found.group(1).lower()


def solve_unit(template_size, pixels, divisor):
    """The dialog unit base for which the template size gives exactly the window's size."""
    for base in range(1, 64):
        if template_size * base // divisor == pixels:
            return base
    raise JourneyFailure(f"no dialog unit maps {template_size} units to {pixels} pixels")


class Dialog:
    """A top-level dialog window and its template."""

    def __init__(self, session, window, template_id):
        self.session = session
        self.window = window
        self.template = session.templates[str(template_id)]
        geometry = session.x.geometry(window)
        if geometry is None:
            raise JourneyFailure(f"dialog {template_id} vanished")
        self.left, self.top, width, height = geometry
        self.average_width = solve_unit(self.template["width"], width, 4)
        self.line_height = solve_unit(self.template["height"], height, 8)

    def control_rect(self, control_id):
        controls = [c for c in self.template["controls"] if c["id"] == control_id]
        if not controls:
            raise JourneyFailure(f"template has no control {control_id}")
        # A label and the control it names may share an id; the control comes last.
        control = controls[-1]
        return (self.left + control["x"] * self.average_width // 4,
                self.top + control["y"] * self.line_height // 8,
                control["width"] * self.average_width // 4,
                control["height"] * self.line_height // 8)

    def click(self, control_id):
        left, top, width, height = self.control_rect(control_id)
        self.session.x.click(left + width // 2, top + height // 2)

    def list_arrow(self, control_id):
        """The arrow of a drop-down list, whose template height is that of the open list."""
        left, top, width, _ = self.control_rect(control_id)
        return left + width - 6, top + self.line_height


class Grid:
    """Cell geometry of a grid control (the channel table, the FM presets), read from its
    grid lines on a screenshot."""

    def __init__(self, columns, rows):
        self.columns = columns  # right-hand grid line of each column, column 0 first
        self.rows = rows  # bottom grid line of the header row, then of each data row

    @staticmethod
    def find(image, area, column_count):
        left, top, width, height = area
        white = (255, 255, 255)

        def is_line(x, y):
            colour = image.pixel(x, y)
            return (colour != white and image.pixel(x, y + 1) == colour
                    and image.pixel(x, y + 2) == colour
                    and white in (image.pixel(x - 1, y), image.pixel(x + 1, y)))

        votes = {}
        for y in range(top + 1, top + height - 3, 5):
            for x in range(left + 1, left + width - 1):
                if is_line(x, y):
                    votes[x] = votes.get(x, 0) + 1
        columns = sorted(x for x, count in votes.items() if count >= 20)
        if len(columns) < column_count:
            raise JourneyFailure(f"found {len(columns)} of the grid's {column_count} column lines")
        columns = columns[-column_count:]
        # A row line runs through the whole table and borders a white cell. The channel
        # table starts with channel 1's first cell focused: its frame is no row line.
        first = 2 if column_count > 2 else 1
        probes = [(columns[k - 1] * (4 - part) + columns[k] * part) // 4
                  for k in range(first, column_count, 5) for part in (1, 2, 3)]
        rows = []
        for y in range(top + 1, top + height - 1):
            colour = image.pixel(probes[0], y)
            if colour == white or any(image.pixel(x, y) != colour for x in probes):
                continue
            if all(white in (image.pixel(x, y - 1), image.pixel(x, y + 1)) for x in probes):
                rows.append(y)
        # The data rows share one height; the line before the first of them ends the header.
        best = []
        for start in range(len(rows) - 1):
            run = rows[start:start + 2]
            if run[1] - run[0] < 4:
                continue
            for y in rows[start + 2:]:
                if y - run[-1] == run[1] - run[0]:
                    run.append(y)
            if len(run) > len(best):
                best = run
        if len(best) < 6:
            raise JourneyFailure("the grid shows fewer than five rows")
        return Grid(columns, best)

    def cell_rect(self, row, column):
        left = self.columns[column - 1] + 1
        top = self.rows[row - 1] + 1
        return left, top, self.columns[column] - left, self.rows[row] - top

    def cell_centre(self, row, column):
        left, top, width, height = self.cell_rect(row, column)
        return left + width // 2, top + height // 2

    def row_header(self, row):
        """A point inside a row's header cell, whose left line the search does not keep."""
        _, top, _, height = self.cell_rect(row, 1)
        return self.columns[0] - 12, top + height // 2

    def cell_arrow(self, row, column):
        """Where the arrow of a drop-down list placed over the cell lies."""
        left, top, width, height = self.cell_rect(row, column)
        return left + width - 6, top + height // 2


class Session:
    def __init__(self, name, bin_dir, layout_program, work_root, language,
                 device_tree_program=None):
        self.name = name
        self.bin_dir = os.path.abspath(bin_dir)
        self.folder = os.path.join(os.path.abspath(work_root), name)
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(os.path.join(self.folder, "screenshots"))
        for program in ("halvex", "radio-sim"):
            self._place_program(os.path.join(self.bin_dir, program))
        if device_tree_program:
            # The desktop program that finds serial devices in a journey's fake tree.
            self._place_program(os.path.abspath(device_tree_program), DEVICE_TREE_PROGRAM)
        for entry in os.listdir(bin_dir):
            if entry.endswith((".lang", ".html")):
                shutil.copy(os.path.join(bin_dir, entry), self.folder)
        self.language = language
        self._write_settings(language)
        self.texts = read_language_file(os.path.join(self.folder, language + ".lang"))
        self.templates = json.loads(subprocess.run(
            [os.path.abspath(layout_program)], capture_output=True, check=True, text=True).stdout)
        self.screenshots = []
        self.app = None
        self.radio = None
        self.main_window = None
        self.x = XServer(self.path("xvfb.log"))

    def path(self, *parts):
        return os.path.join(self.folder, *parts)

    def _place_program(self, source, name=None):
        # The programs find their settings beside their own executable, so each journey
        # runs its own copy (a hard link where the file system allows one).
        target = self.path(name or os.path.basename(source))
        try:
            os.link(source, target)
        except OSError:
            shutil.copy2(source, target)

    def _write_settings(self, language):
        """The program's settings with the journey's language chosen.

        The shipped 50 ms answer times hold on an idle machine only: a virtual radio that a
        loaded machine schedules late must not fail a journey that does not test them.
        """
        chosen = {"language": language, "readtime": "2000", "writetime": "2000"}
        with open(os.path.join(self.bin_dir, "setting.ini"), encoding="utf-8") as stream:
            lines = [line for line in stream.read().splitlines()
                     if line.partition("=")[0].strip() not in chosen]
        setup = lines.index("[setup]") + 1
        lines[setup:setup] = [f"{key}={value}" for key, value in chosen.items()]
        with open(self.path("setting.ini"), "w", encoding="utf-8") as stream:
            stream.write("\n".join(lines) + "\n")

    def settings_value(self, key):
        with open(self.path("setting.ini"), encoding="utf-8") as stream:
            for line in stream:
                name, _, value = line.strip().partition("=")
                if name == key:
                    return value
        return None

    def text(self, key, section="String"):
        value = self.texts.get(section, {}).get(key)
        if value is None:
            raise JourneyFailure(f"the language file has no {section}/{key}")
        return value

    def resource(self, control_id):
        """A dialog's title or a control's text in the language file, keyed by its number."""
        return self.text(str(control_id), "Resource")

    # The virtual radio -------------------------------------------------------------------

    def start_radio(self, *options, port=1, link=None):
        """The radio on ports/COM<port>, or on link, a path outside the COMn mapping."""
        self.radio_log = open(self.path("radio-sim.log"), "wb")
        where = ["--link", link] if link else ["--port", str(port)]
        self.radio = subprocess.Popen(
            [self.path("radio-sim"), *where, "--memory", self.path("radio-memory.pgm"), *options],
            stdout=self.radio_log, stderr=subprocess.STDOUT, preexec_fn=dies_with_parent)
        link = link or self.path("ports", f"COM{port}")
        wait_until("the virtual radio's port", lambda: os.path.exists(link))

    def stop_radio(self):
        """Stops the radio, which saves its memory, and returns the memory's 8192 bytes."""
        self.radio.send_signal(signal.SIGINT)
        self.radio.wait(timeout=DEFAULT_DEADLINE)
        self.radio = None
        self.radio_log.close()
        return read_image(self.path("radio-memory.pgm"))

    # The desktop program -----------------------------------------------------------------

    def start_app(self, *arguments, extra_environment=None, program="halvex"):
        environment = dict(self.x.env, HOME=self.folder, XDG_CONFIG_HOME=self.path("config"),
                           XDG_RUNTIME_DIR=self.path("runtime"), QT_QPA_PLATFORM="xcb",
                           **(extra_environment or {}))
        for variable in ("LC_ALL", "LC_MESSAGES", "LANG", "QT_QPA_PLATFORMTHEME"):
            environment.pop(variable, None)
        os.makedirs(self.path("runtime"), mode=0o700, exist_ok=True)
        self.app_log = open(self.path("halvex.log"), "wb")
        self.app = subprocess.Popen([self.path(program), *arguments], cwd=self.folder,
                                    env=environment, stdout=self.app_log,
                                    stderr=subprocess.STDOUT, preexec_fn=dies_with_parent)
        self.main_window = wait_until("the main window", self._started_main_window)
        self.x.focus(self.main_window)
        self.shot("started")
        return self.main_window

    def _started_main_window(self):
        if not self.app_running():
            raise JourneyFailure(f"the program ended at start with status {self.app.returncode}")
        windows = self.main_windows()
        return windows[-1] if windows else None

    def app_running(self):
        return self.app is not None and self.app.poll() is None

    def wait_app_exit(self, deadline=DEFAULT_DEADLINE):
        wait_until("the program to end", lambda: not self.app_running(), deadline)
        return self.app.returncode

    def wait_window(self, title, deadline=DEFAULT_DEADLINE):
        def probe():
            if self.app is not None and not self.app_running():
                raise JourneyFailure(f"the program ended while waiting for window {title!r}")
            windows = self.windows_titled(title)
            return windows[-1] if windows else None

        return wait_until(f"window {title!r}", probe, deadline)

    def wait_gone(self, window, what, deadline=DEFAULT_DEADLINE):
        wait_until(f"{what} to close",
                   lambda: window not in self.x.visible_windows(), deadline)

    def windows_titled(self, title):
        # Compared here: the title search of xdotool does not match non-Latin titles.
        return [w for w in self.x.visible_windows() if self.x.window_name(w) == title]

    def main_windows(self):
        return [w for w in self.x.visible_windows() if is_main_title(self.x.window_name(w),
                                                                     self.text("IDS_WINDOWNAME"))]

    def has_window(self, title):
        return bool(self.windows_titled(title))

    def dialog(self, title, template_id, deadline=DEFAULT_DEADLINE):
        window = self.wait_window(title, deadline)
        self.x.focus(window)
        return Dialog(self, window, template_id)

    def dialog_for(self, window, template_id):
        self.x.focus(window)
        return Dialog(self, window, template_id)

    def wait_new_window(self, known, what, deadline=DEFAULT_DEADLINE):
        def probe():
            fresh = [w for w in self.x.visible_windows() if w not in known]
            return fresh[-1] if fresh else None

        return wait_until(what, probe, deadline)

    def find_grid(self, area, column_count):
        """The grid inside area, once it has been drawn."""
        failures = []

        def probe():
            try:
                return Grid.find(self.x.capture(), area, column_count)
            except JourneyFailure as failure:
                failures[:] = [failure]
                return None

        try:
            return wait_until("the grid to be drawn", probe, DEFAULT_DEADLINE)
        except JourneyFailure:
            raise failures[0] from None

    def channel_grid(self):
        return self.find_grid(self.x.geometry(self.main_window), 13)

    def wait_cell_filled(self, grid, row, column, what):
        wait_until(what, lambda: not self.cell_is_empty(grid, row, column), DEFAULT_DEADLINE)

    def wait_channel_filled(self, row, column, what):
        """Waits for text in a cell of the channel table, finding the table anew each time:
        the start panel goes with the first channels, and the table moves up into its room."""
        def probe():
            image = self.x.capture()
            try:
                grid = Grid.find(image, self.x.geometry(self.main_window), 13)
            except JourneyFailure:
                return False
            return not self.cell_is_empty(grid, row, column, image)

        wait_until(what, probe, DEFAULT_DEADLINE)

    def cell_is_empty(self, grid, row, column, image=None):
        """True when the cell shows no text: every pixel inside its lines is one colour."""
        if image is None:
            image = self.x.capture()
        left, top, width, height = grid.cell_rect(row, column)
        colours = {image.pixel(x, y) for x in range(left + 2, left + width - 2)
                   for y in range(top + 2, top + height - 2)}
        return len(colours) == 1

    def pick_from_list(self, arrow, current, target, what):
        """Opens a drop-down list at its arrow and clicks the entry target, knowing that the
        entry current is the one the list shows as chosen."""
        known = set(self.x.visible_windows())
        self.x.click(*arrow)
        popup = self.wait_new_window(known, f"the list of {what} to open", LIST_DEADLINE)
        self.shot(f"{what}-list-open")
        left, top, width, height = self.x.geometry(popup)
        first, last = wait_until(
            f"the open list of {what} to mark the chosen entry",
            lambda: highlighted_rows(self.x.capture(), (left, top, width, height)), LIST_DEADLINE)
        entry_height = last - first + 1
        y = (first + last) // 2 + (target - current) * entry_height
        if not top <= y < top + height:
            raise JourneyFailure(f"entry {target} of {what} is not visible in the open list")
        self.x.click(left + width // 2, y)
        wait_until(f"the list of {what} to close",
                   lambda: popup not in self.x.visible_windows(), LIST_DEADLINE)

    # Evidence ----------------------------------------------------------------------------

    def shot(self, step):
        name = f"{len(self.screenshots) + 1:02d}-{re.sub(r'[^A-Za-z0-9_-]+', '-', step)}.png"
        path = self.path("screenshots", name)
        self.x.save_screenshot(path)
        self.screenshots.append(path)

    def picture(self, name, window):
        """A screenshot of window for the user guide: kept beside the journey's own and, when
        HALVEX_GUIDE_PICTURES names a folder, as NAME-LANGUAGE.png there."""
        self.shot(name)
        folder = os.environ.get("HALVEX_GUIDE_PICTURES")
        if folder:
            path = os.path.join(folder, f"{name}-{self.language}.png")
            self.x.save_screenshot(path, window)
            if not os.path.exists(path):
                raise JourneyFailure(f"no picture was made at {path}")
            # A window has few colours: a palette keeps the text sharp at a third of the size,
            # and without the times of making it the same window makes the same file.
            subprocess.run(["convert", path, "-strip", "-dither", "None", "-colors", "64",
                            "-define", "png:exclude-chunk=date,time", "PNG8:" + path],
                           check=True, capture_output=True, timeout=DEFAULT_DEADLINE)

    def finish(self, failed):
        if failed:
            try:
                self.shot("failure")
            except Exception:  # noqa: BLE001 - the display may be gone; keep what we have
                pass
        if self.app_running():
            self.app.terminate()
            try:
                self.app.wait(timeout=DEFAULT_DEADLINE)
            except subprocess.TimeoutExpired:
                self.app.kill()
                self.app.wait()
        if self.radio is not None:
            self.radio.terminate()
            self.radio.wait(timeout=DEFAULT_DEADLINE)
        self.x.stop()
        if failed:
            print("screenshots of the failed journey:")
            for path in self.screenshots:
                print("  " + path)
        else:
            shutil.rmtree(self.path("screenshots"), ignore_errors=True)


def is_main_title(title, program_name):
    """The main window's title is the program's name, or "file - name" on desktops that
    name the document in the title."""
    return title == program_name or title.endswith(" - " + program_name)


def highlighted_rows(image, area):
    """The first and last screen row of the list entry drawn in the selection colour."""
    left, top, width, height = area
    rows = []
    for y in range(top, top + height):
        saturated = 0
        for x in range(left + 2, left + width - 2, 2):
            red, green, blue = image.pixel(x, y)
            if max(red, green, blue) - min(red, green, blue) > 60:
                saturated += 1
        if saturated * 4 >= (width - 4) // 2 * 3:
            rows.append(y)
    if not rows:
        return None
    return rows[0], rows[-1]


def read_image(path):
    """The 8192-byte image of a .pgm file or a raw memory dump."""
    with open(path, "rb") as stream:
        data = stream.read()
    if len(data) == IMAGE_SIZE:
        return data
    if len(data) != PGM_HEADER_SIZE + IMAGE_SIZE:
        raise JourneyFailure(f"{path} has {len(data)} bytes, not a radio data file")
    return data[PGM_HEADER_SIZE:]


def menu_command(session, menu_key, item_key):
    """Opens a menu and picks an entry by the mnemonics its language file gives them."""
    # Without a window manager nobody hands the focus back when a dialog closes.
    session.x.focus(session.main_window)
    session.x.key("alt+" + mnemonic(session.text(menu_key)))
    session.x.key(mnemonic(session.text(item_key)))


def save_over_opened_file(session):
    """Ctrl+S over the file the program opened, answering its overwrite question with OK."""
    session.x.focus(session.main_window)
    session.x.key("ctrl+s")
    confirm = session.wait_window(session.text("IDS_CONFIRM"))
    session.x.focus(confirm)
    # Saving over its own file is what was asked for: Enter is OK.
    session.x.key("Return")
    session.wait_gone(confirm, "the save confirmation")


def channel_rows(session, path):
    """The channel table of a .pgm file as the command-line tool lists it, by channel."""
    result = subprocess.run(
        [os.path.join(session.bin_dir, "halvex-cli"), "info", "--settings",
         session.path("setting.ini"), path, "--csv"], capture_output=True, text=True)
    if result.returncode != 0:
        raise JourneyFailure(f"halvex-cli cannot read {path}: {result.stderr.strip()}")
    lines = result.stdout.strip().splitlines()
    return {line.split(",")[0]: line for line in lines[1:]}


def wait_file(path, what, deadline=DEFAULT_DEADLINE, size=None):
    def probe():
        return os.path.exists(path) and (size is None or os.path.getsize(path) == size)

    wait_until(what, probe, deadline)


def run_journey(description, journeys, prefix="", prepare=None):
    """The command line of a journey script: runs the journey it names, returns the exit status.
    prepare(session), when given, runs first and returns what undoes it afterwards."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("journey", choices=sorted(journeys))
    parser.add_argument("--bin", required=True)
    parser.add_argument("--layout", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--device-tree-program")
    arguments = parser.parse_args()
    language, journey = journeys[arguments.journey]
    name = prefix + arguments.journey
    session = Session(name, arguments.bin, arguments.layout, arguments.work, language,
                      arguments.device_tree_program)
    undo = None
    failed = True
    try:
        if prepare is not None:
            undo = prepare(session)
        journey(session)
        failed = False
    except JourneyFailure as failure:
        print(f"journey {name} failed: {failure}")
    finally:
        session.finish(failed)
        if undo is not None:
            undo()
    if not failed:
        print(f"journey {name} passed")
    return 1 if failed else 0
