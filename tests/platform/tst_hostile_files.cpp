// Files made to hurt: every corpus picture cut short and with bytes flipped, empty files, headers
// that claim 65535 × 65535 pixels, one format under another's name, files that vanish or change
// after the folder was listed, and names no one would type. Each goes down every road the user
// has (preview, viewer, grid, slideshow): it shows, or one "Load Error" names it and the road
// goes on with the next picture.
#include <QBuffer>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QtEndian>
#include <random>

#include "tests/support/encoded.h"
#include "tests/support/fixture.h"

namespace {
const QStringList kPatterns = {"*.bmp", "*.gif", "*.jpeg", "*.jpg", "*.ico"};

// A GIF of one colour, width × height; Qt writes no GIF.
QByteArray gif(quint16 width, quint16 height) {
    QByteArray bytes("GIF89a");
    const auto le16 = [&](quint16 v) { bytes += char(v & 0xff), bytes += char(v >> 8); };
    le16(width), le16(height);
    bytes += QByteArray("\x80\x00\x00\x00\x00\xff\xff\xff\xff", 9);  // two colours
    bytes += ',';
    le16(0), le16(0), le16(width), le16(height);
    bytes += QByteArray("\x00\x02\x02\x44\x01\x00;", 7);  // LZW data for a few pixels, then ends
    return bytes;
}

// Headers of each format that claim a picture of 65535 × 65535 pixels.
QByteArray claimingHuge(const QByteArray& format) {
    if (format == "bmp") {
        QByteArray bmp = encoded(filled(4, 4, Qt::red), "bmp");
        qToLittleEndian<qint32>(65535, bmp.data() + 18);
        qToLittleEndian<qint32>(65535, bmp.data() + 22);
        return bmp;
    }
    if (format == "gif") return gif(65535, 65535);
    if (format == "jpeg") {
        QByteArray jpeg = encoded(filled(16, 16, Qt::red), "jpeg");
        const qsizetype sof = jpeg.indexOf("\xff\xc0");
        qToBigEndian<quint16>(65535, jpeg.data() + sof + 5);
        qToBigEndian<quint16>(65535, jpeg.data() + sof + 7);
        return jpeg;
    }
    // An icon's directory holds sizes to 256; the image inside claims the rest.
    QByteArray ico = encoded(filled(16, 16, Qt::red), "ico");
    const quint32 offset = qFromLittleEndian<quint32>(ico.constData() + 18);
    qToLittleEndian<qint32>(65535, ico.data() + offset + 4);
    qToLittleEndian<qint32>(2 * 65535, ico.data() + offset + 8);
    return ico;
}

// The corpus pictures, or none where the corpora are absent.
QStringList corpusFiles() {
    QStringList files;
    if (corporaFolder().isEmpty()) return files;
    QDirIterator it(corporaFolder(), kPatterns, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next();
    files.sort();
    return files;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace

class HostileFilesTest : public DesktopTest {
    Q_OBJECT

    int m_tried = 0, m_errors = 0;
    QHash<QString, int> m_errorsOf;  // file name, "Load Error"s given on all roads
    qint64 m_slowest = 0;
    QString m_slowestName;

    void prepare() override {
        useWorkArea();
        m_tried = m_errors = 0;
        m_errorsOf.clear();
    }

    // What one step of a road made of the picture called name: 0 shown, 1 one "Load Error"
    // naming it, -1 anything else.
    int outcome(const QString& name) {
        if (desktop->messages.empty()) return 0;
        const RecordedMessage& m = desktop->messages.first();
        if (desktop->messages.size() == 1 && m.title == "Load Error" &&
            m.text.startsWith("Cannot load " + name + ":")) {
            desktop->messages.clear();
            ++m_errorsOf[name];
            return 1;
        }
        for (const RecordedMessage& m : desktop->messages) qWarning("%s: %s", qPrintable(m.title), qPrintable(m.text));
        return -1;
    }
    void timed(const QString& name, const QElapsedTimer& clock) {
        if (clock.elapsed() > m_slowest) m_slowest = clock.elapsed(), m_slowestName = name;
    }

    // The viewer's step: it shows the picture, or reports it and keeps what it showed.
    bool viewerStep(const QString& name, const QString& captionBefore) {
        const int result = outcome(name);
        if (result == 0) return FrmShow1->isVisible() && FrmShow1->caption().endsWith(name);
        return result == 1 && FrmShow1->caption() == captionBefore;
    }

    // Every picture of a folder down every road: previewed in the file chooser and stepped with
    // ">>" in the viewer fitted to the work area; paged through the grid; shown by a slideshow
    // at natural size. Returns the "Load Error"s given on the way, or -1 after a fault.
    int everyRoad(const QString& folder) {
        QElapsedTimer clock;
        int errors = 0;
        // Preview and viewer, fitted.
        click(&Form1->CmdShow1);
        FrmSelect1->Dir1.setPath(folder);
        FrmSelect1->Check1.setValue(1);
        const int count = FrmSelect1->File1.entryCount();
        for (int i = 0; i < count; ++i) {
            const QString name = FrmSelect1->File1.entry(i);
            clock.start();
            FrmSelect1->File1.setSelectedIndex(i);
            timed(name, clock);
            const int preview = outcome(name);
            if (preview < 0) return -1;
            errors += preview;
        }
        FrmSelect1->File1.setSelectedIndex(-1);
        FrmSelect1->File1.setSelectedIndex(0);
        if (!desktop->messages.isEmpty()) --m_errorsOf[FrmSelect1->File1.entry(0)];
        desktop->messages.clear();  // the first preview again, counted above
        QString caption = FrmShow1->caption();
        click(&FrmSelect1->Command1);
        for (int i = 0;; ++i) {
            const QString name = FrmSelect1->File1.entry(i);
            const int before = m_errorsOf.value(name);
            if (!viewerStep(name, caption)) return -1;
            errors += m_errorsOf.value(name) - before;
            if (int(Module1.CurIndex1) != i || Form1->CmdNext1.isEnabled() != (i + 1 < count)) return -1;
            if (!Form1->CmdNext1.isEnabled()) break;
            caption = FrmShow1->caption();
            clock.start();
            click(&Form1->CmdNext1);
            timed(FrmSelect1->File1.entry(i + 1), clock);
        }
        // Grid pages: the page's errors name its files in cell order.
        click(&Form1->CmdShow12);
        FrmSelect12->Dir1.setPath(folder);
        click(&FrmSelect12->Command1);
        for (;;) {
            int cell = 0;
            for (const RecordedMessage& m : desktop->messages) {
                while (cell < 12 && !m.text.startsWith("Cannot load " + FrmShow12->Label1[cell]->caption() + ":")) ++cell;
                if (cell == 12 || m.title != "Load Error") return -1;
                ++m_errorsOf[FrmShow12->Label1[cell]->caption()];
                ++cell;
                ++errors;
            }
            desktop->messages.clear();
            if (!Form1->CmdNext12.isEnabled()) break;
            clock.start();
            click(&Form1->CmdNext12);
            timed("grid page", clock);
        }
        // Slideshow at natural size; each tick goes on with the next picture.
        FrmSelectSld->Check3.setValue(0);
        startShow(folder, "1");
        for (int i = 0; i < count; ++i) {
            if (i > 0) {
                clock.start();
                tick();
                timed(Module1.FileListSld[i], clock);
            }
            if (Module1.CurIndexSld != i) return -1;
            const int result = outcome(Module1.FileListSld[i]);
            if (result < 0) return -1;
            errors += result;
        }
        tick();
        if (FrmSelectSld->Timer1.running() || FrmShow1->isVisible()) return -1;
        m_tried += count;
        m_errors += errors;
        return errors;
    }

private slots:
    // Every corpus picture (and a few made here) cut at nine points and with bytes flipped three
    // ways, from a fixed seed.
    void damagedPicturesShowOrGiveOneLoadErrorEverywhere() {
        QStringList sources = corpusFiles();
        const QString made = desktop->folder("made");
        TestDesktop::writeFile(made + "/made.bmp", encoded(filled(64, 48, Qt::red), "bmp"));
        TestDesktop::writeFile(made + "/made.jpg", encoded(filled(64, 48, Qt::red), "jpeg"));
        TestDesktop::writeFile(made + "/made.ico", encoded(filled(32, 32, Qt::red), "ico"));
        TestDesktop::writeFile(made + "/made.gif", gif(20, 20));
        for (const QString& name : QDir(made).entryList(QDir::Files)) sources << made + "/" + name;
        const QString folder = desktop->folder("damaged");
        std::mt19937 engine(20261206);
        int n = 0;
        const auto put = [&](const QString& variant, const QString& source, const QByteArray& bytes) {
            TestDesktop::writeFile(QString("%1/%2-%3-%4").arg(folder).arg(++n, 5, 10, QLatin1Char('0')).arg(variant, QFileInfo(source).fileName()), bytes);
        };
        for (const QString& source : sources) {
            const QByteArray whole = readAll(source);
            const qsizetype size = whole.size();
            if (size < 2) continue;
            // Inside the header, then at each eighth, then one byte short.
            QList<qsizetype> cuts{std::min<qsizetype>(16, size - 1)};
            for (int eighth = 1; eighth < 8; ++eighth) cuts << size * eighth / 8;
            cuts << size - 1;
            for (const qsizetype cut : cuts) {
                if (cut > 0) put(QString("cut%1").arg(cut), source, whole.left(cut));
            }
            // Four bytes of the header; about one byte in two hundred anywhere; one in fifty.
            for (const int every : {0, 200, 50}) {
                QByteArray bytes = whole;
                const qsizetype span = every == 0 ? std::min<qsizetype>(size, 64) : size;
                const int flips = every == 0 ? 4 : std::max<int>(8, int(size / every));
                for (int i = 0; i < flips; ++i) bytes[qsizetype(engine() % span)] ^= char(1 + engine() % 255);
                put(every == 0 ? "headerflips" : QString("flips%1").arg(every), source, bytes);
            }
        }
        QVERIFY(everyRoad(folder) >= 0);
        QCOMPARE(m_tried, n);
        qInfo("%d damaged files from %d pictures tried on every road, %d Load Errors given; slowest step %lld ms (%s)",
              m_tried, int(sources.size()), m_errors, m_slowest, qPrintable(m_slowestName));
    }

    // Files made here, among sound pictures: each road gives what the file deserves and goes on.
    void hostileFilesAmongSoundOnes() {
        QMap<QString, QByteArray> files;  // name, bytes
        QStringList mustFail;
        for (const char* suffix : {"bmp", "gif", "jpg", "jpeg", "ico"}) {
            files.insert(QString("empty.%1").arg(suffix), QByteArray(""));
            mustFail << QString("empty.%1").arg(suffix);
        }
        for (const QByteArray format : {"bmp", "gif", "jpeg", "ico"}) {
            const QString name = "huge." + format;
            files.insert(name, claimingHuge(format));
            if (format != "ico") mustFail << name;
        }
        const QByteArray png = encoded(filled(30, 20, Qt::blue), "png");
        files.insert("png inside.jpg", png);
        files.insert("gif inside.jpg", gif(20, 20));
        files.insert("jpeg inside.bmp", encoded(filled(30, 20, Qt::blue), "jpeg"));
        files.insert("bmp inside.ico", encoded(filled(30, 20, Qt::blue), "bmp"));
        files.insert("text.gif", "GIF89a? no, a letter.\n");
        mustFail << "text.gif";
        for (const QString& name : {QString("with spaces .jpg"), QString("it's \"quoted\".bmp"),
                                    QString("写真　夏.jpg"), QString("line\nbreak.bmp"), QString("  .bmp")}) {
            files.insert(name, encoded(filled(30, 20, Qt::blue), name.endsWith("jpg") ? "jpeg" : "bmp"));
        }
        QStringList names = TestDesktop::writePictures(pics, 4, "sound");
        for (auto it = files.begin(); it != files.end(); ++it) TestDesktop::writeFile(pics + "/" + it.key(), it.value());
        QCOMPARE(FrmSelect1->File1.entryCount(), 0);  // listed only when the folder is opened
        QVERIFY(everyRoad(pics) >= 0);
        QCOMPARE(m_tried, int(names.size() + files.size()));
        // The preview, the viewer, the grid and the slideshow each refuse these once; the
        // pictures, whatever their names or the format they hold, show everywhere.
        for (const QString& name : mustFail) QVERIFY2(m_errorsOf.value(name) == 4, qPrintable(name));
        for (const QString& name : names + QStringList(files.keys())) {
            if (!mustFail.contains(name) && !name.startsWith("huge")) QVERIFY2(m_errorsOf.value(name) == 0, qPrintable(name));
        }
        qInfo("%d hostile files among %d sound ones tried on every road, %d Load Errors given; the icon claiming 65535 pixels: %d",
              int(files.size()), int(names.size()), m_errors, m_errorsOf.value("huge.ico"));
    }

    // Between the listing and the loading: a file removed, a file turned into a folder, a file
    // rewritten as another picture of the same size and time. A folder named like a picture is
    // never listed.
    void filesThatChangeAfterTheListing() {
        TestDesktop::writePictures(pics, 5);
        QDir(pics).mkdir("folder.jpg");
        FrmSelect12->Dir1.setPath(pics);
        FrmSelectSld->Dir1.setPath(pics);
        openSingle(pics, 0);
        QCOMPARE(FrmSelect1->File1.entryCount(), 5);
        QFile::remove(pics + "/pic02.bmp");
        QFile::remove(pics + "/pic03.bmp");
        QDir(pics).mkdir("pic03.bmp");
        const QStringList gone = {"pic02.bmp: File not found", "pic03.bmp: A folder"};
        for (const QString& what : gone) {
            click(&Form1->CmdNext1);
            QVERIFY(desktop->shownOnce("Load Error", what));
            QCOMPARE(viewerShows(), QString("pic01.bmp"));
        }
        click(&Form1->CmdNext1);
        QCOMPARE(viewerShows(), QString("pic04.bmp"));
        // The grid and the slideshow took their lists before the change too.
        click(&Form1->CmdShow12);
        click(&FrmSelect12->Command1);
        QCOMPARE(desktop->messages.size(), 2);
        for (int i = 0; i < 2; ++i) QVERIFY(desktop->messages[i].text.contains(gone[i]));
        desktop->messages.clear();
        QCOMPARE(FrmShow12->Label1[3]->caption(), QString("pic04.bmp"));
        click(&Form1->CmdSld);
        click(&FrmSelectSld->Command1);
        for (const QString& what : gone) {
            tick();
            QVERIFY(desktop->shownOnce("Load Error", what));
        }
        tick();
        QCOMPARE(viewerShows(), QString("pic04.bmp"));

        // The viewer holds pic05 when it is rewritten with another colour, keeping its size
        // and time: opened again, it shows the new picture.
        click(&Form1->CmdShow1);
        FrmSelect1->File1.setSelectedIndex(4);
        click(&FrmSelect1->Command1);
        const QString path = pics + "/pic05.bmp";
        const QDateTime time = QFileInfo(path).lastModified();
        QVERIFY(sameColour(FrmShow1->Picture1.image().pixel(5, 5), colourOfPicture(4), 8));
        QTest::qSleep(2);  // the rewrite gets a later change time
        TestDesktop::writePicture(path, 40, 30, Qt::blue);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(QFileInfo(path).lastModified(), time);
        click(&FrmSelect1->Command1);
        QVERIFY(sameColour(FrmShow1->Picture1.image().pixel(5, 5), Qt::blue, 8));
        // Rewritten again as a GIF of another size, padded to the same length.
        QByteArray other = gif(12, 8);
        other += QByteArray(QFileInfo(path).size() - other.size(), '\0');
        QTest::qSleep(2);
        TestDesktop::writeFile(path, other);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
        file.close();
        click(&FrmSelect1->Command1);
        QCOMPARE(FrmShow1->Picture1.geometry().size(), QSize(12, 8));
    }
};

QTEST_MAIN(HostileFilesTest)
#include "tst_hostile_files.moc"
