# SPDX-License-Identifier: GPL-3.0-or-later
"""A private Xvfb and what the journeys need from X: windows, input, screenshots.

Input goes through XTEST (xdotool), as a user's would; the two window-manager messages a
desktop sends (the close box and the "is it responding?" ping) go through libX11 directly,
because Xvfb runs without a window manager.
"""

import ctypes
import os
import select
import signal
import subprocess
import time

# Waits end as soon as their condition holds; the margin is for a loaded machine, where a
# start-up or a redraw can take many times as long as on a quiet one.
DEFAULT_DEADLINE = 30.0
# A list opens or closes at once for a user; the margin is for a loaded machine.
LIST_DEADLINE = 15.0
# A window that keeps a ping unanswered this long counts as frozen.
PING_DEADLINE = 5.0
POLL_INTERVAL = 0.05


class JourneyFailure(Exception):
    pass


def dies_with_parent():
    """Run in a child before it starts: a journey killed by its time-out takes its X server
    and programs with it."""
    ctypes.CDLL(None, use_errno=True).prctl(_PR_SET_PDEATHSIG, signal.SIGKILL)


_PR_SET_PDEATHSIG = 1


def wait_until(what, probe, deadline=DEFAULT_DEADLINE):
    """Polls probe until it returns something true; fails with what after deadline seconds."""
    end = time.monotonic() + deadline
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > end:
            raise JourneyFailure(f"timed out after {deadline:.0f} s waiting for {what}")
        time.sleep(POLL_INTERVAL)


class Image:
    """An 8-bit RGB screenshot of the root window."""

    def __init__(self, width, height, pixels):
        self.width = width
        self.height = height
        self.pixels = pixels

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.pixels[offset:offset + 3])


def parse_ppm(data):
    fields = []
    position = 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position) + 1
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise JourneyFailure("the screenshot is not an 8-bit PPM")
    width, height = int(fields[1]), int(fields[2])
    return Image(width, height, data[position + 1:position + 1 + width * height * 3])


class _ClientMessage(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
    ]


class _Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


_CLIENT_MESSAGE = 33
# Toolkits answer a ping on the root window with one of these two masks.
_ROOT_EVENT_MASK = (1 << 17) | (1 << 19)


class WindowManagerMessages:
    """The close box and the ping, as a window manager sends them."""

    def __init__(self, display_name):
        self._x = ctypes.CDLL("libX11.so.6")
        self._x.XOpenDisplay.restype = ctypes.c_void_p
        self._x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self._x.XInternAtom.restype = ctypes.c_ulong
        self._x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self._x.XDefaultRootWindow.restype = ctypes.c_ulong
        self._x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self._x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                       ctypes.c_long, ctypes.POINTER(_Event)]
        self._x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        self._x.XFlush.argtypes = [ctypes.c_void_p]
        self._x.XPending.argtypes = [ctypes.c_void_p]
        self._x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(_Event)]
        self._x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        self._x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._display = self._x.XOpenDisplay(display_name.encode())
        if not self._display:
            raise JourneyFailure(f"cannot open display {display_name}")
        self._root = self._x.XDefaultRootWindow(self._display)
        self._protocols = self._atom(b"WM_PROTOCOLS")
        self._delete = self._atom(b"WM_DELETE_WINDOW")
        self._ping = self._atom(b"_NET_WM_PING")
        self._x.XSelectInput(self._display, self._root, _ROOT_EVENT_MASK)
        self._stamp = 1000

    def _atom(self, name):
        return self._x.XInternAtom(self._display, name, 0)

    def _send(self, window, data):
        event = _Event()
        event.xclient.type = _CLIENT_MESSAGE
        event.xclient.window = window
        event.xclient.message_type = self._protocols
        event.xclient.format = 32
        for index, value in enumerate(data):
            event.xclient.data[index] = value
        self._x.XSendEvent(self._display, window, 0, 0, ctypes.byref(event))
        self._x.XFlush(self._display)

    def close_box(self, window):
        self._send(window, [self._delete, 0])

    def answers_ping(self, window, deadline):
        """True when the window's program answers a ping within deadline seconds."""
        self._stamp += 1
        self._send(window, [self._ping, self._stamp, window])
        end = time.monotonic() + deadline
        event = _Event()
        descriptor = self._x.XConnectionNumber(self._display)
        while True:
            while self._x.XPending(self._display):
                self._x.XNextEvent(self._display, ctypes.byref(event))
                message = event.xclient
                if (event.type == _CLIENT_MESSAGE and message.message_type == self._protocols
                        and message.data[0] == self._ping and message.data[1] == self._stamp):
                    return True
            left = end - time.monotonic()
            if left <= 0:
                return False
            select.select([descriptor], [], [], left)

    def close(self):
        self._x.XCloseDisplay(self._display)


class XServer:
    """Xvfb on the first free display, chosen by the server itself."""

    def __init__(self, log_path):
        read_end, write_end = os.pipe()
        self._log = open(log_path, "wb")
        self._process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=[write_end], stdout=self._log, stderr=subprocess.STDOUT,
            preexec_fn=dies_with_parent)
        os.close(write_end)
        number = b""
        end = time.monotonic() + DEFAULT_DEADLINE
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], max(0.0, end - time.monotonic()))
            chunk = os.read(read_end, 16) if ready else b""
            if not chunk:
                os.close(read_end)
                self.stop()
                raise JourneyFailure("Xvfb did not start (see xvfb.log)")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display)
        self.messages = WindowManagerMessages(self.display)

    def stop(self):
        if getattr(self, "messages", None):
            self.messages.close()
            self.messages = None
        if self._process.poll() is None:
            self._process.terminate()
            self._process.wait(timeout=DEFAULT_DEADLINE)
        self._log.close()

    def xdotool(self, *arguments):
        result = subprocess.run(["xdotool", *map(str, arguments)], env=self.env,
                                capture_output=True, text=True, timeout=DEFAULT_DEADLINE)
        return result.stdout

    def visible_windows(self):
        """The program's mapped windows, found by class: pop-up lists have no title."""
        output = self.xdotool("search", "--onlyvisible", "--class", ".")
        return [int(line) for line in output.split()]

    def geometry(self, window):
        values = {}
        for line in self.xdotool("getwindowgeometry", "--shell", window).splitlines():
            key, _, value = line.partition("=")
            values[key] = value
        if "WIDTH" not in values:
            return None
        return (int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"]))

    def window_name(self, window):
        return self.xdotool("getwindowname", window).rstrip("\n")

    def click(self, x, y, button=1):
        self.xdotool("mousemove", int(x), int(y))
        self.xdotool("click", button)

    def drag(self, start, end, steps=4):
        """Presses the left button at start and lets go at end, passing points between."""
        self.xdotool("mousemove", int(start[0]), int(start[1]))
        self.xdotool("mousedown", 1)
        for step in range(1, steps + 1):
            self.xdotool("mousemove", int(start[0] + (end[0] - start[0]) * step / steps),
                         int(start[1] + (end[1] - start[1]) * step / steps))
        self.xdotool("mouseup", 1)

    def key(self, *keys):
        self.xdotool("key", "--clearmodifiers", *keys)

    def type(self, text):
        self.xdotool("type", "--delay", 30, text)

    def focus(self, window):
        self.xdotool("windowfocus", window)

    def capture(self):
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                              env=self.env, capture_output=True, timeout=DEFAULT_DEADLINE).stdout
        return parse_ppm(data)

    def save_screenshot(self, path, window="root"):
        subprocess.run(["import", "-window", str(window), path], env=self.env,
                       capture_output=True, timeout=DEFAULT_DEADLINE)
