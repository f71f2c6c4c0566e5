// Tessary.ini: written when the control window is closed, read at the next start; what comes
// back, what a damaged or foreign file leads to, a write that cannot be finished or is killed
// part-way, and folders whose names would break the file's lines.
#include <QClipboard>
#include <QProcess>
#include <QRegularExpression>
#include <csignal>
#include <random>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

#include "app/settings.h"

#include "app/number_text.h"
#include "platform/fonts.h"
#include "platform/program.h"
#include "platform/settings_location.h"
#include "platform/drives.h"
#include "tests/support/fixture.h"

namespace {
// A settings file as the program writes it; $ONE, $TWO, $SHOW... stand for the test's folders.
QByteArray written(const QByteArray& interval = "5", const QByteArray& repeat = "1",
                   const QByteArray& random = "0", const QByteArray& fit = "1",
                   const QByteArray& show = "$SHOW") {
    return "$ONE/\n\r\n$TWO/\n\r\n" + show + "/\n\r\n" + interval + "\r\n" + repeat + "\n\r\n" +
           random + "\n\r\n" + fit + "\n\r\n";
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The slideshow's repeat, random and fit boxes.
QList<int> checks() {
    return {FrmSelectSld->Check1.value(), FrmSelectSld->Check2.value(), FrmSelectSld->Check3.value()};
}

// Whatever the file held, the program starts in a state its own rules could have made.
void verifyConsistentStart() {
    QVERIFY(Form1->isVisible());
    for (auto* button : navigationButtons()) QVERIFY(!button->isEnabled());
    // No mode has taken a list yet.
    QVERIFY(Module1.FileCount1 == 0 && Module1.FileCount12 == 0 && Module1.FileCountSld == 0);
    QVERIFY(Module1.CurIndex1 == 0 && Module1.CurIndex12 == 0 && Module1.CurIndexSld == 0);
    for (Chooser* chooser : QList<Chooser*>{FrmSelect1.get(), FrmSelect12.get(), FrmSelectSld.get()}) {
        QVERIFY(!chooser->isVisible());
        QCOMPARE(chooser->File1.path(), chooser->Dir1.path());
        QCOMPARE(chooser->Drive1.drive(), platform::drives::of(chooser->Dir1.path()));
    }
    const QString interval = FrmSelectSld->Text1.text();
    QVERIFY(interval.isEmpty() || (NumberAtStart(interval) >= 1 && NumberAtStart(interval) <= 60));
    QCOMPARE(FrmSelectSld->Command1.isEnabled(), !interval.isEmpty() && FrmSelectSld->File1.entryCount() > 0);
    QCOMPARE(FrmSelect1->Check1.value(), FrmSelectSld->Check3.value());
    QCOMPARE(FrmSelect12->Check1.value(), FrmSelectSld->Check3.value());
}
}  // namespace

class SettingsTest : public DesktopTest {
    Q_OBJECT
    QString iniPath() const { return desktop->programFolder() + "/Tessary.ini"; }

    QByteArray placed(QByteArray bytes) const {
        for (const char* name : {"ONE", "TWO", "SHOW", "EMPTY", "GONE"}) {
            bytes.replace(QByteArray("$") + name, (desktop->home() + "/" + QString(name).toLower()).toUtf8());
        }
        return bytes.replace("$HOME", desktop->home().toUtf8());
    }
    QString place(const QString& text) const { return QString::fromUtf8(placed(text.toUtf8())); }

    // A run of the program, ended by closing the control window.
    void restartProgram() {
        TestDesktop::tearDownProgram();
        desktop->startProgram();
    }
    void closeProgram() {
        desktop->ended = false;
        Form1->closeByFrame();
        QVERIFY(desktop->ended);
        QVERIFY(!FrmSelect1.exists() && !FrmSelect12.exists() && !FrmSelectSld.exists());
    }
    void prepare() override {
        TestDesktop::writePictures(desktop->home(), 1, "home");
        desktop->folder("home/one");
        desktop->folderWith("home/two", 3);
        desktop->folderWith("home/show", 2);
        desktop->folder("home/empty");
    }

public:
    SettingsTest() : DesktopTest(false) {}

private slots:
    // Written byte for byte, read back at the next run (whose drives remember nothing of the
    // last one), and written again the same; a drive's root is written with one separator. With
    // the drive gone, a folder on it cannot be read: the first run's defaults.
    void settingsComeBackAtTheNextStart() {
        const QString drive = desktop->addDrive("stick");
        const QString onStick = desktop->folderWith("stick/pics", 2);
        const QString shows = desktop->folderWith("home/写真", 2);
        desktop->startProgram();
        FrmSelect1->Dir1.setPath("/");
        FrmSelect12->Drive1.setDrive(drive);
        FrmSelect12->Dir1.setPath(onStick);
        FrmSelect12->Check1.setValue(1);  // the fit box, shared by all three
        FrmSelectSld->Dir1.setPath(shows);
        FrmSelectSld->Text1.setText("2.5");
        FrmSelectSld->Check1.setValue(1);
        closeProgram();
        const QByteArray expected = ("/\n\r\n" + onStick + "/\n\r\n" + shows + "/\n\r\n2.5\r\n1\n\r\n0\n\r\n1\n\r\n").toUtf8();
        QCOMPARE(readAll(iniPath()), expected);

        platform::drives::setForTesting({desktop->root(), drive}, desktop->home());
        restartProgram();
        verifyConsistentStart();
        QCOMPARE(FrmSelect1->Dir1.path(), QString("/"));
        QCOMPARE(FrmSelect12->Dir1.path(), onStick);
        QCOMPARE(FrmSelectSld->Dir1.path(), shows);
        QCOMPARE(FrmSelectSld->Text1.text(), QString("2.5"));
        QCOMPARE(checks(), QList<int>({1, 0, 1}));
        closeProgram();
        QCOMPARE(readAll(iniPath()), expected);

        QVERIFY(QDir(drive).removeRecursively());
        restartProgram();
        verifyConsistentStart();
        QCOMPARE(FrmSelect1->Dir1.path(), desktop->home());
        QCOMPARE(FrmSelectSld->Text1.text(), QString("7"));
    }

    // Each file leads to a start in a sound state: what it holds, or the first run's defaults
    // where its reading fails, with the check boxes set before the failure kept.
    void startUpFromAFile_data() {
        QTest::addColumn<QByteArray>("file");  // null: no file at all
        QTest::addColumn<bool>("restored");    // false: every folder home, the interval 7
        QTest::addColumn<QString>("showFolder");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QList<int>>("checks");
        using L = QList<int>;
        const QByteArray good = written();
        std::mt19937 engine(4711);
        QByteArray garbage(4096, '\0');
        for (char& b : garbage) b = char(engine() & 0xff);
        QTest::newRow("no file") << QByteArray() << false << "$HOME" << "7" << L{0, 0, 0};
        QTest::newRow("as the program writes it") << good << true << "$SHOW" << "5" << L{1, 0, 1};
        QTest::newRow("empty") << QByteArray("") << false << "$HOME" << "7" << L{0, 0, 0};
        QTest::newRow("six lines") << good.left(good.lastIndexOf("1\n\r\n")) << false << "$HOME" << "7" << L{0, 0, 0};
        QTest::newRow("the last line without its end") << good.chopped(3) << true << "$SHOW" << "5" << L{1, 0, 1};
        QTest::newRow("an eighth line") << good + "0\n\r\n" << true << "$SHOW" << "5" << L{1, 0, 1};
        QTest::newRow("line feeds only") << QByteArray(good).replace("\r\n", "\n") << false << "$HOME" << "7" << L{0, 0, 0};
        QTest::newRow("binary garbage") << garbage << false << "$HOME" << "7" << L{0, 0, 0};
        QTest::newRow("a folder line of a million characters")
            << QByteArray(1000000, 'a') + good.mid(good.indexOf("\r\n")) << false << "$HOME" << "7" << L{0, 0, 0};
        QTest::newRow("the slideshow folder is gone") << written("5", "1", "0", "1", "$GONE") << false << "$HOME" << "7" << L{0, 0, 0};
        QTest::newRow("a slideshow folder without pictures") << written("5", "1", "0", "1", "$EMPTY") << true << "$EMPTY" << "5" << L{1, 0, 1};
        // Check-box lines.
        QTest::newRow("repeat 3") << written("5", "3", "1", "1") << false << "$HOME" << "7" << L{0, 0, 0};
        QTest::newRow("random -1") << written("5", "1", "-1", "1") << false << "$HOME" << "7" << L{1, 0, 0};
        QTest::newRow("fit 1e400") << written("5", "1", "1", "1e400") << false << "$HOME" << "7" << L{1, 1, 0};
        QTest::newRow("repeat 1.5, the grey state") << written("5", "1.5", "0", "0") << true << "$SHOW" << "5" << L{2, 0, 0};
        QTest::newRow("halves to even") << written("5", "0.5", "2.5", "-0.4") << true << "$SHOW" << "5" << L{0, 2, 0};
        QTest::newRow("a word reads 0") << written("5", "abc", "1", "0") << true << "$SHOW" << "5" << L{0, 1, 0};
        QTest::newRow("no line feed after the digits")
            << QByteArray(good).replace("1\n\r\n0\n\r\n1\n\r\n", "1\r\n0\r\n1\r\n") << true << "$SHOW" << "5" << L{1, 0, 1};
        // Interval lines: an invalid one empties the box and leaves the start button off.
        QTest::newRow("interval 12abc") << written("12abc") << true << "$SHOW" << "12abc" << L{1, 0, 1};
        QTest::newRow("interval 61") << written("61") << true << "$SHOW" << "" << L{1, 0, 1};
        QTest::newRow("interval of a million digits") << written(QByteArray(1000000, '9')) << true << "$SHOW" << "" << L{1, 0, 1};
    }
    void startUpFromAFile() {
        QFETCH(QByteArray, file);
        QFETCH(bool, restored);
        QFETCH(QString, showFolder);
        QFETCH(QString, interval);
        QFETCH(QList<int>, checks);
        if (!file.isNull()) TestDesktop::writeFile(iniPath(), placed(file));
        desktop->startProgram();
        verifyConsistentStart();
        QCOMPARE(FrmSelect1->Dir1.path(), restored ? place("$ONE") : desktop->home());
        QCOMPARE(FrmSelect12->Dir1.path(), restored ? place("$TWO") : desktop->home());
        QCOMPARE(FrmSelectSld->Dir1.path(), place(showFolder));
        QCOMPARE(FrmSelectSld->Text1.text(), interval);
        QCOMPARE(::checks(), checks);
        if (checks[0] != 2) return;
        // The grey repeat box is not "checked": the show does not repeat.
        click(&Form1->CmdSld);
        click(&FrmSelectSld->Command1);
        tick();
        tick();
        QVERIFY(!FrmSelectSld->Timer1.running() && !Form1->CmdBrkSld.isEnabled());
    }

    // A write that cannot be finished leaves what was there as it was, and no half-written file
    // beside it, says so, and the program still ends.
    void aFailedWriteKeepsThePreviousFile_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Tessary.ini is a folder") << "folder";
        QTest::newRow("neither the program folder nor the user's folder can be made") << "missing";
        QTest::newRow("the disk fills up during the write") << "full";
        QTest::newRow("neither the program folder nor the user's folder can be written in") << "read-only";
    }
    void aFailedWriteKeepsThePreviousFile() {
        QFETCH(QString, how);
        const QByteArray previous = placed(written("9", "0", "0", "0"));
        if (how == "folder") QDir().mkpath(iniPath() + "/inside");
        if (how != "folder") TestDesktop::writeFile(iniPath(), previous);
        desktop->startProgram();
        QCOMPARE(FrmSelectSld->Text1.text(), how == "folder" ? QString("7") : QString("9"));
        FrmSelectSld->Text1.setText("30");
        if (how == "missing") platform::setProgramFolder(desktop->root() + "/moved");
        // Not even root may make a file there.
        if (how == "read-only") platform::setProgramFolder("/proc");
        // Both send the file to the user's folder, which cannot be made either.
        if (how == "missing" || how == "read-only")
            TestDesktop::writeFile(desktop->configFolder(), "a file where the folder would be");
        // With "full", files may grow to 16 bytes: the write stops part-way, as on a full disk.
        // Nothing is checked before the limit is lifted, since the test's own log is a file too.
        const auto signalBefore = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit before {};
        getrlimit(RLIMIT_FSIZE, &before);
        struct rlimit small = before;
        small.rlim_cur = 16;
        if (how == "full") setrlimit(RLIMIT_FSIZE, &small);
        Form1->closeByFrame();
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, signalBefore);
        QVERIFY(desktop->ended);
        QVERIFY(desktop->shownOnce("Write Error"));
        QVERIFY(how == "folder" ? QFileInfo(iniPath() + "/inside").isDir() : readAll(iniPath()) == previous);
        QVERIFY(!QDir(desktop->root() + "/moved").exists());
        QCOMPARE(QDir(desktop->programFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"Tessary.ini"});
    }

    // Files mangled from a fixed seed: bytes flipped, put in (line ends, NULs, separators),
    // dropped, lines doubled, dropped or swapped, the end cut off. Every start is consistent.
    void aMangledFileAlwaysGivesAConsistentStart() {
        const QByteArray good = placed(written());
        std::mt19937 engine(1206);
        const auto below = [&](qsizetype n) { return qsizetype(engine() % std::max<qsizetype>(n, 1)); };
        const QByteArray inserts("\r\n\0/.-19 \xff\xe5", 12);
        constexpr int kFiles = 400;
        int restored = 0;
        for (int n = 0; n < kFiles; ++n) {
            QByteArray file = good;
            for (int edits = 1 + int(engine() % 4); edits > 0; --edits) {
                QList<QByteArray> lines = file.split('\n');
                switch (engine() % 7) {
                case 0: file[below(file.size())] ^= char(1 + engine() % 255); break;
                case 1: file.insert(below(file.size() + 1), inserts[below(inserts.size())]); break;
                case 2: file.remove(below(file.size()), 1 + below(3)); break;
                case 3: lines.insert(below(lines.size()), lines[below(lines.size())]); file = lines.join('\n'); break;
                case 4: lines.removeAt(below(lines.size())); file = lines.join('\n'); break;
                case 5: lines.swapItemsAt(below(lines.size()), below(lines.size())); file = lines.join('\n'); break;
                case 6: file.truncate(below(file.size())); break;
                }
                if (file.isEmpty()) file = good;
            }
            TestDesktop::writeFile(iniPath(), file);
            desktop->startProgram();
            verifyConsistentStart();
            if (QTest::currentTestFailed()) qFatal("a start from this file is not consistent:\n%s", file.toPercentEncoding("/ ").constData());
            restored += FrmSelectSld->Dir1.path() == place("$SHOW");
            TestDesktop::tearDownProgram();
        }
        qInfo("%d mangled settings files, %d of them still restored the slideshow folder", kFiles, restored);
    }

    // A program killed at a random moment while it saves again and again leaves either the
    // file it last wrote or the one before it, whole, and the next start reads it.
    void aWriteKilledPartWayLeavesTheOldFileOrTheNew() {
        // Long folder names and a long interval (a valid one: it starts with 10 or 20) make each
        // write long enough to be cut.
        QString relative = "home";
        for (int i = 0; i < 10; ++i) relative += "/" + QString(80, QChar(u'写' + i));
        const QString deep = desktop->folder(relative);
        TestDesktop::writeFile(iniPath(), placed(written("10" + QByteArray(30000, 'a'))).replace(place("$ONE").toUtf8(), deep.toUtf8()));
        desktop->startProgram();
        const QByteArray first = SettingsBytes();
        FrmSelectSld->Text1.setText("20" + QString(30000, 'b'));
        const QByteArray second = SettingsBytes();
        QCOMPARE(FrmSelect1->Dir1.path(), deep);
        TestDesktop::tearDownProgram();
        std::mt19937 engine(99);
        constexpr int kKills = 40;
        int midWrite = 0, writes = 0;
        for (int n = 0; n < kKills; ++n) {
            QProcess writer;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("TESSARY_WRITE_FOREVER", desktop->root());
            writer.setProcessEnvironment(environment);
            writer.start(QCoreApplication::applicationFilePath(), QStringList());
            QVERIFY(writer.waitForStarted());
            QByteArray said;
            while (!said.contains("written")) {
                QVERIFY2(writer.waitForReadyRead(20000), "the writer did not start writing");
                said += writer.readAllStandardOutput();
            }
            std::this_thread::sleep_for(std::chrono::microseconds(engine() % 20000));
            writer.kill();
            QVERIFY(writer.waitForFinished());
            said += writer.readAllStandardOutput();
            midWrite += said.endsWith("writing\n");
            writes += int(said.count("written"));
            const QByteArray left = readAll(iniPath());
            QVERIFY2(left == first || left == second, qPrintable(QString("%1 bytes after kill %2").arg(left.size()).arg(n)));
        }
        // What may be left beside it is a whole new file that a kill kept from taking the
        // file's name: the saving file's own temporary, never read.
        QStringList beside = QDir(desktop->programFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QVERIFY(beside.removeAll("Tessary.ini") == 1);
        for (const QString& name : beside) {
            QVERIFY2(QRegularExpression("^Tessary\\.ini\\.\\w{6}$").match(name).hasMatch(), qPrintable(name));
            const QByteArray left = readAll(desktop->programFolder() + "/" + name);
            QVERIFY(left == first || left == second);
        }
        desktop->startProgram();
        verifyConsistentStart();
        QCOMPARE(FrmSelect1->Dir1.path(), deep);
        QVERIFY(FrmSelectSld->Text1.text().size() == 30002);
        qInfo("%d writers killed after %d whole writes in all, %d of them in the middle of a write; %d temporaries left",
              kKills, writes, midWrite, int(beside.size()));
    }

    // A folder whose path holds a CR or LF is saved as its nearest ancestor without one: the
    // file keeps its seven lines, and the next start opens that ancestor.
    void aLineBreakInAFolderOrTheIntervalKeepsTheSevenLines() {
        const QString parent = desktop->folder("home/parent");
        const QString carriage = desktop->folder("home/parent/a\rb/below");
        const QString feed = desktop->folder("home/c\nd");
        const QString trailing = desktop->folder("home/show/e\r\n");
        desktop->startProgram();
        FrmSelect1->Dir1.setPath(carriage);
        FrmSelect12->Dir1.setPath(feed);
        FrmSelectSld->Dir1.setPath(trailing);
        QCOMPARE(FrmSelect1->Dir1.path(), carriage);
        closeProgram();
        QCOMPARE(readAll(iniPath()), (parent + "/\n\r\n" + desktop->home() + "/\n\r\n" + place("$SHOW") +
                                      "/\n\r\n7\r\n0\n\r\n0\n\r\n0\n\r\n").toUtf8());
        restartProgram();
        verifyConsistentStart();
        QCOMPARE(FrmSelect1->Dir1.path(), parent);
        QCOMPARE(FrmSelect12->Dir1.path(), desktop->home());
        QCOMPARE(FrmSelectSld->Dir1.path(), place("$SHOW"));
        // Line breaks pasted into the interval box: the interval is saved up to the first one,
        // and the options after it are the boxes' own.
        QGuiApplication::clipboard()->setText("5\r\n1\r\n1\r");
        FrmSelectSld->Text1.selectAll();
        FrmSelectSld->Text1.paste();
        QCOMPARE(FrmSelectSld->Text1.text(), QString("5\r\n1\r\n1\r"));
        closeProgram();
        QCOMPARE(readAll(iniPath()).count("\r\n"), 7);
        restartProgram();
        QCOMPARE(FrmSelectSld->Text1.text(), QString("5"));
        QCOMPARE(checks(), QList<int>({0, 0, 0}));
    }
};

// The child of aWriteKilledPartWayLeavesTheOldFileOrTheNew: the program on the test's desktop,
// saving its settings with one interval and then the other until it is killed. It says when
// each write begins and ends.
static int writeForever(const QString& root) {
    platform::initialise();
    platform::drives::setForTesting({root}, root + "/home");
    platform::setProgramFolder(root + "/program");
    Form1->Form_Load();
    const QString first = FrmSelectSld->Text1.text();
    const QString second = "20" + first.mid(2).replace('a', 'b');
    for (long n = 0;; ++n) {
        FrmSelectSld->Text1.setText(n % 2 ? second : first);
        ::write(STDOUT_FILENO, "writing\n", 8);
        WriteSettings();
        ::write(STDOUT_FILENO, "written\n", 8);
    }
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("TESSARY_WRITE_FOREVER")) return writeForever(qEnvironmentVariable("TESSARY_WRITE_FOREVER"));
    app.setAttribute(Qt::AA_Use96Dpi, true);
    SettingsTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_settings.moc"
