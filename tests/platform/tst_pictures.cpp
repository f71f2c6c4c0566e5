// Picture files as they come and as they are made to hurt: every corpus picture whole, cut
// short and with bytes flipped, files made here (empty, claiming 65535 × 65535 pixels, one
// format under another's name), in a thumbnail cell and in the viewer, fitted and at natural
// size: each shows, or gives one "Load Error" naming it. Then orientation, icons, the
// averaging stretch, and files that change after the folder was listed.
#include <QDirIterator>
#include <QtEndian>
#include <random>

#include "tests/support/desktop.h"

namespace {
const QColor kBlue(0, 0, 230);

// Headers of each format that claim a picture of 65535 × 65535 pixels.
QByteArray claimingHuge(const QString& format) {
    if (format == "gif") return gif(65535, 65535);
    QByteArray bytes = encoded(QImage(16, 16, QImage::Format_RGB32), qPrintable(format));
    if (format == "bmp")
        qToLittleEndian<qint32>(65535, bytes.data() + 18),
            qToLittleEndian<qint32>(65535, bytes.data() + 22);
    if (format == "jpeg") {
        const qsizetype sof = bytes.indexOf("\xff\xc0");
        qToBigEndian<quint16>(65535, bytes.data() + sof + 5),
            qToBigEndian<quint16>(65535, bytes.data() + sof + 7);
    }
    if (format == "ico") {  // the directory holds sizes to 256; the image inside claims the rest
        const quint32 offset = qFromLittleEndian<quint32>(bytes.constData() + 18);
        qToLittleEndian<qint32>(65535, bytes.data() + offset + 4),
            qToLittleEndian<qint32>(2 * 65535, bytes.data() + offset + 8);
    }
    return bytes;
}
}  // namespace

class PicturesTest : public DesktopTest {
    Q_OBJECT
    // A file in a cell and in the viewer, fitted and at natural size: the "Load Error"s it gave,
    // or -1 after anything else.
    int errorsOf(const QString& path) {
        const QString name = QFileInfo(path).fileName();
        int errors = 0;
        for (int place = 0; place < 3; ++place) {
            FrmSelectSld->Check3.setValue(place % 2);
            if (place == 2)
                ThumbnailGrid::LoadAutoSizePicture(*FrmShow12->Picture1[0], FrmShow12->Picture2,
                                                   path);
            if (place < 2) FrmShow1->LoadControl1(path, name, 1);
            if (desktop->messages.isEmpty()) continue;
            if (!desktop->shownOnce("Load Error", "Cannot load " + name + ":")) return -1;
            ++errors;
        }
        return errors;
    }

private slots:
    void everyFileShowsOrGivesOneLoadError() {
        const QString folder = desktop->folder("home/files");
        QMap<QString, int> expected;  // name, errors it must give: 0 or 3 (-1: either)
        for (const char* suffix : {"bmp", "gif", "jpg", "jpeg", "ico"}) {
            expected[QString("empty.") + suffix] = 3;
            writeFile(folder + "/empty." + suffix, "");
        }
        for (const char* format : {"bmp", "gif", "jpeg", "ico"}) {
            expected[QString("huge.") + format] = QString(format) == "ico" ? -1 : 3;
            writeFile(folder + "/huge." + format, claimingHuge(format));
        }
        const QImage blue = QImage(30, 20, QImage::Format_RGB32);
        const QList<std::pair<QString, QByteArray>> made = {
            {"png inside.jpg", encoded(blue, "png")},
            {"gif inside.jpg", gif(20, 20)},
            {"jpeg inside.bmp", encoded(blue, "jpeg")},
            {"bmp inside.ico", encoded(blue, "bmp")},
            {"with spaces .jpg", encoded(blue, "jpeg")},
            {"it's \"quoted\".bmp", encoded(blue, "bmp")},
            {"写真　夏.jpg", encoded(blue, "jpeg")},
            {"line\nbreak.bmp", encoded(blue, "bmp")},
            {"text.gif", "GIF89a? no, a letter.\n"}};
        for (const auto& [name, bytes] : made)
            writeFile(folder + "/" + name, bytes), expected[name] = name == "text.gif" ? 3 : 0;
        std::mt19937 engine(20261206);
        QDirIterator it(corpora().isEmpty() ? folder : corpora(),
                        {"*.bmp", "*.gif", "*.jpg", "*.ico"}, QDir::Files,
                        QDirIterator::Subdirectories);
        for (int n = 0; it.hasNext() && !corpora().isEmpty(); ++n) {
            const QString source = it.next(), name = QString("%1-%2").arg(n).arg(it.fileName());
            const QByteArray whole = readAll(source);
            const bool mustShow =
                source.contains("/bmpsuite/g/") || source.contains("/gif-test-suite/");
            writeFile(folder + "/" + name, whole), expected[name] = mustShow ? 0 : -1;
            writeFile(folder + "/cut-" + name, whole.left(whole.size() / 2)),
                expected["cut-" + name] = -1;
            QByteArray flipped = whole;
            for (int i = 0; i < 8; ++i)
                flipped[qsizetype(engine() % std::min<qsizetype>(64, whole.size()))] ^=
                    char(1 + engine() % 255);
            writeFile(folder + "/flipped-" + name, flipped), expected["flipped-" + name] = -1;
        }
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            const int errors = errorsOf(folder + "/" + it.key());
            QVERIFY2(errors == it.value() || (it.value() < 0 && errors >= 0), qPrintable(it.key()));
        }
        qInfo("%d files", int(expected.size()));
    }

    // Red over blue, whichever way the file stores it: turned by EXIF orientation 6 (width and
    // height swap everywhere), or a BMP's rows stored from the top down (a negative height).
    void aPictureIsShownUpright_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("thumbnail");
        QImage picture(60, 40, QImage::Format_RGB32);
        picture.fill(kBlue);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 30; ++x) picture.setPixel(x, y, kRed.rgb());
        QByteArray jpeg = encoded(picture, "jpeg");
        const QByteArray exif = QByteArray(
            "\xff\xe1\0\x22"
            "Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0"
            "\0",
            36);
        QTest::newRow("EXIF orientation 6")
            << jpeg.insert(4 + qFromBigEndian<quint16>(jpeg.constData() + 4), exif) << QSize(40, 60)
            << QRect(15, 0, 62, 93);
        picture = QImage(8, 4, QImage::Format_RGB32);
        picture.fill(kBlue);
        for (int x = 0; x < 8; ++x) picture.setPixel(x, 0, kRed.rgb());
        QByteArray bmp = encoded(picture, "bmp"), rows;  // bottom-up rows of 24 bytes
        const int offset = qFromLittleEndian<quint32>(bmp.constData() + 10);
        for (int row = 3; row >= 0; --row) rows += bmp.mid(offset + row * 24, 24);
        bmp = bmp.left(offset) + rows;
        qToLittleEndian<qint32>(-4, bmp.data() + 22);
        QTest::newRow("top-down BMP") << bmp << QSize(8, 4) << QRect(0, 23, 93, 46);
    }
    void aPictureIsShownUpright() {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(QRect, thumbnail);
        const QString path = pics + (bytes.startsWith("BM") ? "/upright.bmp" : "/upright.jpg");
        writeFile(path, bytes);
        FrmShow1->LoadControl1(path, "upright", 1);
        QCOMPARE(FrmShow1->Picture1.widget()->size(), size);
        const QImage shown = FrmShow1->Picture1.image();
        QVERIFY(sameColour(shown.pixel(size.width() / 2, size.height() / 6), kRed, 40));
        QVERIFY(sameColour(shown.pixel(size.width() / 2, size.height() * 5 / 6), kBlue, 40));
        ThumbnailGrid::LoadAutoSizePicture(*FrmShow12->Picture1[0], FrmShow12->Picture2, path);
        QCOMPARE(paintedRect(*FrmShow12->Picture1[0]), thumbnail);
    }

    // Of an icon's images the largest is shown, wherever it stands in the file.
    void anIconShowsItsLargestImage() {
        if (corpora().isEmpty()) QSKIP("no picture corpora here");
        for (const auto& [name, side] : {std::pair{"python.ico", 48}, {"pillow.ico", 256}}) {
            FrmShow1->LoadControl1(corpora() + "/pillow/" + name, name, 1);
            QCOMPARE(FrmShow1->Picture1.widget()->size(), QSize(side, side));
        }
    }

    // A reduction averages what it covers: a 1-pixel checkerboard becomes an even grey.
    void aReducedCheckerboardComesOutEvenGrey() {
        QImage board(400, 400, QImage::Format_RGB32);
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x)
                board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : 0);
        for (auto format : {QImage::Format_RGB32, QImage::Format_Indexed8, QImage::Format_Mono}) {
            writeFile(pics + "/board.bmp", encoded(board.convertToFormat(format), "bmp"));
            ThumbnailGrid::LoadAutoSizePicture(*FrmShow12->Picture1[0], FrmShow12->Picture2,
                                               pics + "/board.bmp");
            QImage cell = FrmShow12->Picture1[0]->image();
            for (int y = 0; y < 93; ++y)
                for (int x = 0; x < 93; ++x)
                    QVERIFY(sameColour(cell.pixel(x, y), QColor(128, 128, 128), 20));
        }
    }

    // After the listing: a file removed or turned into a folder is reported and the viewer
    // keeps its picture; a file rewritten with the same size and time shows anew.
    void filesThatChangeAfterTheListing() {
        writePictures(pics, 4);
        openSingle(pics, 0);
        QFile::remove(pics + "/pic02.bmp"), QFile::remove(pics + "/pic03.bmp");
        QDir(pics).mkdir("pic03.bmp");
        for (const char* what : {"pic02.bmp: File not found", "pic03.bmp: A folder"}) {
            click(Form1->CmdNext1);
            QVERIFY(desktop->shownOnce("Load Error", what));
            QCOMPARE(viewerShows(), QString("pic01.bmp"));
        }
        const QString path = pics + "/pic04.bmp";
        click(Form1->CmdNext1);
        const QDateTime time = QFileInfo(path).lastModified();
        QTest::qSleep(2);  // the rewrite gets a later change time
        writePicture(path, 40, 30, kBlue);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(time, QFileDevice::FileModificationTime));
        file.close();
        FrmShow1->LoadControl1(path, "pic04.bmp", 1);
        QVERIFY(sameColour(FrmShow1->Picture1.image().pixel(5, 5), kBlue));
    }
};

QTEST_MAIN(PicturesTest)
#include "tst_pictures.moc"
