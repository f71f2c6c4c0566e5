"""The grid under Xvfb on twelve 24 MP JPEGs a page, the screen sampled during the fills of the
first page and the next (changed after it was decoded ahead): the window is drawn first, cell 0
comes in the first quarter, the cells in order. PIL's cached thumbnail is drawn; the program's own
carry the freedesktop.org keys, size and permissions."""
import ctypes, hashlib, os, shutil, stat, subprocess, sys, tempfile, time, unittest, urllib.parse
try:
    from PIL import Image, PngImagePlugin
except ImportError:  # Debian's python3-pil is for Debian's python3
    os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv) if sys.executable[:4] != "/usr" else 0
X = ctypes.CDLL("libX11.so.6")
X.XOpenDisplay.restype = X.XGetImage.restype = X.XDefaultRootWindow.restype = ctypes.c_void_p
X.XGetImage.argtypes = [ctypes.c_void_p] * 2 + [ctypes.c_int] * 4 + [ctypes.c_ulong, ctypes.c_int]
X.XDefaultRootWindow.argtypes = X.XDestroyImage.argtypes = [ctypes.c_void_p]
COLOURS = {"red": (200, 40, 40), "green": (40, 200, 40), "magenta": (200, 40, 200),
           "blue": (40, 40, 200), "blank": (239, 239, 239)}


def tool(*args):
    return subprocess.run(args, capture_output=True, text=True, timeout=30).stdout


def named(rgb):
    name = min(COLOURS, key=lambda c: sum(abs(a - b) for a, b in zip(rgb, COLOURS[c])))
    return name if sum(abs(a - b) for a, b in zip(rgb, COLOURS[name])) < 60 else "?"


class PageFillTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tessary-fill-")
        self.home, self.path = self.root + "/home", lambda i: self.root + "/pics/p%02d.jpg" % i
        os.makedirs(self.root + "/pics"), os.makedirs(self.home)
        noise = Image.effect_noise((6000, 4000), 24)
        for name in ("red", "green"):
            Image.merge("RGB", [noise.point(lambda v, c=c: v - 128 + c) for c in COLOURS[name]]
                        ).save(self.root + "/%s.jpg" % name, quality=90)
        for i in range(24):
            os.link(self.root + "/red.jpg", self.path(i))
        Image.new("RGB", (400, 300), COLOURS["blue"]).save(self.path(24))
        shutil.copy(os.environ["TESSARY_BINARY"], self.root)
        with open(self.root + "/Tessary.ini", "wb") as ini:  # the grid's chooser on pics/
            folders = (self.home, self.root + "/pics", self.home)
            ini.write(b"".join(f.encode() + b"/\n\r\n" for f in folders) + b"7\r\n" + b"0\n\r\n" * 3)
        self.program = subprocess.Popen([self.root + "/tessary"],
                                        env=dict(os.environ, HOME=self.home, QT_QPA_PLATFORM="xcb"))
        self.display = X.XOpenDisplay(None)

    def tearDown(self):
        self.program.kill(), self.program.wait(), shutil.rmtree(self.root)

    def cached(self, i):
        uri = "file://" + urllib.parse.quote(self.path(i))
        return self.home + "/.cache/thumbnails/normal/%s.png" % hashlib.md5(uri.encode()).hexdigest(), uri

    def cells(self, at):  # what the centres of cells 0 to 11 show on the screen
        image = X.XGetImage(self.display, X.XDefaultRootWindow(self.display), at[0] + 56, at[1] + 56,
                            349, 257, 0xFFFFFFFF, 2)  # 116 pixels apart across, 128 down
        pixels = ctypes.string_at(ctypes.c_void_p.from_address(image + 16).value, 349 * 257 * 4)
        X.XDestroyImage(image)
        at = [4 * (349 * 128 * (c // 4) + 116 * (c % 4)) for c in range(12)]  # BGRX pixels
        return [named(pixels[i:i + 3][::-1]) for i in at]

    def fill(self, page, at):
        # Clicks and samples until cell 11 shows the page; how far the fill had come is the
        # program's processor time, its work, which a busy machine does not stretch.
        def work():
            with open("/proc/%d/stat" % self.program.pid) as status:
                return sum(map(int, status.read().rsplit(")", 1)[1].split()[11:13]))
        start, shown, drawn, end = work(), {}, 1e9, time.monotonic() + 60
        click = subprocess.Popen(["xdotool", "click", "1"])
        while 11 not in shown and time.monotonic() < end:
            now, seen = work() - start, self.cells(at)
            for cell in (c for c in range(12) if seen[c] == page):
                shown.setdefault(cell, now)
            if seen[11] == "blank" and set(seen) <= {"blank", page}:
                drawn = min(drawn, now)
            time.sleep(0.01)
        click.wait()
        print(page, "page, clock ticks of work: drawn at %s, cells at %s" % (drawn, shown))
        self.assertLess(drawn, shown[11], "the window drawn before the page completes")
        self.assertLessEqual(shown[0], shown[11] / 4, "cell 0 in the first quarter")
        self.assertEqual(sorted(shown, key=shown.get), list(range(12)), "cells in order")

    def test_pages_fill_in_sight_and_share_their_thumbnails(self):
        control = tool("xdotool", "search", "--sync", "--onlyvisible", "--pid",
                       str(self.program.pid)).split()[0]
        info = tool("xwininfo", "-id", control)  # the frame's offset, from where it asks to be
        dx, dy = (int(info.split("upper-left %s: " % a)[1].split()[0]) - r for a, r in zip("XY", (20, 74)))
        move = lambda x, y: tool("xdotool", "mousemove", str(x + dx), str(y + dy))
        move(20 + 20, 74 + 88), tool("xdotool", "click", "1")  # 12枚
        move(234 + 260, 169 + 268), time.sleep(1)  # its chooser's １２枚ずつ表示, folder listed
        grid = [80 + dx, 22 + dy]
        self.fill("red", grid)
        path, uri = self.cached(24)  # a file manager's thumbnail of page 3's picture
        keys = PngImagePlugin.PngInfo()
        keys.add_text("Thumb::URI", uri)
        keys.add_text("Thumb::MTime", str(int(os.stat(self.path(24)).st_mtime)))
        Image.new("RGB", (128, 96), COLOURS["magenta"]).save(path, pnginfo=keys)
        time.sleep(2)  # the next page is decoded ahead meanwhile; then its files change
        for i in range(12, 24):
            shutil.copy(self.root + "/green.jpg", self.path(i) + ".new")
            os.replace(self.path(i) + ".new", self.path(i))
        move(20 + 20, 74 + 112)  # >>
        self.fill("green", grid)
        tool("xdotool", "click", "1")  # page 3
        self.assertTrue(any(self.cells(grid)[:2] == ["magenta", "blank"] or time.sleep(0.1)
                            for _ in range(300)), "PIL's thumbnail drawn")
        for i in range(12):
            path, uri = self.cached(i)
            png, file, modes = Image.open(path), os.stat(self.path(i)), [
                stat.S_IMODE(os.stat(p).st_mode) for p in (path, path[:-37], path[:-44])]
            self.assertEqual((png.size, png.text["Thumb::URI"], png.text["Thumb::MTime"],
                              png.text["Thumb::Size"], modes), ((128, 85), uri, str(
                                  int(file.st_mtime)), str(file.st_size), [0o600, 0o700, 0o700]))


if __name__ == "__main__":
    unittest.main()
