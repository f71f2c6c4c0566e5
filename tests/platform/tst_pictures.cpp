// Picture files as they come and as made to hurt, orientation, icons, reductions, colour
// profiles, the desktop's thumbnail cache, and files that change after the listing.
#include <QDirIterator>
#include <QPainter>
#include <QProcess>
#include <QtEndian>
#include <random>

#include "tests/support/desktop.h"

namespace {
const QColor kBlue(0, 0, 230);
// The public corpora beside the clone; without them only the files made here are tried.
const QString kCorpora = QFileInfo(qEnvironmentVariable("TESSARY_CORPORA")).isDir()
                             ? qEnvironmentVariable("TESSARY_CORPORA")
                             : QString();
QImage twoColours(QSize size, QRect red) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBlue);
    QPainter(&image).fillRect(red, kRed);
    return image;
}
}  // namespace

class PicturesTest : public DesktopTest {
    Q_OBJECT
private slots:
    // Every corpus picture whole, cut short and with bytes flipped, and files made here. A
    // name's first word says what it must do: "show", "fail" (an error in each place) or "any".
    void everyFileShowsOrGivesOneLoadError() {
        const QByteArray blue = encoded(twoColours({30, 20}, {}), "bmp");
        const QByteArray jpeg = encoded(twoColours({30, 20}, {}), "jpeg");
        QByteArray bmp = blue, ico = encoded(twoColours({16, 16}, {}), "ico"), huge = jpeg;
        for (int at : {18, 22}) qToLittleEndian<qint32>(65535, bmp.data() + at);
        for (int at : {5, 7})
            qToBigEndian<quint16>(65535, huge.data() + huge.indexOf("\xff\xc0") + at);
        // An icon's directory holds sizes to 256; the image inside claims the rest.
        qToLittleEndian<qint32>(65535,
                                ico.data() + qFromLittleEndian<quint32>(ico.data() + 18) + 4);
        QMap<QString, QByteArray> files;
        files["fail huge.bmp"] = bmp, files["fail huge.jpg"] = huge, files["any huge.ico"] = ico;
        files["fail huge.gif"] = gif(65535, 65535), files["fail text.gif"] = "GIF89a? no";
        files["show bmp inside.ico"] = blue, files["show gif inside.jpg"] = gif(20, 20);
        files["show png inside.jpg"] = encoded(twoColours({30, 20}, {}), "png");
        files["show jpeg inside.bmp"] = files["show it's \"写真　夏\".jpg"] = jpeg;
        files["show line\nbreak .bmp"] = blue;
        for (const char* suffix : {"bmp", "gif", "jpg", "ico"})
            files[QString("fail empty.") + suffix] = "";
        if (kCorpora.isEmpty()) qWarning("no picture corpora");
        std::mt19937 engine(20261206);
        QDirIterator it(kCorpora.isEmpty() ? pics : kCorpora, {"*.bmp", "*.gif", "*.jpg", "*.ico"},
                        QDir::Files, QDirIterator::Subdirectories);
        for (int n = 0; it.hasNext(); ++n) {
            const QString source = it.next(), name = QString("%1-%2").arg(n).arg(it.fileName());
            const bool good =
                source.contains("/bmpsuite/g/") || source.contains("/gif-test-suite/");
            QByteArray bytes = files[(good ? "show " : "any ") + name] = readAll(source);
            files["any cut " + name] = bytes.left(bytes.size() / 2);
            for (int i = 0; i < 8; ++i)
                bytes[qsizetype(engine() % std::min<qsizetype>(64, bytes.size()))] ^=
                    char(1 + engine() % 255);
            files["any flipped " + name] = bytes;
        }
        for (auto it = files.begin(); it != files.end(); ++it)
            writeFile(pics + "/" + it.key(), it.value());
        for (auto it = files.begin(); it != files.end(); ++it) {
            const int errors = loadErrors(*desktop, pics + "/" + it.key());
            QVERIFY2(it.key().startsWith("any") ? errors >= 0
                                                : errors == (it.key().startsWith("fail") ? 3 : 0),
                     qPrintable(it.key()));
        }
    }
    // Red over blue, turned by EXIF orientation 6 (width and height swap everywhere) or a BMP's
    // rows stored from the top down (a negative height).
    void aPictureIsShownUpright() {
        QByteArray jpeg = encoded(twoColours({60, 40}, {0, 0, 30, 40}), "jpeg");
        jpeg.insert(
            4 + qFromBigEndian<quint16>(jpeg.constData() + 4),  // after the JFIF block
            QByteArray("\xff\xe1\0\x22"
                       "Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0",
                       36));
        QByteArray bmp = encoded(twoColours({8, 4}, {0, 0, 8, 1}), "bmp"), rows;  // 24-byte rows
        const int offset = qFromLittleEndian<quint32>(bmp.constData() + 10);
        for (int row = 3; row >= 0; --row) rows += bmp.mid(offset + row * 24, 24);
        qToLittleEndian<qint32>(-4, bmp.data() + 22);
        int cell = 0;  // a cell of its own each
        for (const auto& [name, bytes, size, thumbnail] :
             {std::tuple{"turned.jpg", jpeg, QSize(40, 60), QRect(15, 0, 62, 93)},
              {"top-down.bmp", bmp.left(offset) + rows, QSize(8, 4), QRect(0, 23, 93, 46)}}) {
            writeFile(pics + "/" + name, bytes);
            FrmShow1->LoadControl1(pics + "/" + name, name, 1);
            QCOMPARE(FrmShow1->Picture1.widget()->size(), size);
            const QImage shown = FrmShow1->Picture1.image();
            QVERIFY(sameColour(shown.pixel(size.width() / 2, size.height() / 6), kRed, 40));
            QVERIFY(sameColour(shown.pixel(size.width() / 2, size.height() * 5 / 6), kBlue, 40));
            loadInCell(pics + "/" + name, ++cell);
            QCOMPARE(paintedRect(*FrmShow12->Picture1[cell]), thumbnail);
        }
    }
    // Of an icon's images the largest, wherever it stands; a reduction averages what it covers:
    // a 1-pixel checkerboard becomes an even grey in any pixel format.
    void iconsAndReductions() {
        for (const auto& [name, side] : {std::pair{"python.ico", 48}, {"pillow.ico", 256}}) {
            if (kCorpora.isEmpty()) break;
            FrmShow1->LoadControl1(kCorpora + "/pillow/" + name, name, 1);
            QCOMPARE(FrmShow1->Picture1.widget()->size(), QSize(side, side));
        }
        QImage board(400, 400, QImage::Format_RGB32);
        for (int i = 0; i < 400 * 400; ++i)
            board.setPixel(i % 400, i / 400, (i % 400 + i / 400) % 2 ? qRgb(255, 255, 255) : 0);
        for (auto format : {QImage::Format_RGB32, QImage::Format_Indexed8, QImage::Format_Mono}) {
            writeFile(pics + "/board.bmp", encoded(board.convertToFormat(format), "bmp"));
            loadInCell(pics + "/board.bmp");
            const QImage cell = FrmShow12->Picture1[0]->image();
            for (int i = 0; i < 93 * 93; ++i)
                QVERIFY(sameColour(cell.pixel(i % 93, i / 93), QColor(128, 128, 128), 20));
        }
    }
    // An Adobe RGB photograph with its profile shows as its sRGB original in the viewer, the
    // preview and a thumbnail; a profile that cannot be read is ignored.
    void aPictureWithAProfileShowsInSrgb() {
        const QString profiles = "/usr/share/color/icc/colord/";
        for (const auto& [signature, shown] :
             {std::pair{"acsp", QColor(40, 200, 60)}, {"xxxx", QColor(117, 199, 75)}}) {
            const QString folder = desktop->folder(QString("home/") + signature);
            if (QProcess::execute(
                    "convert", {"-size", "64x48", "xc:#28c83c", "-profile", profiles + "sRGB.icc",
                                "-profile", profiles + "AdobeRGB1998.icc", folder + "/a.jpg"}))
                QSKIP("needs ImageMagick and colord-data");
            writeFile(folder + "/a.jpg", readAll(folder + "/a.jpg").replace("acsp", signature));
            openSingle(folder, 0), openGrid(folder);
            for (const QImage& image : {FrmShow1->Picture1.image(), FrmSelect1->Picture1.image(),
                                        FrmShow12->Picture1[0]->image()}) {
                const QRgb centre = image.pixel(image.rect().center());
                QVERIFY2(sameColour(centre, shown, 4), qPrintable(QColor(centre).name()));
            }
        }
    }
    // A cached thumbnail counts only where it is the file's (URI, MTime, Size, shape), a broken
    // picture is reported at every visit.
    void onlyTheFilesOwnCachedThumbnailIsDrawn() {
        const QString cache = desktop->folder("cache/thumbnails/normal");
        for (const QString spoilt : {"", "URI", "MTime", "Size", "shape", "bytes", "folder"}) {
            const QFileInfo file(
                writePicture(desktop->folder("home/t" + spoilt) + "/a.bmp", 400, 300));
            QImage thumbnail(128, spoilt == "shape" ? 128 : 96, QImage::Format_RGB32);
            thumbnail.fill(Qt::blue);
            const QByteArray uri = QUrl::fromLocalFile(file.filePath()).toEncoded();
            thumbnail.setText("Thumb::URI", spoilt == "URI" ? uri + "x" : uri);
            thumbnail.setText(
                "Thumb::MTime",
                QString::number(file.lastModified().toSecsSinceEpoch() - (spoilt == "MTime")));
            thumbnail.setText("Thumb::Size", QString::number(file.size() + (spoilt == "Size")));
            const QString png = cache + "/" +
                                QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex() +
                                ".png";
            QVERIFY(thumbnail.save(png) && (spoilt != "bytes" || QFile::resize(png, 60)));
            if (spoilt == "folder")  // a file where the folder should be
                QVERIFY(QDir(cache).removeRecursively() && QFile(cache).open(QIODevice::WriteOnly));
            openGrid(file.path());
            QVERIFY2(sameColour(FrmShow12->Picture1[0]->image().pixel(46, 46),
                                spoilt.isEmpty() ? QColor(Qt::blue) : kRed, 10),
                     qPrintable(spoilt));
        }
        writeFile(pics + "/broken.bmp", "BM cut short");
        for (int visit = 0; visit < 2; ++visit) {
            openGrid(pics);
            QVERIFY(desktop->shownOnce("Load Error", "broken.bmp"));
        }
    }
    // After the listing: a file removed or turned into a folder is reported and the viewer
    // keeps its picture; a file rewritten with the same size and time shows anew.
    void filesThatChangeAfterTheListing() {
        writePictures(pics, 4);
        openSingle(pics, 0);
        QFile::remove(pics + "/pic02.bmp"), QFile::remove(pics + "/pic03.bmp"),
            QDir(pics).mkdir("pic03.bmp");
        for (const char* what : {"pic02.bmp: File not found", "pic03.bmp: A folder"}) {
            click(Form1->CmdNext1);
            QVERIFY(desktop->shownOnce("Load Error", what) && viewerShows() == "pic01.bmp");
        }
        const QString path = pics + "/pic04.bmp";
        click(Form1->CmdNext1);
        const QDateTime time = QFileInfo(path).lastModified();
        QTest::qSleep(2);  // the rewrite gets a later change time
        writePicture(path, 40, 30, kBlue);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(time, QFile::FileModificationTime));
        file.close();
        FrmShow1->LoadControl1(path, "pic04.bmp", 1);
        QVERIFY(sameColour(FrmShow1->Picture1.image().pixel(5, 5), kBlue));
    }
};

QTEST_MAIN(PicturesTest)
#include "tst_pictures.moc"
