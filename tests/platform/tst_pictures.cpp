// Picture files as they come: every file of the public corpora either shows or gives one
// "Load Error", in a thumbnail cell and in the viewer; EXIF orientation, the largest image of an
// icon, decompression bombs and truncated files.
#include <QBuffer>
#include <QDirIterator>
#include <QImageWriter>
#include <QtEndian>

#include "app/module1.h"
#include "app/windows.h"
#include "grid/thumbnail_grid.h"
#include "platform/failure.h"
#include "platform/picture.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"
#include "tests/support/fixture.h"
#include "tests/support/pixels.h"

namespace {
// The natural size a picture file opens with; none when it cannot be opened.
QSize naturalSize(const QString& path) {
    try {
        return platform::Picture::open(path).size();
    } catch (const platform::Failure&) {
        return {};
    }
}

QByteArray encoded(const QImage& image, const char* format) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(95);
    if (!writer.write(image)) qFatal("cannot encode %s", format);
    return buffer.data();
}

QImage filled(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A JPEG with an EXIF block, right after its JFIF block, that holds only the orientation.
QByteArray withExifOrientation(const QByteArray& jpeg, quint16 orientation) {
    QByteArray tiff("MM\0\x2a\0\0\0\x08", 8);           // big-endian, first IFD at 8
    tiff += QByteArray("\0\x01", 2);                    // one entry
    tiff += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8);  // Orientation, SHORT, 1 value
    tiff += char(orientation >> 8);
    tiff += char(orientation & 0xff);
    tiff += QByteArray(2, '\0');
    tiff += QByteArray(4, '\0');  // no next IFD
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xff\xe1", 2);
    const quint16 length = quint16(payload.size() + 2);
    segment += char(length >> 8);
    segment += char(length & 0xff);
    segment += payload;
    const int app0 = 4 + ((uchar(jpeg[4]) << 8) | uchar(jpeg[5]));  // SOI, then APP0
    return jpeg.left(app0) + segment + jpeg.mid(app0);
}

// One icon file holding several images, built from single-image icons.
QByteArray iconOf(const QList<QImage>& images) {
    QByteArray directory, data;
    const int count = int(images.size());
    directory += QByteArray("\0\0\1\0", 4);
    directory += char(count);
    directory += char(0);
    int offset = 6 + 16 * count;
    for (const QImage& image : images) {
        const QByteArray single = encoded(image, "ico");
        QByteArray entry = single.mid(6, 16);
        const QByteArray body = single.mid(qFromLittleEndian<quint32>(single.constData() + 18),
                                           qFromLittleEndian<quint32>(single.constData() + 14));
        qToLittleEndian<quint32>(quint32(offset), entry.data() + 12);
        directory += entry;
        data += body;
        offset += int(body.size());
    }
    return directory + data;
}

// The largest image an icon file's directory lists.
QSize largestInIconDirectory(const QByteArray& icon) {
    QSize largest;
    const int count = qFromLittleEndian<quint16>(icon.constData() + 4);
    for (int i = 0; i < count; ++i) {
        const char* entry = icon.constData() + 6 + 16 * i;
        const QSize size(uchar(entry[0]) ? uchar(entry[0]) : 256,
                         uchar(entry[1]) ? uchar(entry[1]) : 256);
        if (size.width() * size.height() > largest.width() * largest.height()) largest = size;
    }
    return largest;
}

// A BMP header claiming an enormous picture, with almost nothing after it.
QByteArray bmpBomb() {
    QByteArray bytes = encoded(filled(4, 4, Qt::red), "bmp").left(70);
    qToLittleEndian<qint32>(100000, bytes.data() + 18);
    qToLittleEndian<qint32>(100000, bytes.data() + 22);
    return bytes;
}

// A valid one-pixel GIF whose logical screen claims 65535 × 65535.
QByteArray gifBomb() {
    QByteArray bytes(
        "GIF89a\xff\xff\xff\xff\x80\x00\x00\xff\xff\xff\x00\x00\x00"
        ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
        35);
    return bytes;
}
}  // namespace

class PicturesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDesktop> desktop;
    QString pics;

    // Opens a file in a thumbnail cell and in the viewer, fitted and at natural size; each
    // either shows it or reports one "Load Error" that names the file. Returns the messages.
    int openEverywhere(const QString& path) {
        const QString name = QFileInfo(path).fileName();
        int errors = 0;
        const auto check = [&](const char* where) {
            if (desktop->messages.empty()) return true;
            if (desktop->messages.size() != 1 || desktop->messages[0].title != "Load Error" ||
                !desktop->messages[0].text.contains(name)) {
                qWarning("%s: %d messages, first \"%s\"", where, int(desktop->messages.size()),
                         qPrintable(desktop->messages[0].text));
                return false;
            }
            desktop->messages.clear();
            ++errors;
            return true;
        };
        ThumbnailGrid::LoadAutoSizePicture(*FrmShow12->Picture1[0], FrmShow12->Picture2, path);
        if (!check("cell")) return -1;
        for (int fit : {1, 0}) {
            FrmSelectSld->Check3.setValue(fit);
            FrmShow1->LoadControl1(path, name, 1);
            if (!check(fit ? "fitted" : "natural size")) return -1;
        }
        return errors;
    }

private slots:
    void init() {
        desktop = std::make_unique<TestDesktop>();
        pics = desktop->folder("home/pics");
        desktop->startProgram();
    }
    void cleanup() { desktop.reset(); }

    void everyCorpusFileShowsOrGivesOneLoadError_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("mustShow");
        const QString corpora = corporaFolder();
        if (corpora.isEmpty()) QSKIP("no picture corpora here (TESSARY_CORPORA names none)");
        QDirIterator it(corpora, {"*.bmp", "*.gif", "*.jpeg", "*.jpg", "*.ico"}, QDir::Files,
                        QDirIterator::Subdirectories);
        QStringList files;
        while (it.hasNext()) files << it.next();
        files.sort();
        for (const QString& file : files) {
            const QString relative = QDir(corpora).relativeFilePath(file);
            const bool mustShow =
                relative.startsWith("bmpsuite/g/") || relative.startsWith("gif-test-suite/");
            QTest::newRow(qPrintable(relative)) << file << mustShow;
        }
    }
    void everyCorpusFileShowsOrGivesOneLoadError() {
        QFETCH(QString, path);
        QFETCH(bool, mustShow);
        const int errors = openEverywhere(path);
        QVERIFY(errors >= 0);
        if (mustShow) {
            QCOMPARE(errors, 0);
            QVERIFY(FrmShow1->isVisible());
            // The bmpsuite pictures are colourful all over; some GIF frames are transparent.
            if (path.contains("/bmpsuite/"))
                QVERIFY(!paintedRect(*FrmShow12->Picture1[0]).isEmpty());
        }
    }

    // Orientation 6: the camera was turned a quarter clockwise; the picture is shown upright,
    // with its width and height swapped everywhere.
    void exifOrientationTurnsThePicture() {
        QImage picture(60, 40, QImage::Format_RGB32);
        picture.fill(QColor(0, 0, 230));
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 30; ++x) picture.setPixel(x, y, qRgb(230, 0, 0));
        }
        const QString path = pics + "/turned.jpg";
        TestDesktop::writeFile(path, withExifOrientation(encoded(picture, "jpeg"), 6));

        QCOMPARE(naturalSize(path), QSize(40, 60));
        FrmShow1->LoadControl1(path, "turned.jpg", 1);
        QVERIFY(desktop->messages.empty());
        QCOMPARE(FrmShow1->Picture1.geometry().size(), QSize(40, 60));
        const QImage shown = FrmShow1->Picture1.image();
        QVERIFY(sameColour(shown.pixel(20, 10), QColor(230, 0, 0), 40));  // the left half on top
        QVERIFY(sameColour(shown.pixel(20, 50), QColor(0, 0, 230), 40));

        ThumbnailGrid::LoadAutoSizePicture(*FrmShow12->Picture1[0], FrmShow12->Picture2, path);
        QCOMPARE(paintedRect(*FrmShow12->Picture1[0]), QRect(15, 0, 62, 93));
    }

    // A BMP may store its rows from the top down, saying so by a negative height.
    void aTopDownBmpShowsUpright() {
        QImage picture(8, 4, QImage::Format_RGB32);
        picture.fill(QColor(0, 0, 230));
        for (int x = 0; x < 8; ++x) picture.setPixel(x, 0, qRgb(230, 0, 0));
        QByteArray bytes = encoded(picture, "bmp");  // bottom-up rows of 24 bytes from offset 54
        const int stride = 24, offset = qFromLittleEndian<quint32>(bytes.constData() + 10);
        QByteArray rows;
        for (int row = 3; row >= 0; --row) rows += bytes.mid(offset + row * stride, stride);
        bytes = bytes.left(offset) + rows;
        qToLittleEndian<qint32>(-4, bytes.data() + 22);
        TestDesktop::writeFile(pics + "/topdown.bmp", bytes);

        QCOMPARE(naturalSize(pics + "/topdown.bmp"), QSize(8, 4));
        FrmShow1->LoadControl1(pics + "/topdown.bmp", "topdown.bmp", 1);
        QVERIFY(desktop->messages.empty());
        QCOMPARE(FrmShow1->Picture1.geometry().size(), QSize(8, 4));
        QVERIFY(sameColour(FrmShow1->Picture1.image().pixel(3, 0), QColor(230, 0, 0), 4));
        QVERIFY(sameColour(FrmShow1->Picture1.image().pixel(3, 3), QColor(0, 0, 230), 4));
    }

    void anIconShowsItsLargestImage_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("made here: 16, 48 and 32 pixels") << QString();
        const QString corpora = corporaFolder();
        if (corpora.isEmpty()) return;
        for (const char* name : {"pillow/python.ico", "pillow/pillow.ico"}) {
            if (QFile::exists(corpora + "/" + name)) QTest::newRow(name) << corpora + "/" + name;
        }
    }
    void anIconShowsItsLargestImage() {
        QFETCH(QString, path);
        if (path.isEmpty()) {
            path = pics + "/three.ico";
            TestDesktop::writeFile(
                path, iconOf({filled(16, 16, Qt::red), filled(48, 48, QColor(0, 0, 230)),
                              filled(32, 32, Qt::green)}));
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray icon = file.readAll();
        QVERIFY(qFromLittleEndian<quint16>(icon.constData() + 4) > 1);
        const QSize largest = largestInIconDirectory(icon);

        QCOMPARE(naturalSize(path), largest);
        FrmShow1->LoadControl1(path, QFileInfo(path).fileName(), 1);
        QVERIFY(desktop->messages.empty());
        QCOMPARE(FrmShow1->Picture1.geometry().size(), largest);
        if (path.startsWith(pics)) {
            QVERIFY(sameColour(FrmShow1->Picture1.image().pixel(24, 24), QColor(0, 0, 230), 4));
        }
    }

    // A tiny file that claims a huge picture is refused before anything is allocated.
    void aDecompressionBombIsALoadError_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::newRow("BMP of 100000 × 100000") << bmpBomb() << "bomb.bmp";
        QTest::newRow("GIF of 65535 × 65535") << gifBomb() << "bomb.gif";
    }
    void aDecompressionBombIsALoadError() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        TestDesktop::writeFile(pics + "/" + name, bytes);
        QCOMPARE(openEverywhere(pics + "/" + name), 3);
        QVERIFY(paintedRect(*FrmShow12->Picture1[0]).isEmpty());
        QVERIFY(!FrmShow1->isVisible());
    }

    void aTruncatedJpegShowsOrIsALoadError_data() {
        QTest::addColumn<double>("kept");
        QTest::newRow("three quarters") << 0.75;
        QTest::newRow("half") << 0.5;
        QTest::newRow("headers only") << 0.1;
    }
    void aTruncatedJpegShowsOrIsALoadError() {
        QFETCH(double, kept);
        QImage picture(300, 200, QImage::Format_RGB32);
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 300; ++x) picture.setPixel(x, y, qRgb(x % 256, y, (x + y) % 256));
        }
        const QByteArray jpeg = encoded(picture, "jpeg");
        TestDesktop::writeFile(pics + "/cut.jpg", jpeg.left(int(jpeg.size() * kept)));
        QVERIFY(openEverywhere(pics + "/cut.jpg") >= 0);
    }
};

QTEST_MAIN(PicturesTest)
#include "tst_pictures.moc"
