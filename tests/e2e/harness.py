"""The real program on a real X server (Xvfb; openbox keeps a task bar's strip free) for the e2e
tests and the screenshots: wmctrl, xprop, xwininfo, xdotool's clicks and ImageMagick's import."""

import collections, contextlib, os, re, shutil, signal, subprocess, sys, tempfile, time
from pathlib import Path

SCREEN, TASK_BAR, WORK_AREA = (1024, 768), 30, (0, 0, 1024, 738)

# Client pixel rectangles (x, y, w, h) of what the tests and the screenshots press.
CONTROL_SIZE = (41, 241)
CONTROL = {"show1": (0, 0, 41, 33), "show12": (0, 72, 41, 33), "sld": (0, 144, 41, 33)}
DRIVE_LIST = (8, 32, 169, 20)  # every chooser's
FIRST_FILE = (184, 32, 60, 18)  # the file list of the picture chooser and the slideshow setup
PICTURE_OPEN = (344, 248, 97, 25)  # "開く", picture chooser
SLIDES_START = (344, 248, 105, 25)  # "スライドショー", slideshow setup

CHOOSER_CAPTION = " Orlin-Tessary"
VIEWER_CAPTION = " Orlin-Tessary     クリック→閉じる   Enter→次画像   Backspace→前画像   "
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", ": runtime error: ")
Window = collections.namedtuple("Window", "id pid size caption")
QUIET = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def run(*args, check=True, timeout=30, stdin=None):
    done = subprocess.run(args, input=stdin, capture_output=True, timeout=timeout)
    if check and done.returncode != 0:
        raise AssertionError("%s: status %d: %s" % (" ".join(map(str, args)), done.returncode, (
            done.stdout + done.stderr).decode(errors="replace")))
    return done.stdout


def text(*args):
    return run(*args, check=False).decode(errors="replace")


def wait_until(probe, what, timeout=20, interval=0.05):
    """probe()'s first true result."""
    deadline = time.monotonic() + timeout
    while not (result := probe()):
        if time.monotonic() > deadline:
            raise AssertionError("waited %s s in vain for %s" % (timeout, what))
        time.sleep(interval)
    return result


def kill(processes):
    for process in processes:
        process.kill()  # nothing happens to one that has ended
        process.wait()


@contextlib.contextmanager
def session():
    """Runs what it holds on a private X server with openbox, DISPLAY set."""
    with tempfile.TemporaryDirectory() as folder:
        read, write = os.pipe()  # Xvfb writes its display number there once it is ready
        servers = [subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                     "%dx%d" % SCREEN + "x24", "-nolisten", "tcp", "-noreset"],
                                    pass_fds=(write,), **QUIET)]
        try:
            os.close(write)
            with os.fdopen(read) as pipe:
                os.environ["DISPLAY"] = ":" + pipe.readline().strip()
            rc = Path(folder, "rc.xml")
            rc.write_text(re.sub(r"(<margins>.*?<bottom>)\d*", r"\g<1>%d" % TASK_BAR, Path(
                "/etc/xdg/openbox/rc.xml").read_text(), count=1, flags=re.S))
            servers.append(subprocess.Popen(["openbox", "--config-file", rc, "--sm-disable"],
                                            env=dict(os.environ, HOME=folder), **QUIET))
            wait_until(lambda: "=" in text("xprop", "-root", "_NET_WORKAREA"), "openbox", 10)
            yield
        finally:
            kill(reversed(servers))


def managed():  # the windows on screen that openbox manages, in the order they were mapped
    found = re.findall(r"^0x(\w+) +-?\d+ +(\d+) +-?\d+ +-?\d+ +(\d+) +(\d+) +\S+ ?(.*)$",
                       text("wmctrl", "-lpG"), re.M)
    return [Window(int(w, 16), int(p), (int(x), int(y)), c) for w, p, x, y, c in found]


def shown(name):  # the window whose caption ends with name
    return wait_until(lambda: next((w.id for w in managed() if w.caption.endswith(name)), 0), name)


def stacking():  # the managed windows, bottom first
    return [int(w, 16) for w in re.findall(r"0x(\w+)", text(
        "xprop", "-root", "_NET_CLIENT_LIST_STACKING"))]


def geometry(wid):  # (x, y, w, h) of the client area on the screen
    out = text("xwininfo", "-id", str(wid))
    return tuple(int(re.search(label + r":\s+(-?\d+)", out).group(1)) for label in (
        "Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))


def click(wid, rect):  # the middle of a rectangle (x, y, w, h) of the client area
    x, y = rect[0] + rect[2] // 2, rect[1] + rect[3] // 2
    run("xdotool", "mousemove", "--window", str(wid), str(x), str(y), "click", "1")


class Grab:
    """The colours now of a rectangle (x, y, w, h) of the screen, by default all (0.1 s)."""

    def __init__(self, rect=None):
        self.x, self.y, self.w, h = rect or (0, 0) + SCREEN
        self.ppm = run("import", "-window", "root", "-crop", "%dx%d+%d+%d" % (
            self.w, h, self.x, self.y), "-depth", "8", "ppm:-")
        self.start = re.match(rb"P6\s+\d+\s+\d+\s+255\s", self.ppm).end()

    def pixel(self, x, y):  # x, y on the screen
        at = self.start + 3 * ((y - self.y) * self.w + x - self.x)
        return tuple(self.ppm[at:at + 3])


def settings(folder1, folder12, folder_sld, interval, repeat, random, fit):
    """Tessary.ini as the program writes it: an extra LF on all lines but the interval's."""
    lines = [os.path.join(f, "").encode() for f in (folder1, folder12, folder_sld)]
    lines += [interval.encode()] + [b"%d" % v for v in (repeat, random, fit)]
    return b"".join(line + (b"\r\n" if i == 3 else b"\n\r\n") for i, line in enumerate(lines))


def package(folder):  # the .deb CPack builds, in folder
    run("cpack", "-G", "DEB", "--config", os.environ["TESSARY_BUILD_DIR"] + "/CPackConfig.cmake",
        "-B", folder, timeout=120)
    return next(Path(folder).glob("tessary_*.deb"))


class Tessary(contextlib.AbstractContextManager):
    """Runs of the program with a fresh home, by default of a copy in a folder of its own (where
    it keeps Tessary.ini)."""

    def __init__(self, installed=None):
        self.root = Path(tempfile.mkdtemp(prefix="tessary-e2e-")).resolve()
        self.home, self.runtime, self.log = (self.root / n for n in ("home", "runtime", "log"))
        self.program = Path(installed or self.root / "program/tessary")
        self.processes = []
        self.home.mkdir()
        self.runtime.mkdir(0o700)  # XDG_RUNTIME_DIR, where local sockets go
        self.log.touch()
        if not installed:
            self.program.parent.mkdir()
            shutil.copy2(os.environ["TESSARY_BINARY"], self.program)
        self.ini = (self.home / ".config/tessary" if installed else
                    self.program.parent) / "Tessary.ini"

    def folder(self, name, pictures):
        """A folder of one-colour BMPs, given as (file name, (w, h), (r, g, b))."""
        (self.root / name).mkdir(exist_ok=True)
        for file_name, size, colour in pictures:
            run("convert", "-size", "%dx%d" % size, "xc:rgb%r" % (colour,), "-type", "TrueColor",
                "BMP3:%s" % (self.root / name / file_name))
        return str(self.root / name)

    def write_settings(self, data):
        self.ini.parent.mkdir(parents=True, exist_ok=True)
        self.ini.write_bytes(data)

    def start(self, *args, env=None, program=None):  # again, or another program in its session
        clean = {k: v for k, v in os.environ.items()
                 if not k.startswith(("QT_", "XDG_", "LC_", "WAYLAND"))}
        clean.update(HOME=str(self.home), XDG_RUNTIME_DIR=str(self.runtime), LANG="C.UTF-8",
                     **(env or {}))
        with open(self.log, "ab") as log:
            self.processes.append(subprocess.Popen([program or self.program, *args], cwd=self.home,
                                                   env=clean, stdout=log, stderr=log,
                                                   stdin=subprocess.DEVNULL))
        return self

    def windows(self):  # of every run that this object started
        return [w for w in managed() if w.pid in {p.pid for p in self.processes}]

    def wait_window(self, test, what, timeout=20):  # the first of windows() passing test(window)
        def probe():
            if all(p.poll() is not None for p in self.processes):
                raise AssertionError("the program ended while waiting for " + what)
            return next((w.id for w in self.windows() if test(w)), None)
        return wait_until(probe, what, timeout)

    def control(self, timeout=20):
        return self.wait_window(lambda w: w.size == CONTROL_SIZE, "the control window", timeout)

    def captioned(self, caption, exclude=()):
        return self.wait_window(lambda w: w.id not in exclude and w.caption == caption,
                                repr(caption))

    def end(self):  # closes the control window as its frame's button does; each run's status
        run("wmctrl", "-i", "-c", str(self.control()))
        return [p.wait(20) for p in self.processes]

    def output(self):
        return self.log.read_text(errors="replace")

    def __exit__(self, failed, *_):
        """A failure, or a sanitizer's report (a failure too), shows what helps and keeps it."""
        windows = self.windows()
        kill(self.processes)
        findings = [line for line in self.output().splitlines()
                    if any(mark in line for mark in SANITIZER_MARKS)]
        if not (failed or findings):
            return shutil.rmtree(self.root)
        print("windows:", *windows, "output:", self.output(), "files: %s" % self.root, sep="\n",
              file=sys.stderr)
        if findings and not failed:
            raise AssertionError("sanitizer reports:\n" + "\n".join(findings))


def main():  # the calling script's test cases in one X session
    import unittest
    signal.signal(signal.SIGTERM, signal.default_int_handler)  # so that clean-ups run
    with session():
        result = unittest.main(module="__main__", verbosity=2, exit=False).result
    sys.exit(not result.wasSuccessful())
