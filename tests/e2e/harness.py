"""Runs the real program on a real X server, for the end-to-end tests and the README's
screenshots: Xvfb with openbox, which keeps a task bar's strip free at the bottom. Windows are
listed and closed with wmctrl and read with xprop and xwininfo; clicks are XTEST (xdotool); the
screen is read back with ImageMagick's import."""

import collections
import contextlib
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SCREEN, TASK_BAR, WORK_AREA = (1024, 768), 30, (0, 0, 1024, 738)

# Client pixel rectangles (x, y, w, h) of what the tests and the screenshots press.
CONTROL_SIZE = (41, 241)
CONTROL = {name: (0, top, 41, bottom - top) for name, (top, bottom) in {
    "show1": (0, 33), "next1": (32, 49), "prev1": (48, 65), "show12": (72, 105),
    "next12": (104, 121), "prev12": (120, 137), "sld": (144, 177), "nextsld": (176, 193),
    "prevsld": (192, 209), "brksld": (208, 241)}.items()}
FIRST_FILE = (184, 32, 60, 18)  # the file list of the picture chooser and the slideshow setup
PICTURE_OPEN = (344, 248, 97, 25)  # "開く", picture chooser
PICTURE_FIT = (338, 216, 17, 12)  # "画面にフィット", picture chooser
TWELVE_SHOW = (200, 256, 121, 25)  # "１２枚ずつ表示", folder chooser
SLIDES_START = (344, 248, 105, 25)  # "スライドショー", slideshow setup

CHOOSER_CAPTION = " Orlin-Tessary"
VIEWER_CAPTION = " Orlin-Tessary     クリック→閉じる   Enter→次画像   Backspace→前画像   "
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", ": runtime error: ")


def run(*args, check=True, timeout=30, stdin=None):
    """Runs a tool and returns its standard output (bytes)."""
    done = subprocess.run(args, input=stdin, capture_output=True, timeout=timeout)
    if check and done.returncode != 0:
        raise AssertionError("%s: status %d: %s" % (" ".join(args), done.returncode, (
            done.stdout + done.stderr).decode(errors="replace")))
    return done.stdout


def text(*args):
    return run(*args, check=False).decode(errors="replace")


def wait_until(probe, what, timeout=20, interval=0.05):
    """Calls probe() until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while not (result := probe()):
        if time.monotonic() > deadline:
            raise AssertionError("waited %s s in vain for %s" % (timeout, what))
        time.sleep(interval)
    return result


def kill(processes):
    for process in processes:
        if process.poll() is None:
            process.kill()
            process.wait()


@contextlib.contextmanager
def session():
    """Runs what it holds on a private X server with openbox, DISPLAY set. (A compositor with an
    X server of its own, weston --xwayland, would take the place of both.)"""
    folder, servers = tempfile.mkdtemp(prefix="tessary-x-"), []
    with open(folder + "/log", "wb") as log:
        try:
            read, write = os.pipe()  # Xvfb writes its display number there once it is ready
            servers.append(subprocess.Popen(
                ["Xvfb", "-displayfd", str(write), "-screen", "0", "%dx%dx24" % SCREEN,
                 "-nolisten", "tcp", "-noreset"], pass_fds=(write,), stdout=log, stderr=log))
            os.close(write)
            with os.fdopen(read) as pipe:
                os.environ["DISPLAY"] = ":" + pipe.readline().strip()
            os.environ.pop("WAYLAND_DISPLAY", None)
            with open("/etc/xdg/openbox/rc.xml") as system, open(folder + "/rc.xml", "w") as rc:
                rc.write(re.sub(r"(<margins>.*?<bottom>)\d*", r"\g<1>%d" % TASK_BAR,
                                system.read(), count=1, flags=re.S))
            servers.append(subprocess.Popen(
                ["openbox", "--config-file", folder + "/rc.xml", "--sm-disable"], stdout=log,
                stderr=log, env=dict(os.environ, HOME=folder, XDG_CONFIG_HOME=folder)))
            wait_until(lambda: "=" in text("xprop", "-root", "_NET_WORKAREA"),
                       "Xvfb and openbox (%s/log)" % folder, timeout=10)
            yield
        finally:
            kill(reversed(servers))
            shutil.rmtree(folder, ignore_errors=True)


Window = collections.namedtuple("Window", "id pid size caption")


def managed():
    """The windows on screen that openbox manages, in the order they were mapped."""
    found = re.findall(r"^0x(\w+) +-?\d+ +(\d+) +-?\d+ +-?\d+ +(\d+) +(\d+) +\S+ ?(.*)$",
                       text("wmctrl", "-lpG"), re.M)
    return [Window(int(w, 16), int(p), (int(x), int(y)), c) for w, p, x, y, c in found]


def names(wid):
    """{property: text} of those of WM_NAME and _NET_WM_NAME that the window has."""
    out = text("xprop", "-id", str(wid), "-notype", "-f", "WM_NAME", "8c", "-f",
               "_NET_WM_NAME", "8c", "WM_NAME", "_NET_WM_NAME")
    return {name: bytes(int(v) for v in values.split(",") if v.strip()).decode(errors="replace")
            for name, values in re.findall(r"^(\w+) = ?([\d, ]*)$", out, re.M)}


def state(wid):
    return set(re.findall(r"_NET_WM_STATE_\w+", text("xprop", "-id", str(wid), "_NET_WM_STATE")))


def stacking():
    """The managed windows from bottom to top."""
    out = text("xprop", "-root", "_NET_CLIENT_LIST_STACKING")
    return [int(v, 16) for v in re.findall(r"0x[0-9a-f]+", out)]


def geometry(wid, frame=False):
    """(x, y, w, h) on screen of the client area, or with frame=True of the frame around it."""
    out = text("xwininfo", "-id", str(wid))
    x, y, w, h = (int(re.search(label + r":\s+(-?\d+)", out).group(1)) for label in (
        "Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))
    extents = re.findall(r"\d+", text("xprop", "-id", str(wid), "_NET_FRAME_EXTENTS"))
    left, right, top, bottom = map(int, extents) if frame and extents else (0, 0, 0, 0)
    return x - left, y - top, w + left + right, h + top + bottom


def close(wid):
    """As the frame's close button does: openbox asks the window to close."""
    run("wmctrl", "-i", "-c", str(wid))


def click(wid, rect):
    """Clicks the middle of a rectangle (x, y, w, h) of a window's client area."""
    x, y = rect[0] + rect[2] // 2, rect[1] + rect[3] // 2
    run("xdotool", "mousemove", "--window", str(wid), str(x), str(y), "click", "1")


class Grab:
    """The colours of a rectangle (x, y, w, h) of the screen, all of it by default, as they are
    now (a grab takes about 0.1 s)."""

    def __init__(self, rect=None):
        x, y, w, h = rect or (0, 0) + SCREEN
        self.ppm = run("import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                       "-depth", "8", "ppm:-")
        self.origin, self.width = (x, y), w
        self.start = re.match(rb"P6\s+\d+\s+\d+\s+255\s", self.ppm).end()

    def pixel(self, x, y):
        """The colour at screen position x, y."""
        at = self.start + 3 * ((y - self.origin[1]) * self.width + x - self.origin[0])
        return tuple(self.ppm[at:at + 3])

    def save(self, path):
        run("convert", "ppm:-", "png:" + path, stdin=self.ppm)


def settings(folder1, folder12, folder_sld, interval, repeat, random, fit):
    """Tessary.ini as the program writes it: each folder with its closing separator, an extra
    LF on every line but the interval's, CR LF line ends."""
    lines = [os.path.join(f, "").encode() for f in (folder1, folder12, folder_sld)]
    lines += [interval.encode()] + [b"%d" % v for v in (repeat, random, fit)]
    return b"".join(line + (b"\r\n" if i == 3 else b"\n\r\n") for i, line in enumerate(lines))


class Tessary:
    """Runs of the program with a fresh home folder: a copy of the built executable in a folder
    of its own, where it keeps Tessary.ini, or an installed one (installed=path). user: the
    (uid, gid) to run as; read_only: the program's folder cannot be written."""

    def __init__(self, installed=None, user=None, read_only=False):
        self.root = os.path.realpath(tempfile.mkdtemp(prefix="tessary-e2e-"))
        os.chmod(self.root, 0o755)  # for a user other than the tests' too
        self.home, self.log = self.root + "/home", self.root + "/log"
        self.runtime = self.root + "/runtime"  # XDG_RUNTIME_DIR, where local sockets go
        self.program = installed or self.root + "/program/tessary"
        self.folder_of_program = os.path.dirname(self.program)
        self.user, self.read_only, self.processes = user, read_only, []
        os.makedirs(self.home)
        os.makedirs(self.runtime, 0o700)
        if not installed:
            os.makedirs(self.folder_of_program)
            shutil.copy2(os.environ["TESSARY_BINARY"], self.program)
            os.chmod(self.folder_of_program, 0o555 if read_only else 0o755)
        self.settings_path = (self.home + "/.config/tessary" if installed or read_only
                              else self.folder_of_program) + "/Tessary.ini"

    def folder(self, name, pictures):
        """A folder of one-colour BMPs, given as (file name, (w, h), (r, g, b))."""
        os.makedirs(os.path.join(self.root, name))
        for file_name, size, colour in pictures:
            run("convert", "-size", "%dx%d" % size, "xc:rgb%r" % (colour,), "-type", "TrueColor",
                "BMP3:" + os.path.join(self.root, name, file_name))
        return os.path.join(self.root, name)

    def write_settings(self, data):
        os.makedirs(os.path.dirname(self.settings_path), exist_ok=True)
        with open(self.settings_path, "wb") as f:
            f.write(data)

    def read_settings(self):
        with open(self.settings_path, "rb") as f:
            return f.read()

    def start(self, *args, env=None):
        """Starts the program (again), with arguments and environment variables of its own."""
        clean = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "XDG_", "LC_"))}
        clean.update(HOME=self.home, XDG_RUNTIME_DIR=self.runtime, LANG="C.UTF-8",
                     QT_QPA_PLATFORM="xcb", **(env or {}))
        command = [self.program, *args]
        if self.user:
            run("chown", "-R", "%d:%d" % self.user, self.home, self.runtime)
            command = ["setpriv", "--reuid=%d" % self.user[0], "--regid=%d" % self.user[1],
                       "--clear-groups", "--"] + command
        with open(self.log, "ab") as log:
            self.processes.append(subprocess.Popen(command, cwd=self.home, env=clean, stdout=log,
                                                   stderr=log, stdin=subprocess.DEVNULL))
        return self

    def windows(self):
        """The managed windows on screen of every run that this object started."""
        return [w for w in managed() if w.pid in {p.pid for p in self.processes}]

    def wait_window(self, test, what):
        """The first window of windows() for which test(window) holds, once there is one."""
        def probe():
            if all(p.poll() is not None for p in self.processes):
                raise AssertionError("the program ended while waiting for " + what)
            return next((w.id for w in self.windows() if test(w)), None)
        return wait_until(probe, what)

    def control(self):
        return self.wait_window(lambda w: w.size == CONTROL_SIZE, "the control window")

    def captioned(self, caption, exclude=()):
        return self.wait_window(lambda w: w.id not in exclude and w.caption == caption,
                                repr(caption))

    def wait_exit(self, process=-1):
        return self.processes[process].wait(20)

    def output(self):
        with open(self.log, errors="replace") as f:
            return f.read()

    def __enter__(self):
        return self

    def __exit__(self, failed, *_):
        """Ends what still runs. A failure shows the windows, the screen (in the folder
        TESSARY_SCREENSHOTS) and the output, and keeps the files; so does a sanitizer's report,
        which fails the test."""
        if failed:
            print("windows:", *self.windows(), sep="\n", file=sys.stderr)
            if folder := os.environ.get("TESSARY_SCREENSHOTS"):
                os.makedirs(folder, exist_ok=True)
                Grab().save(os.path.join(folder, "failure.png"))
        kill(self.processes)
        if self.read_only:
            os.chmod(self.folder_of_program, 0o755)
        output = self.output() if self.processes else ""
        findings = [line for line in output.splitlines() if any(m in line for m in SANITIZER_MARKS)]
        if failed or findings:
            print("output of the program:\n%s\nits files: %s" % (output, self.root), file=sys.stderr)
        else:
            shutil.rmtree(self.root, ignore_errors=True)
        if findings and not failed:
            raise AssertionError("sanitizer reports:\n" + "\n".join(findings))


def main():
    """Runs the calling script's test cases in one X session."""
    import unittest
    signal.signal(signal.SIGTERM, signal.default_int_handler)  # so that clean-ups run
    with session():
        result = unittest.main(module="__main__", verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())
