"""The grid on twelve 24 MP JPEGs a page, the screen sampled during the fills of the first page and
the next (changed after it was decoded ahead): the window is drawn first, cell 0 comes within the
first quarter of the fill, the cells in order. A thumbnail PIL wrote to the desktop's cache is
drawn; the program's own carry the freedesktop.org keys, size and permissions."""
import ctypes, hashlib, os, shutil, stat, subprocess, sys, time, unittest, urllib.parse
try:
    from PIL import Image, PngImagePlugin
except ImportError:  # Debian's python3-pil is for Debian's python3
    os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv) if sys.executable[:4] != "/usr" else 0
import harness as x

X = ctypes.CDLL("libX11.so.6")
X.XOpenDisplay.restype = X.XGetImage.restype = X.XDefaultRootWindow.restype = ctypes.c_void_p
X.XGetImage.argtypes = [ctypes.c_void_p] * 2 + [ctypes.c_int] * 4 + [ctypes.c_ulong, ctypes.c_int]
X.XDefaultRootWindow.argtypes = X.XDestroyImage.argtypes = [ctypes.c_void_p]
COLOURS = {"red": (200, 40, 40), "green": (40, 200, 40), "magenta": (200, 40, 200),
           "blue": (40, 40, 200), "blank": (239, 239, 239)}


def named(rgb):
    name = min(COLOURS, key=lambda c: sum(abs(a - b) for a, b in zip(rgb, COLOURS[c])))
    return name if sum(abs(a - b) for a, b in zip(rgb, COLOURS[name])) < 60 else "?"


class PageFill(unittest.TestCase):
    def cells(self, at):  # what the centres of cells 0 to 11 show on the screen
        image = X.XGetImage(self.display, X.XDefaultRootWindow(self.display), at[0] + 56, at[1] + 56,
                            349, 257, 0xFFFFFFFF, 2)  # 116 pixels apart across, 128 down
        pixels = ctypes.string_at(ctypes.c_void_p.from_address(image + 16).value, 349 * 257 * 4)
        X.XDestroyImage(image)
        return [named(pixels[i:i + 3][::-1]) for i in  # BGRX
                (4 * (349 * 128 * (c // 4) + 116 * (c % 4)) for c in range(12))]

    def fill(self, page, at):
        # Clicks and samples until cell 11 shows the page; how far the fill had come is the
        # program's processor time, its work, which a busy machine does not stretch.
        def work():
            with open("/proc/%d/stat" % self.app.processes[0].pid) as status:
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
        with x.Tessary() as self.app:
            pics, self.display = self.app.folder("pics", []), X.XOpenDisplay(None)
            path = lambda i: pics + "/p%02d.jpg" % i
            cached = lambda i: (self.app.home / ".cache/thumbnails/normal" / (hashlib.md5(
                ("file://" + urllib.parse.quote(path(i))).encode()).hexdigest() + ".png"))
            noise = Image.effect_noise((6000, 4000), 24)
            for name in ("red", "green"):
                Image.merge("RGB", [noise.point(lambda v, c=c: v - 128 + c) for c in COLOURS[name]]
                            ).save(self.app.root / (name + ".jpg"), quality=90)
            for i in range(24):
                os.link(self.app.root / "red.jpg", path(i))
            Image.new("RGB", (400, 300), COLOURS["blue"]).save(path(24))
            self.app.write_settings(x.settings(self.app.home, pics, self.app.home, "7", 0, 0, 0))
            control = self.app.start().control()
            x.click(control, x.CONTROL["show12"])
            chooser = self.app.captioned(x.CHOOSER_CAPTION)
            # The grid's client area: where it asks to be, moved by the frame as the control's.
            grid = [a - b + c for a, b, c in zip(x.geometry(control), (20, 74), (80, 22))]
            x.run("xdotool", "mousemove", "--window", str(chooser), "260", "268")  # １２枚ずつ表示
            time.sleep(0.5)  # the folder listed
            self.fill("red", grid)
            keys = PngImagePlugin.PngInfo()  # a file manager's thumbnail of page 3's picture
            keys.add_text("Thumb::URI", "file://" + urllib.parse.quote(path(24)))
            keys.add_text("Thumb::MTime", str(int(os.stat(path(24)).st_mtime)))
            Image.new("RGB", (128, 96), COLOURS["magenta"]).save(cached(24), pnginfo=keys)
            time.sleep(2)  # the next page is decoded ahead meanwhile; then its files change
            for i in range(12, 24):
                shutil.copy(self.app.root / "green.jpg", path(i) + ".new")
                os.replace(path(i) + ".new", path(i))
            x.run("xdotool", "mousemove", "--window", str(control), "20", "112")  # >>
            self.fill("green", grid)
            x.click(control, x.CONTROL["next12"])
            self.assertTrue(any(self.cells(grid)[:2] == ["magenta", "blank"]
                                or time.sleep(0.1) for _ in range(300)), "PIL's thumbnail drawn")
            for i in range(12):
                png, file = Image.open(cached(i)), os.stat(path(i))
                modes = [stat.S_IMODE(os.stat(p).st_mode) for p in (cached(i), cached(i).parent,
                                                                      cached(i).parent.parent)]
                self.assertEqual((png.size, png.text["Thumb::URI"], png.text["Thumb::MTime"],
                                  png.text["Thumb::Size"], modes),
                                 ((128, 85), "file://" + urllib.parse.quote(path(i)),
                                  str(int(file.st_mtime)), str(file.st_size), [0o600, 0o700, 0o700]))
            x.click(control, x.CONTROL["prev12"])  # page 2, then page 1 decoded ahead: an end
            self.assertEqual(self.app.end(), [0])  # with decodes under way, orderly


if __name__ == "__main__":
    x.main()
