"""Drives the real Tessary executable in a real X server, for the end-to-end tests.

The tests run under run_under_xvfb.sh, which provides DISPLAY (Xvfb with openbox). Everything
here goes through the X server the way a user's desktop would: the windows are found by the
program's process id, captions and states are read from the window properties, clicks and keys
are real input events (xdotool, XTEST), pictures are read back from the screen (ImageMagick's
`import`), and a window is closed through the window manager, as its close button does.

Only the Python standard library is used, plus the command-line tools xdotool, xprop, xwininfo
and import.
"""

import ctypes
import ctypes.util
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib

# Captions the program gives its windows.
CHOOSER_CAPTION = " Orlin-Tessary"
VIEWER_CAPTION = " Orlin-Tessary     クリック→閉じる   Enter→次画像   Backspace→前画像   "

# Control window buttons: client x range 0..41, y ranges (top, bottom) in client pixels.
CONTROL_SIZE = (41, 241)
CONTROL_BUTTONS = {
    "show1": (0, 33), "next1": (32, 49), "prev1": (48, 65),
    "show12": (72, 105), "next12": (104, 121), "prev12": (120, 137),
    "sld": (144, 177), "nextsld": (176, 193), "prevsld": (192, 209),
    "brksld": (208, 241),
}

# Extra height the program keeps free at the bottom of the work area for the viewer's box.
WORK_BOTTOM_ALLOWANCE = 16

DEFAULT_TIMEOUT = 20.0
COMMAND_TIMEOUT = 30.0


class HarnessError(AssertionError):
    """A step of a test could not be carried out, or a wait ran out."""


# ---------------------------------------------------------------------------------------------
# Running tools

def run(args, timeout=COMMAND_TIMEOUT, check=True, binary=False):
    """Runs a tool and returns its standard output (text unless binary)."""
    try:
        done = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              timeout=timeout, check=False)
    except subprocess.TimeoutExpired as error:
        raise HarnessError("%s did not finish within %s s" % (" ".join(args), timeout)) from error
    if check and done.returncode != 0:
        raise HarnessError("%s failed with status %d: %s" % (
            " ".join(args), done.returncode, done.stderr.decode("utf-8", "replace").strip()))
    if binary:
        return done.stdout
    return done.stdout.decode("utf-8", "replace")


# The first line of a report by AddressSanitizer, LeakSanitizer or UndefinedBehaviorSanitizer.
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", ": runtime error: ")


def wait_until(probe, timeout=DEFAULT_TIMEOUT, what="a condition", interval=0.05):
    """Calls probe() until it returns something truthy, and returns that. Raises HarnessError,
    naming what was awaited and the last value seen, when the time runs out."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = probe()
        if last:
            return last
        if time.monotonic() >= deadline:
            raise HarnessError("timed out after %.0f s waiting for %s (last seen: %r)"
                               % (timeout, what, last))
        time.sleep(interval)


def settled(probe, timeout=DEFAULT_TIMEOUT, what="a steady state"):
    """Calls probe() until two results in a row are equal, and returns that result."""
    previous = [object()]

    def same():
        now = probe()
        steady = now == previous[0]
        previous[0] = now
        return steady
    wait_until(same, timeout, what, interval=0.1)
    return previous[0]


def holds_for(probe, duration, interval=0.1):
    """True when probe() stays truthy for the whole duration (used to see that nothing
    happens); returns False at the first falsy result."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if not probe():
            return False
        time.sleep(interval)
    return bool(probe())


# ---------------------------------------------------------------------------------------------
# Window properties

def _property_bytes(wid, name):
    """The raw bytes of an 8-bit property, or None when the window lacks it or is gone."""
    out = run(["xprop", "-id", str(wid), "-notype", "-f", name, "8c", name], check=False)
    line = out.strip()
    if "=" not in line:
        return None
    values = line.split("=", 1)[1].strip()
    if not values:
        return b""
    try:
        return bytes(int(v) for v in values.split(","))
    except ValueError:
        return None


def net_wm_name(wid):
    """The window's _NET_WM_NAME (UTF-8), or None when it has none."""
    raw = _property_bytes(wid, "_NET_WM_NAME")
    return None if raw is None else raw.decode("utf-8", "replace")


def wm_name(wid):
    """The window's WM_NAME (ICCCM, Latin-1 STRING or UTF-8), or None."""
    raw = _property_bytes(wid, "WM_NAME")
    if raw is None:
        return None
    try:
        return raw.decode("utf-8")
    except UnicodeDecodeError:
        return raw.decode("latin-1")


def caption(wid):
    """The caption a window asks for: _NET_WM_NAME, else WM_NAME; '' when neither is set."""
    name = net_wm_name(wid)
    if name is None:
        name = wm_name(wid)
    return name or ""


def net_wm_state(wid):
    """The set of _NET_WM_STATE atoms of a window."""
    out = run(["xprop", "-id", str(wid), "_NET_WM_STATE"], check=False)
    if "=" not in out:
        return set()
    return {a.strip() for a in out.split("=", 1)[1].split(",") if a.strip()}


def _cardinals(wid_args, name):
    out = run(["xprop"] + wid_args + [name], check=False)
    if "=" not in out:
        return None
    try:
        return [int(v) for v in out.split("=", 1)[1].split(",")]
    except ValueError:
        return None


def work_area():
    """The desktop's work area as (left, top, width, height), from _NET_WORKAREA."""
    values = _cardinals(["-root"], "_NET_WORKAREA")
    if not values or len(values) < 4:
        raise HarnessError("the root window has no _NET_WORKAREA")
    return tuple(values[:4])


def screen_size():
    out = run(["xwininfo", "-root"])
    return _field(out, "Width"), _field(out, "Height")


def stacking_order():
    """Client windows from bottom to top, as the window manager stacks them."""
    out = run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"], check=False)
    if "#" not in out:
        return []
    return [int(v.strip(), 16) for v in out.split("#", 1)[1].split(",") if v.strip()]


def frame_extents(wid):
    """(left, right, top, bottom) of the window manager's frame around a client."""
    values = _cardinals(["-id", str(wid)], "_NET_FRAME_EXTENTS")
    return tuple(values[:4]) if values and len(values) >= 4 else (0, 0, 0, 0)


def _field(text, label):
    for line in text.splitlines():
        line = line.strip()
        if line.startswith(label + ":"):
            return int(line.split(":", 1)[1].split()[0])
    raise HarnessError("xwininfo gave no %r" % label)


def geometry(wid):
    """The client area of a window on screen: (x, y, width, height), x and y absolute."""
    out = run(["xwininfo", "-id", str(wid)])
    return (_field(out, "Absolute upper-left X"), _field(out, "Absolute upper-left Y"),
            _field(out, "Width"), _field(out, "Height"))


def frame_rect(wid):
    """The window's outer rectangle including the frame: (x, y, width, height)."""
    x, y, w, h = geometry(wid)
    left, right, top, bottom = frame_extents(wid)
    return x - left, y - top, w + left + right, h + top + bottom


def is_viewable(wid):
    out = run(["xwininfo", "-id", str(wid)], check=False)
    return "Map State: IsViewable" in out


# ---------------------------------------------------------------------------------------------
# Input

def pointer():
    """Where the pointer is on the screen: (x, y)."""
    out = run(["xdotool", "getmouselocation", "--shell"])
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["X"]), int(values["Y"])


def move_pointer(wid, x, y):
    """Moves the pointer (XTEST) to client position x, y of a window."""
    left, top, _, _ = geometry(wid)
    target = (left + x, top + y)
    # (xdotool's own --sync waits forever when the pointer is already there.)
    run(["xdotool", "mousemove", "--window", str(wid), str(x), str(y)])
    wait_until(lambda: pointer() == target, what="the pointer to reach %r" % (target,))


def click(wid, x, y, button=1):
    """A real click (XTEST) at client position x, y of a window."""
    move_pointer(wid, x, y)
    run(["xdotool", "click", str(button)])


def control_button_centre(name):
    top, bottom = CONTROL_BUTTONS[name]
    return CONTROL_SIZE[0] // 2, (top + bottom) // 2


def click_control_button(control_wid, name):
    click(control_wid, *control_button_centre(name))


def activate(wid, timeout=DEFAULT_TIMEOUT):
    """Asks the window manager to activate a window and waits until it has the focus."""
    run(["xdotool", "windowactivate", "--sync", str(wid)], timeout=timeout, check=False)

    def focused():
        out = run(["xdotool", "getwindowfocus"], check=False).strip()
        return out.isdigit() and int(out) == wid
    wait_until(focused, timeout, "window %d to take the focus" % wid)


def key(wid, keysym):
    """Presses and releases a key (XTEST) with the window activated."""
    activate(wid)
    run(["xdotool", "key", "--clearmodifiers", keysym])


# ---------------------------------------------------------------------------------------------
# Closing a window as its close button does: the window manager is asked through
# _NET_CLOSE_WINDOW and sends WM_DELETE_WINDOW to the client.

class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


_xlib = None


def _x11():
    global _xlib
    if _xlib is None:
        name = ctypes.util.find_library("X11") or "libX11.so.6"
        lib = ctypes.CDLL(name)
        lib.XOpenDisplay.restype = ctypes.c_void_p
        lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        lib.XInternAtom.restype = ctypes.c_ulong
        lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        lib.XDefaultRootWindow.restype = ctypes.c_ulong
        lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        lib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                   ctypes.POINTER(_XEvent)]
        lib.XFlush.argtypes = [ctypes.c_void_p]
        lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        _xlib = lib
    return _xlib


def close_window(wid):
    """Closes a window through the window manager, like a click on its frame's close button."""
    lib = _x11()
    display = lib.XOpenDisplay(None)
    if not display:
        raise HarnessError("cannot open the X display %r" % os.environ.get("DISPLAY"))
    try:
        event = _XEvent()
        message = event.xclient
        message.type = 33  # ClientMessage
        message.send_event = 1
        message.display = display
        message.window = wid
        message.message_type = lib.XInternAtom(display, b"_NET_CLOSE_WINDOW", 0)
        message.format = 32
        message.data[0] = 0  # CurrentTime
        message.data[1] = 2  # source: a pager or the user's direct action
        root = lib.XDefaultRootWindow(display)
        substructure = (1 << 19) | (1 << 20)  # SubstructureNotify | SubstructureRedirect
        lib.XSendEvent(display, root, 0, substructure, ctypes.byref(event))
        lib.XFlush(display)
    finally:
        lib.XCloseDisplay(display)


# ---------------------------------------------------------------------------------------------
# Screen contents

class Image:
    """An RGB picture read back from the screen."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]

    def crop(self, x, y, w, h):
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(self.width, x + w), min(self.height, y + h)
        rows = [self.rgb[(r * self.width + x0) * 3:(r * self.width + x1) * 3]
                for r in range(y0, y1)]
        return Image(max(0, x1 - x0), max(0, y1 - y0), b"".join(rows))

    def bounds_of(self, colour, tolerance=8, region=None):
        """The smallest rectangle (x, y, w, h) holding every pixel within tolerance of colour,
        searched in region (x, y, w, h) or everywhere; None when there is none."""
        rx, ry, rw, rh = region or (0, 0, self.width, self.height)
        rx0, ry0 = max(0, rx), max(0, ry)
        rx1, ry1 = min(self.width, rx + rw), min(self.height, ry + rh)
        r, g, b = colour
        left = top = right = bottom = None
        stride = self.width * 3
        for y in range(ry0, ry1):
            row = self.rgb[y * stride + rx0 * 3:y * stride + rx1 * 3]
            first = last = None
            for i in range(0, len(row), 3):
                if (abs(row[i] - r) <= tolerance and abs(row[i + 1] - g) <= tolerance
                        and abs(row[i + 2] - b) <= tolerance):
                    if first is None:
                        first = i // 3
                    last = i // 3
            if first is None:
                continue
            first += rx0
            last += rx0
            left = first if left is None else min(left, first)
            right = last if right is None else max(right, last)
            top = y if top is None else top
            bottom = y
        if left is None:
            return None
        return left, top, right - left + 1, bottom - top + 1

    def png_bytes(self):
        raw = b"".join(b"\x00" + self.rgb[y * self.width * 3:(y + 1) * self.width * 3]
                       for y in range(self.height))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))

    def save_png(self, path):
        with open(path, "wb") as f:
            f.write(self.png_bytes())


def _parse_ppm(data):
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1  # the single blank after the maximum value
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise HarnessError("unexpected screen capture format %r" % fields[:4])
    width, height = int(fields[1]), int(fields[2])
    rgb = data[pos:pos + width * height * 3]
    if len(rgb) != width * height * 3:
        raise HarnessError("short screen capture")
    return Image(width, height, rgb)


def screenshot():
    """The whole screen as it is now."""
    return _parse_ppm(run(["import", "-window", "root", "-depth", "8", "ppm:-"], binary=True))


def save_screenshot(image, name):
    """Saves a PNG for people to look at in the folder TESSARY_SCREENSHOTS, when it is set."""
    folder = os.environ.get("TESSARY_SCREENSHOTS")
    if not folder:
        return None
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, name)
    image.save_png(path)
    print("screenshot saved: %s" % path)
    return path


# ---------------------------------------------------------------------------------------------
# Picture files

def write_bmp(path, width, height, colour):
    """Writes a 24-bit BMP of one colour (r, g, b), or of colour(x, y) when colour is callable."""
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up
        if callable(colour):
            row = bytearray()
            for x in range(width):
                r, g, b = colour(x, y)
                row += bytes((b, g, r))
        else:
            r, g, b = colour
            row = bytearray(bytes((b, g, r)) * width)
        row += b"\x00" * (row_bytes - width * 3)
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)
    return path


def folder_line(path):
    """A folder line of Tessary.ini as the program writes it."""
    path = path if path.endswith("/") else path + "/"
    return path.encode("utf-8") + b"\n\r\n"


def settings_bytes(folder1, folder12, folder_sld, interval, repeat, random, fit):
    return (folder_line(folder1) + folder_line(folder12) + folder_line(folder_sld)
            + interval.encode("utf-8") + b"\r\n"
            + b"".join(b"%d\n\r\n" % v for v in (repeat, random, fit)))


# ---------------------------------------------------------------------------------------------
# The program

class Tessary:
    """One run of the real executable, copied into a fresh folder of its own (it keeps
    Tessary.ini beside itself), or an installed one, with a fresh home folder.

        with Tessary() as app:          # starts the program; stops it and cleans up after,
            control = app.wait_for_control_window()   # describing the windows on a failure
    """

    def __init__(self, settings=None, installed=None, user=None, read_only=False):
        """installed: an installed executable run where it is, whose settings go to the home
        folder's ~/.config/tessary; user: (uid, gid) to run as, when the tests run as root;
        read_only: the program's folder cannot be written by the program's user."""
        binary = installed or os.environ.get("TESSARY_BINARY")
        if not binary or not os.path.isfile(binary):
            raise HarnessError("TESSARY_BINARY must name the built tessary executable (got %r)"
                               % binary)
        if not os.environ.get("DISPLAY"):
            raise HarnessError("no DISPLAY: run the test under tests/e2e/run_under_xvfb.sh")
        self.root = os.path.realpath(tempfile.mkdtemp(prefix="tessary-e2e-"))
        self.program_folder = os.path.join(self.root, "program")
        self.home = os.path.join(self.root, "home")
        self.runtime = os.path.join(self.root, "runtime")
        for folder in (self.program_folder, self.home, self.runtime):
            os.makedirs(folder)
        os.chmod(self.runtime, 0o700)
        self.user = user
        if user is not None:
            os.chmod(self.root, 0o755)
            for folder in (self.home, self.runtime):
                os.chown(folder, *user)
        if installed:
            self.executable = installed
        else:
            self.executable = os.path.join(self.program_folder, "tessary")
            shutil.copy2(binary, self.executable)
        if read_only:
            os.chmod(self.program_folder, 0o555)
        beside = not installed and not read_only
        self.settings_path = (os.path.join(self.program_folder, "Tessary.ini") if beside else
                              os.path.join(self.home, ".config", "tessary", "Tessary.ini"))
        if settings is not None:
            self.write_settings(settings)
        if settings is not None:
            with open(self.settings_path, "wb") as f:
                f.write(settings)
        self.process = None
        self.failed = False
        self.log_path = os.path.join(self.root, "tessary.log")
        self._log = None

    def folder(self, relative):
        """Makes a folder inside the run's temporary root and returns its path."""
        path = os.path.join(self.root, relative)
        os.makedirs(path, exist_ok=True)
        return path

    def folder_of_pictures(self, relative, pictures):
        """A folder of solid-colour BMPs, given as (name, (width, height), colour)."""
        path = self.folder(relative)
        for name, (width, height), colour in pictures:
            write_bmp(os.path.join(path, name), width, height, colour)
        return path

    def write_settings(self, data):
        os.makedirs(os.path.dirname(self.settings_path), exist_ok=True)
        with open(self.settings_path, "wb") as f:
            f.write(data)
        if self.user is not None:
            for path in (os.path.dirname(os.path.dirname(self.settings_path)),
                         os.path.dirname(self.settings_path), self.settings_path):
                if path.startswith(self.home):
                    os.chown(path, *self.user)

    def read_settings(self):
        with open(self.settings_path, "rb") as f:
            return f.read()

    # -- process -----------------------------------------------------------------------------

    def start(self):
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "XDG_"))
               and k not in ("WAYLAND_DISPLAY", "LC_ALL", "LANGUAGE")}
        env.update(HOME=self.home, XDG_RUNTIME_DIR=self.runtime, QT_QPA_PLATFORM="xcb",
                   LANG="C.UTF-8", LC_ALL="C.UTF-8")
        self._log = open(self.log_path, "wb")
        command = [self.executable]
        if self.user is not None:
            command = ["setpriv", "--reuid=%d" % self.user[0], "--regid=%d" % self.user[1],
                       "--clear-groups", "--"] + command
        self.process = subprocess.Popen(command, cwd=self.root, env=env,
                                        stdin=subprocess.DEVNULL, stdout=self._log,
                                        stderr=subprocess.STDOUT)
        return self

    @property
    def pid(self):
        return self.process.pid

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_exit(self, timeout=DEFAULT_TIMEOUT):
        """Waits for the program to end by itself and returns its exit status."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired as error:
            raise HarnessError("the program did not end within %s s" % timeout) from error

    def stop(self):
        """Ends the program if it still runs (only the process this object started)."""
        if self.process is None:
            return
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(5)
        if self._log:
            self._log.close()
            self._log = None

    def log(self):
        try:
            with open(self.log_path, "rb") as f:
                return f.read().decode("utf-8", "replace")
        except OSError:
            return ""

    def __enter__(self):
        return self.start()

    def __exit__(self, kind, value, traceback):
        if kind is not None:
            self.failed = True
            self.report_failure()
        self.close()
        return False

    def close(self):
        """Ends the program if it still runs and removes the run's folder, which is kept when
        the run failed or TESSARY_E2E_KEEP is set. A sanitizer's report in the program's output
        (the sanitizer build) fails the test."""
        self.stop()
        if os.path.isdir(self.program_folder):
            os.chmod(self.program_folder, 0o755)
        findings = [line for line in self.log().splitlines()
                    if any(mark in line for mark in SANITIZER_MARKS)]
        if findings:
            self.failed = True
        if self.failed or os.environ.get("TESSARY_E2E_KEEP"):
            if os.path.isdir(self.root):
                print("the run's files are kept in %s" % self.root, file=sys.stderr)
        else:
            shutil.rmtree(self.root, ignore_errors=True)
        if findings:
            raise HarnessError("the sanitizers report faults of the program (its output is in "
                               "%s):\n%s" % (self.log_path, "\n".join(findings)))

    def report_failure(self):
        """Prints what helps to see why a test failed: the windows, the program's output and,
        with TESSARY_SCREENSHOTS, a picture of the screen."""
        try:
            print("windows of the program at the failure:", file=sys.stderr)
            for wid in self.windows(only_visible=False):
                print("  %d viewable=%s caption=%r state=%s" % (
                    wid, is_viewable(wid), caption(wid), sorted(net_wm_state(wid))),
                    file=sys.stderr)
            save_screenshot(screenshot(), "failure-%s.png" % os.path.basename(sys.argv[0]))
        except Exception as error:  # the report must not hide the failure itself
            print("(could not describe the windows: %s)" % error, file=sys.stderr)
        output = self.log().strip()
        if output:
            print("program output:\n" + output, file=sys.stderr)

    # -- windows -----------------------------------------------------------------------------

    def windows(self, only_visible=True):
        """The program's top-level windows known to the X server (mapped ones by default)."""
        args = ["xdotool", "search"] + (["--onlyvisible"] if only_visible else []) + \
               ["--pid", str(self.pid)]
        out = run(args, check=False)
        return [int(line) for line in out.split() if line.isdigit()]

    def managed(self, wid):
        """True once the window manager has taken the window on (it sets WM_STATE)."""
        out = run(["xprop", "-id", str(wid), "WM_STATE"], check=False)
        return "window state: Normal" in out

    def wait_for_window(self, predicate, what, timeout=DEFAULT_TIMEOUT):
        """Waits for a mapped, managed window of the program for which predicate(wid) holds."""
        def probe():
            if not self.running():
                raise HarnessError("the program ended (status %s) while waiting for %s"
                                   % (self.process.returncode, what))
            for wid in self.windows():
                if self.managed(wid) and predicate(wid):
                    return wid
            return None
        return wait_until(probe, timeout, what)

    def wait_for_control_window(self, timeout=DEFAULT_TIMEOUT):
        def is_control(wid):
            return geometry(wid)[2:] == CONTROL_SIZE
        return self.wait_for_window(is_control, "the control window", timeout)

    def wait_for_caption(self, text, timeout=DEFAULT_TIMEOUT, exclude=()):
        return self.wait_for_window(lambda wid: wid not in exclude and caption(wid) == text,
                                    "a window with caption %r" % text, timeout)

    def wait_hidden(self, wid, timeout=DEFAULT_TIMEOUT):
        wait_until(lambda: wid not in self.windows(), timeout, "window %d to be unmapped" % wid)
