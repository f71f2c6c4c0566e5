// Picture files as they come: every file of the public corpora either shows or gives one
// "Load Error", in a thumbnail cell and in the viewer; EXIF orientation, top-down BMPs, the
// largest image of an icon, and decompression bombs.
#include <QBuffer>
#include <QDirIterator>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QtEndian>
#include <cmath>
#include <numeric>
#include <vector>

#include "tests/support/encoded.h"
#include "tests/support/fixture.h"

namespace {
const QColor kRed(230, 0, 0), kBlue(0, 0, 230);

// A JPEG with an EXIF block, right after its JFIF block, that holds only the orientation:
// big-endian TIFF, first IFD at 8, one entry (Orientation, SHORT, 1 value), no next IFD.
QByteArray withExifOrientation(const QByteArray& jpeg, char orientation) {
    const QByteArray payload = QByteArray("Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0", 25) +
                               orientation + QByteArray(6, '\0');
    const QByteArray segment = QByteArray("\xff\xe1\0", 3) + char(payload.size() + 2) + payload;
    const int app0 = 4 + ((uchar(jpeg[4]) << 8) | uchar(jpeg[5]));  // SOI, then APP0
    return jpeg.left(app0) + segment + jpeg.mid(app0);
}

// A photograph's kind of detail: gradients, texture at several scales, per-pixel noise.
QImage photoLike(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator noise(7);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double texture = 40 * std::sin(x * 0.05) * std::sin(y * 0.043) + 20 * std::sin(x * 0.31 + y * 0.17);
            const int grain = int(noise.bounded(25)) - 12;
            auto channel = [](double c) { return int(std::clamp(c, 0.0, 255.0)); };
            line[x] = qRgb(channel(60 + 120.0 * x / width + texture + grain),
                           channel(200 - 120.0 * y / height + texture + grain),
                           channel(90 + 0.7 * texture + grain));
        }
    }
    return image;
}

// The exact area average: every source pixel weighs by the part of it a target pixel covers.
QImage areaAverage(const QImage& source, QSize size) {
    const auto weights = [](int from, int to) {  // per target index: (source index, weight)
        std::vector<std::vector<std::pair<int, double>>> w(to);
        const double step = double(from) / to;
        for (int t = 0; t < to; ++t) {
            const double a = t * step, b = a + step;
            for (int s = int(a); s < std::min(from, int(std::ceil(b))); ++s)
                w[t].push_back({s, (std::min(b, s + 1.0) - std::max(a, double(s))) / step});
        }
        return w;
    };
    const auto wx = weights(source.width(), size.width()), wy = weights(source.height(), size.height());
    QImage result(size, QImage::Format_RGB32);
    std::vector<double> row(source.width() * 3);
    for (int ty = 0; ty < size.height(); ++ty) {
        std::fill(row.begin(), row.end(), 0.0);
        for (const auto& [sy, w] : wy[ty]) {
            const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(sy));
            for (int x = 0; x < source.width(); ++x) {
                row[3 * x] += w * qRed(line[x]), row[3 * x + 1] += w * qGreen(line[x]), row[3 * x + 2] += w * qBlue(line[x]);
            }
        }
        for (int tx = 0; tx < size.width(); ++tx) {
            double c[3] = {};
            for (const auto& [sx, w] : wx[tx]) {
                for (int k = 0; k < 3; ++k) c[k] += w * row[3 * sx + k];
            }
            result.setPixel(tx, ty, qRgb(qRound(c[0]), qRound(c[1]), qRound(c[2])));
        }
    }
    return result;
}
}  // namespace

class PicturesTest : public DesktopTest {
    Q_OBJECT

    // Opens a file in a thumbnail cell and in the viewer, fitted and at natural size; each
    // either shows it or reports one "Load Error" that names the file. Returns the errors, or
    // -1 when a place reported anything else.
    int openEverywhere(const QString& path) {
        const QString name = QFileInfo(path).fileName();
        int errors = 0;
        const auto check = [&] {
            if (desktop->messages.empty()) return true;
            return desktop->shownOnce("Load Error", name) && ++errors > 0;
        };
        ThumbnailGrid::LoadAutoSizePicture(*FrmShow12->Picture1[0], FrmShow12->Picture2, path);
        if (!check()) return -1;
        for (int fit : {1, 0}) {
            FrmSelectSld->Check3.setValue(fit);
            FrmShow1->LoadControl1(path, name, 1);
            if (!check()) return -1;
        }
        return errors;
    }

private slots:
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
            QTest::newRow(qPrintable(relative))
                << file << (relative.startsWith("bmpsuite/g/") || relative.startsWith("gif-test-suite/"));
        }
    }
    void everyCorpusFileShowsOrGivesOneLoadError() {
        QFETCH(QString, path);
        QFETCH(bool, mustShow);
        const int errors = openEverywhere(path);
        QVERIFY(errors >= 0);
        if (!mustShow) return;
        QCOMPARE(errors, 0);
        QVERIFY(FrmShow1->isVisible());
        // The bmpsuite pictures are colourful all over; some GIF frames are transparent.
        if (path.contains("/bmpsuite/")) QVERIFY(!paintedRect(*FrmShow12->Picture1[0]).isEmpty());
    }

    // Red over blue, whichever way the file stores it: turned by EXIF orientation 6 (the camera
    // a quarter clockwise: width and height swap everywhere), or a BMP's rows stored from the
    // top down, which a negative height says.
    void aPictureIsShownUpright_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("thumbnail");
        QImage picture = filled(60, 40, kBlue);
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 30; ++x) picture.setPixel(x, y, kRed.rgb());
        }
        QTest::newRow("EXIF orientation 6") << withExifOrientation(encoded(picture, "jpeg", 95), 6)
                                            << QSize(40, 60) << QRect(15, 0, 62, 93);
        picture = filled(8, 4, kBlue);
        for (int x = 0; x < 8; ++x) picture.setPixel(x, 0, kRed.rgb());
        QByteArray bmp = encoded(picture, "bmp");  // bottom-up rows of 24 bytes
        const int offset = qFromLittleEndian<quint32>(bmp.constData() + 10);
        QByteArray rows;
        for (int row = 3; row >= 0; --row) rows += bmp.mid(offset + row * 24, 24);
        bmp = bmp.left(offset) + rows;
        qToLittleEndian<qint32>(-4, bmp.data() + 22);
        QTest::newRow("top-down BMP") << bmp << QSize(8, 4) << QRect(0, 23, 93, 46);
    }
    void aPictureIsShownUpright() {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(QRect, thumbnail);
        const QString name = bytes.startsWith("BM") ? "upright.bmp" : "upright.jpg";
        TestDesktop::writeFile(pics + "/" + name, bytes);
        FrmShow1->LoadControl1(pics + "/" + name, name, 1);
        QCOMPARE(FrmShow1->Picture1.geometry().size(), size);
        const QImage shown = FrmShow1->Picture1.image();
        QVERIFY(sameColour(shown.pixel(size.width() / 2, size.height() / 6), kRed, 40));
        QVERIFY(sameColour(shown.pixel(size.width() / 2, size.height() * 5 / 6), kBlue, 40));
        ThumbnailGrid::LoadAutoSizePicture(*FrmShow12->Picture1[0], FrmShow12->Picture2, pics + "/" + name);
        QCOMPARE(paintedRect(*FrmShow12->Picture1[0]), thumbnail);
    }

    // Of the images an icon holds, the largest is shown, wherever it stands in the file.
    void anIconShowsItsLargestImage_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("largest");
        if (corporaFolder().isEmpty()) QSKIP("no picture corpora here (TESSARY_CORPORA names none)");
        QTest::newRow("16, 32 and 48 pixels") << corporaFolder() + "/pillow/python.ico" << QSize(48, 48);
        QTest::newRow("256 pixels first of five") << corporaFolder() + "/pillow/pillow.ico" << QSize(256, 256);
    }
    void anIconShowsItsLargestImage() {
        QFETCH(QString, path);
        QFETCH(QSize, largest);
        FrmShow1->LoadControl1(path, QFileInfo(path).fileName(), 1);
        QCOMPARE(FrmShow1->Picture1.geometry().size(), largest);
    }

    // A tiny file that claims a huge picture is refused before anything is allocated.
    void aDecompressionBombIsALoadErrorEverywhere_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QByteArray bmp = encoded(filled(4, 4, Qt::red), "bmp").left(70);
        qToLittleEndian<qint32>(100000, bmp.data() + 18);
        qToLittleEndian<qint32>(100000, bmp.data() + 22);
        QTest::newRow("BMP of 100000 × 100000") << bmp << "bomb.bmp";
        QTest::newRow("one-pixel GIF on a 65535 × 65535 screen")
            << QByteArray("GIF89a\xff\xff\xff\xff\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                          ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;", 35)
            << "bomb.gif";
    }
    void aDecompressionBombIsALoadErrorEverywhere() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        TestDesktop::writeFile(pics + "/" + name, bytes);
        QCOMPARE(openEverywhere(pics + "/" + name), 3);
        QVERIFY(paintedRect(*FrmShow12->Picture1[0]).isEmpty());
        QVERIFY(!FrmShow1->isVisible());
    }

    // A photograph fitted to the work area, decoded by the JPEG decoder at a reduced scale and
    // averaged down from there, looks like the whole picture decoded and averaged exactly: on
    // average within 2 levels of 255 per colour, and 99.9 % of the values within 8.
    void aFittedPhotographMatchesTheAreaAverageOfTheFullPicture_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("drawn");
        QTest::newRow("the decoder's quarter, exactly") << QSize(4096, 2728) << QRect(0, 20, 1024, 682);
        QTest::newRow("between the decoder's scales") << QSize(2400, 1600) << QRect(0, 20, 1024, 682);
    }
    void aFittedPhotographMatchesTheAreaAverageOfTheFullPicture() {
        QFETCH(QSize, size);
        QFETCH(QRect, drawn);
        useWorkArea();
        const QString path = pics + "/photo.jpg";
        QImageWriter writer(path, "jpeg");
        writer.setQuality(90);
        QVERIFY(writer.write(photoLike(size.width(), size.height())));
        FrmSelectSld->Check3.setValue(1);
        FrmShow1->LoadControl1(path, "photo.jpg", 1);
        const QImage shown = FrmShow1->Picture1.image().copy(drawn);
        const QImage reference = areaAverage(QImage(path).convertToFormat(QImage::Format_RGB32), drawn.size());
        std::vector<int> differences;
        for (int y = 0; y < reference.height(); ++y) {
            for (int x = 0; x < reference.width(); ++x) {
                const QRgb a = shown.pixel(x, y), b = reference.pixel(x, y);
                differences.insert(differences.end(), {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                                       std::abs(qBlue(a) - qBlue(b))});
            }
        }
        const double mean = std::accumulate(differences.begin(), differences.end(), 0.0) / differences.size();
        auto high = differences.begin() + differences.size() * 999 / 1000;
        std::nth_element(differences.begin(), high, differences.end());
        qInfo("mean difference %.2f, 99.9 %% within %d", mean, *high);
        QVERIFY(mean <= 2.0);
        QVERIFY(*high <= 8);
    }
};

QTEST_MAIN(PicturesTest)
#include "tst_pictures.moc"
