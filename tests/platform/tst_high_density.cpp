// A high-density screen (run with QT_SCALE_FACTOR=2): the windows keep their layout in logical
// pixels; the fitted view, the preview and the thumbnails show a picture's single pixels on
// device pixels, where a logical-size image magnified would show grey; the natural-size view
// keeps one picture pixel to the logical pixel.
#include "tests/support/fixture.h"

namespace {
const QColor kBlack(0, 0, 0), kWhite(255, 255, 255);

// A checkerboard of single pixels: any stretch of it to a smaller size averages it to grey.
QString writeCheckerboard(const QString& path, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) image.setPixel(x, y, (x + y) % 2 ? kWhite.rgb() : kBlack.rgb());
    }
    if (!image.save(path, "BMP")) qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The box as it reaches the screen, in device pixels.
QImage onScreen(platform::PictureBox& box) {
    const QImage grabbed = box.grab().toImage();
    if (grabbed.size() != box.size() * 2) qWarning("grabbed at %dx%d", grabbed.width(), grabbed.height());
    return grabbed;
}

// Every device pixel of a rectangle of the box's inside (logical pixels) shows the picture's
// pixel (x / pixelsPerPixel, y / pixelsPerPixel), counted from the rectangle's corner.
bool showsCheckerboard(platform::PictureBox& box, QRect logical, int pixelsPerPixel) {
    const QImage screen = onScreen(box);
    const QRect device(box.contentsRect().topLeft() * 2 + logical.topLeft() * 2, logical.size() * 2);
    for (int y = 0; y < device.height(); ++y) {
        for (int x = 0; x < device.width(); ++x) {
            const bool white = (x / pixelsPerPixel + y / pixelsPerPixel) % 2;
            if (!sameColour(screen.pixel(device.left() + x, device.top() + y), white ? kWhite : kBlack, 40)) {
                qWarning("device pixel %d, %d of the box is not the picture's", x, y);
                return false;
            }
        }
    }
    return true;
}
}  // namespace

class HighDensityTest : public DesktopTest {
    Q_OBJECT
    void prepare() override { useWorkArea(); }

private slots:
    void theScreenHasTwoDevicePixelsToThePixel() { QCOMPARE(Form1->devicePixelRatioF(), 2.0); }

    // Windows and controls sit where they do on a standard screen, in logical pixels.
    void theLayoutStaysInLogicalPixels() {
        QCOMPARE(Form1->size(), QSize(41, 241));
        QCOMPARE(Form1->CmdSld.geometry(), QRect(0, 144, 41, 33));
        click(&Form1->CmdShow1);
        QCOMPARE(FrmSelect1->size(), QSize(449, 321));
        QCOMPARE(FrmSelect1->Picture1.geometry(), QRect(336, 32, 105, 105));
        QCOMPARE(FrmSelect1->Picture1.scaleWidth(), 101);
        QCOMPARE(FrmSelect1->File1.geometry(), QRect(184, 32, 145, 282));
        openGrid(desktop->folderWith("home/few", 2));
        QCOMPARE(FrmShow12->size(), QSize(463, 394));
        QCOMPARE(FrmShow12->Picture1[5]->geometry(), QRect(124, 136, 97, 97));
        QCOMPARE(FrmShow12->Picture1[5]->scaleWidth(), 93);
        QCOMPARE(FrmShow12->Label1[5]->geometry().topLeft(), QPoint(124, 234));
    }

    // 2048 × 1444 fills the 1024 × 722 work area exactly at device resolution.
    void theFittedViewShowsTheDevicePixels() {
        writeCheckerboard(pics + "/fine.bmp", QSize(2048, 1444));
        FrmSelectSld->Check3.setValue(1);
        FrmShow1->LoadControl1(pics + "/fine.bmp", "fine.bmp", 1);
        QCOMPARE(FrmShow1->Picture1.geometry(), QRect(0, 0, 1024, 722));
        QCOMPARE(FrmShow1->Picture1.image().size(), QSize(2048, 1444));
        QCOMPARE(FrmShow1->Picture1.image().devicePixelRatio(), 2.0);
        QVERIFY(showsCheckerboard(FrmShow1->Picture1, QRect(0, 0, 1024, 722), 1));
    }

    // The preview's inside is 101 logical pixels, 202 device pixels; a cell's 93 and 186.
    void thePreviewAndTheThumbnailsShowTheDevicePixels() {
        writeCheckerboard(pics + "/preview.bmp", QSize(202, 202));
        click(&Form1->CmdShow1);
        FrmSelect1->Dir1.setPath(pics);
        FrmSelect1->File1.setSelectedIndex(0);
        QVERIFY(showsCheckerboard(FrmSelect1->Picture1, QRect(0, 0, 101, 101), 1));

        const QString cells = desktop->folder("home/cells");
        for (int i = 0; i < 3; ++i) writeCheckerboard(QString("%1/c%2.bmp").arg(cells).arg(i), QSize(186, 186));
        openGrid(cells);
        for (int i = 0; i < 3; ++i) QVERIFY(showsCheckerboard(*FrmShow12->Picture1[i], QRect(0, 0, 93, 93), 1));
    }

    // At natural size a 41 × 31 picture is centred as on a standard screen, each of its pixels
    // on 2 × 2 device pixels.
    void theNaturalSizeViewKeepsOnePicturePixelToThePixel() {
        writeCheckerboard(pics + "/small.bmp", QSize(41, 31));
        FrmSelectSld->Check3.setValue(0);
        FrmShow1->LoadControl1(pics + "/small.bmp", "small.bmp", 1);
        QCOMPARE(FrmShow1->Picture1.geometry(), QRect(492, 346, 41, 31));
        QVERIFY(showsCheckerboard(FrmShow1->Picture1, QRect(0, 0, 41, 31), 2));
    }
};

QTEST_MAIN(HighDensityTest)
#include "tst_high_density.moc"
