"""The thumbnail grid of the real program under Xvfb, twelve 24 MP JPEGs a page, the screen sampled
during each fill: the window is drawn before the page completes and cell 0 comes in the first
quarter of the fill, the cells in order, on the first page and on the next (its files changed
after they were decoded ahead). A thumbnail PIL wrote to the desktop's cache is drawn; those the
program writes carry the keys, sizes and permissions other programs read."""
import ctypes, hashlib, os, shutil, stat, subprocess, sys, tempfile, time, unittest, urllib.parse
try:
    from PIL import Image, PngImagePlugin
except ImportError:  # Debian's python3-pil belongs to Debian's python3
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

X = ctypes.CDLL("libX11.so.6")
X.XOpenDisplay.restype = X.XGetImage.restype = ctypes.c_void_p
X.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                        ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
X.XDefaultRootWindow.restype = ctypes.c_ulong
X.XDefaultRootWindow.argtypes = X.XDestroyImage.argtypes = [ctypes.c_void_p]
COLOURS = {"red": (200, 40, 40), "green": (40, 200, 40), "magenta": (200, 40, 200),
           "blue": (40, 40, 200), "blank": (239, 239, 239)}


def tool(*args):
    return subprocess.run(args, capture_output=True, text=True, timeout=30).stdout


def named(rgb):
    name, ref = min(COLOURS.items(), key=lambda c: sum(abs(a - b) for a, b in zip(rgb, c[1])))
    return name if sum(abs(a - b) for a, b in zip(rgb, ref)) < 60 else "?"


class PageFillTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tessary-fill-")
        self.pics, self.home = (os.path.join(self.root, f) for f in ("pics", "home"))
        os.makedirs(self.pics)
        noise = Image.effect_noise((6000, 4000), 24)
        for name in ("red", "green"):
            Image.merge("RGB", [noise.point(lambda v, c=c: v - 128 + c) for c in COLOURS[name]]
                        ).save(os.path.join(self.root, name + ".jpg"), quality=90)
        for i in range(24):
            os.link(os.path.join(self.root, "red.jpg"), self.path(i))
        Image.new("RGB", (400, 300), COLOURS["blue"]).save(self.path(24))
        shutil.copy(os.environ["TESSARY_BINARY"], self.root)
        with open(os.path.join(self.root, "Tessary.ini"), "wb") as ini:
            ini.write(b"".join(f.encode() + b"/\n\r\n" for f in (self.home, self.pics, self.home))
                      + b"7\r\n" + b"0\n\r\n" * 3)
        env = dict(os.environ, HOME=self.home, QT_QPA_PLATFORM="xcb")
        self.program = subprocess.Popen([os.path.join(self.root, "tessary")], env=env)
        self.display = X.XOpenDisplay(None)

    def tearDown(self):
        self.program.kill()
        self.program.wait()
        shutil.rmtree(self.root)

    def path(self, i):
        return os.path.join(self.pics, "p%02d.jpg" % i)

    def cached(self, i):
        uri = "file://" + urllib.parse.quote(self.path(i))
        return os.path.join(self.home, ".cache/thumbnails/normal",
                            hashlib.md5(uri.encode()).hexdigest() + ".png"), uri

    def window(self, width):
        def found():
            for wid in tool("xdotool", "search", "--onlyvisible", "--pid",
                            str(self.program.pid), "--name", "").split():
                info = tool("xwininfo", "-id", wid)
                if "Width: %d\n" % width in info:
                    return wid, [int(info.split("Absolute upper-left %s: " % a)[1].split()[0])
                                 for a in "XY"]
        end = time.monotonic() + 30
        while not (result := found()):
            self.assertLess(time.monotonic(), end, "no window %d wide" % width)
        return result

    def cells(self, at):
        """What cells 0 to 11 show at their centres, 116 pixels apart across and 128 down."""
        seen = []
        for row in range(3):
            image = X.XGetImage(self.display, X.XDefaultRootWindow(self.display), at[0] + 56,
                                at[1] + 56 + 128 * row, 349, 1, 0xFFFFFFFF, 2)
            pixels = ctypes.string_at(ctypes.c_void_p.from_address(image + 16).value, 349 * 4)
            seen += [named(pixels[464 * column + 2::-1][:3]) for column in range(4)]
            X.XDestroyImage(image)
        return seen

    def fill(self, page, command, at):
        """Runs the command and samples the cells until cell 11 shows the page: how far the fill
        had come when each cell first did, and when the window was first seen drawn with cell
        11 blank, measured in the program's processor time (its work, the same on a busy
        machine), from the command on."""
        def work():
            with open("/proc/%d/stat" % self.program.pid) as status:
                return sum(map(int, status.read().rsplit(")", 1)[1].split()[11:13]))
        start, shown, drawn = work(), {}, 1e9
        click, end = subprocess.Popen(command), time.monotonic() + 60
        while 11 not in shown and time.monotonic() < end:
            now, seen = work() - start, self.cells(at)
            for cell in (c for c in range(12) if seen[c] == page):
                shown.setdefault(cell, now)
            if seen[11] == "blank" and set(seen) <= {"blank", page}:
                drawn = min(drawn, now)
            time.sleep(0.002)
        click.wait()
        print(page, "page, in clock ticks of work: drawn at %s, each cell at %s" % (drawn, shown))
        self.assertLess(drawn, shown[11], "the window drawn before the page completes")
        self.assertLessEqual(shown[0], shown[11] / 4, "cell 0 in the first quarter")
        self.assertEqual(sorted(shown, key=shown.get), list(range(12)), "cells in order")

    def test_pages_fill_in_sight_and_thumbnails_are_shared(self):
        path, uri = self.cached(24)
        os.makedirs(os.path.dirname(path), 0o700)
        keys = PngImagePlugin.PngInfo()
        keys.add_text("Thumb::URI", uri)
        keys.add_text("Thumb::MTime", str(int(os.stat(self.path(24)).st_mtime)))
        Image.new("RGB", (128, 96), COLOURS["magenta"]).save(path, pnginfo=keys)
        control, at = self.window(41)
        tool("xdotool", "mousemove", "--window", control, "20", "88", "click", "1")
        chooser, _ = self.window(335)
        grid = [80 + at[0] - 20, 22 + at[1] - 74]  # where it asks for, in the same frame
        tool("xdotool", "mousemove", "--window", chooser, "260", "268")
        self.fill("red", ["xdotool", "click", "1"], grid)
        self.assertEqual(self.window(463)[1], grid)
        time.sleep(2)  # the next page is decoded ahead meanwhile, then its files change
        for i in range(12, 24):
            shutil.copy(os.path.join(self.root, "green.jpg"), self.path(i) + ".new")
            os.replace(self.path(i) + ".new", self.path(i))
        tool("xdotool", "mousemove", "--window", control, "20", "112")  # its ">>"
        self.fill("green", ["xdotool", "click", "1"], grid)
        tool("xdotool", "click", "1")  # page 3, its one picture
        end = time.monotonic() + 30
        while self.cells(grid)[:2] != ["magenta", "blank"] and time.monotonic() < end:
            time.sleep(0.05)
        self.assertEqual(self.cells(grid)[:2], ["magenta", "blank"], "PIL's thumbnail drawn")
        for i in range(12):
            path, uri = self.cached(i)
            png, file = Image.open(path), os.stat(self.path(i))
            self.assertEqual((png.size, png.text["Thumb::URI"], png.text["Thumb::MTime"],
                              png.text["Thumb::Size"], stat.S_IMODE(os.stat(path).st_mode)),
                             ((128, 85), uri, str(int(file.st_mtime)), str(file.st_size), 0o600))
        self.assertEqual(stat.S_IMODE(os.stat(os.path.dirname(path)).st_mode), 0o700)


if __name__ == "__main__":
    unittest.main()
