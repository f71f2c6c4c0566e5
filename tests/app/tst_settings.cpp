// Tessary.ini: written when the control window is closed, read at the next start; what comes
// back, what a damaged or foreign file leads to, and a write that cannot be finished.
#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <csignal>
#include <random>
#include <sys/resource.h>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/number_text.h"
#include "app/settings.h"
#include "app/windows.h"
#include "grid/folder_chooser.h"
#include "platform/desktop.h"
#include "platform/drives.h"
#include "single/file_chooser.h"
#include "slideshow/setup_window.h"
#include "tests/support/fixture.h"

namespace {

// A settings file as the program writes it; $ONE, $TWO, $SHOW... stand for the test's folders.
QByteArray written(const QByteArray& interval = "5", const QByteArray& repeat = "1",
                   const QByteArray& random = "0", const QByteArray& fit = "1",
                   const QByteArray& show = "$SHOW") {
    return "$ONE/\n\r\n$TWO/\n\r\n" + show + "/\n\r\n" + interval + "\r\n" + repeat + "\n\r\n" +
           random + "\n\r\n" + fit + "\n\r\n";
}

QByteArray garbage(int size) {
    std::mt19937 engine(4711);
    QByteArray bytes(size, '\0');
    for (char& b : bytes) b = char(engine() & 0xff);
    return bytes;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<platform::CommandButton*> navigationButtons() {
    return {&Form1->CmdNext1,   &Form1->CmdPrev1,   &Form1->CmdNext12, &Form1->CmdPrev12,
            &Form1->CmdNextSld, &Form1->CmdPrevSld, &Form1->CmdBrkSld};
}

// Whatever the file held, the program starts in a state its own rules could have made.
void verifyConsistentStart() {
    QVERIFY(Form1->isVisible());
    for (auto* button : navigationButtons()) QVERIFY(!button->isEnabled());
    const QList<Chooser*> choosers = {FrmSelect1.get(), FrmSelect12.get(), FrmSelectSld.get()};
    for (Chooser* chooser : choosers) {
        QVERIFY(!chooser->isVisible());
        QCOMPARE(chooser->File1.path(), chooser->Dir1.path());
        QCOMPARE(chooser->Drive1.drive(), platform::drives::of(chooser->Dir1.path()));
    }
    SlideshowSetup& setup = *FrmSelectSld;
    const QString interval = setup.Text1.text();
    const double seconds = NumberAtStart(interval);
    QVERIFY(interval.isEmpty() || (seconds >= 1 && seconds <= 60));
    QCOMPARE(setup.Command1.isEnabled(), !interval.isEmpty() && setup.File1.entryCount() > 0);
    QCOMPARE(FrmSelect1->Check1.value(), setup.Check3.value());
    QCOMPARE(FrmSelect12->Check1.value(), setup.Check3.value());
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDesktop> desktop;
    bool ended = false;

    QString iniPath() const { return desktop->programFolder() + "/Tessary.ini"; }

    QString place(QString text) const {
        return text.replace("$ONE", desktop->home() + "/one")
            .replace("$TWO", desktop->home() + "/two")
            .replace("$SHOW", desktop->home() + "/show")
            .replace("$EMPTY", desktop->home() + "/empty")
            .replace("$GONE", desktop->home() + "/gone")
            .replace("$HOME", desktop->home());
    }

    QByteArray placed(QByteArray bytes) const {
        for (const char* name : {"$ONE", "$TWO", "$SHOW", "$EMPTY", "$GONE", "$HOME"}) {
            bytes.replace(name, place(name).toUtf8());
        }
        return bytes;
    }

    void closeProgram() {
        ended = false;
        Form1->closeByFrame();
        QVERIFY(ended);
        QVERIFY(!FrmSelect1.exists() && !FrmSelect12.exists() && !FrmSelectSld.exists());
    }

private slots:
    void init() {
        desktop = std::make_unique<TestDesktop>();
        TestDesktop::writePictures(desktop->home(), 1, "home");
        desktop->folder("home/one");
        TestDesktop::writePictures(desktop->folder("home/two"), 3, "two");
        TestDesktop::writePictures(desktop->folder("home/show"), 2, "show");
        desktop->folder("home/empty");
        ended = false;
        platform::setProgramEnd([this] { ended = true; });
    }
    void cleanup() {
        platform::setProgramEnd(nullptr);
        desktop.reset();
    }

    void settingsComeBackAtTheNextStart() {
        const QString drive = desktop->addDrive("stick");
        const QString onStick = desktop->folder("stick/pics");
        TestDesktop::writePictures(onStick, 2, "stick");
        const QString shows = desktop->folder("home/写真");
        TestDesktop::writePictures(shows, 2);
        desktop->startProgram();

        click(&Form1->CmdShow1);
        FrmSelect1->Dir1.setPath(desktop->home() + "/one");
        click(&Form1->CmdShow12);
        FrmSelect12->Drive1.setDrive(drive);
        QCOMPARE(FrmSelect12->Dir1.path(), drive);
        FrmSelect12->Dir1.setPath(onStick);
        FrmSelect12->Check1.setValue(1);  // the fit box, shared by all three
        click(&Form1->CmdSld);
        SlideshowSetup& setup = *FrmSelectSld;
        setup.Dir1.setPath(shows);
        setup.Text1.setText("2.5");
        setup.Check1.setValue(1);
        closeProgram();

        const QByteArray expected = (desktop->home() + "/one/\n\r\n" + onStick + "/\n\r\n" + shows +
                                     "/\n\r\n2.5\r\n1\n\r\n0\n\r\n1\n\r\n").toUtf8();
        const QByteArray bytes = readAll(iniPath());
        QCOMPARE(bytes, expected);

        // A new run: the drives remember nothing of the last one.
        TestDesktop::tearDownProgram();
        platform::drives::setForTesting({desktop->root(), drive}, desktop->home());
        desktop->startProgram();
        verifyConsistentStart();
        QCOMPARE(FrmSelect1->Dir1.path(), desktop->home() + "/one");
        QCOMPARE(FrmSelect12->Dir1.path(), onStick);
        QCOMPARE(FrmSelect12->Drive1.drive(), drive);
        QCOMPARE(FrmSelect12->File1.entry(0), QString("stick01.bmp"));
        QCOMPARE(FrmSelectSld->Dir1.path(), shows);
        QCOMPARE(FrmSelectSld->Text1.text(), QString("2.5"));
        QCOMPARE(FrmSelectSld->Check1.value(), 1);
        QCOMPARE(FrmSelectSld->Check2.value(), 0);
        QCOMPARE(FrmSelectSld->Check3.value(), 1);
        QVERIFY(FrmSelectSld->Command1.isEnabled());
        QVERIFY(desktop->messages.empty());

        closeProgram();
        QCOMPARE(readAll(iniPath()), expected);
    }

    void aRootFolderIsWrittenWithOneSeparator() {
        desktop->startProgram();
        FrmSelect1->Dir1.setPath("/");
        closeProgram();
        QVERIFY(readAll(iniPath()).startsWith("/\n\r\n" + desktop->home().toUtf8() + "/\n\r\n"));
        TestDesktop::tearDownProgram();
        desktop->startProgram();
        QCOMPARE(FrmSelect1->Dir1.path(), QString("/"));
        QCOMPARE(FrmSelect12->Dir1.path(), desktop->home());
    }

    // Each file leads to a start in a sound state: what it holds, or the first run's
    // defaults where its reading fails, with the check boxes set before the failure kept.
    void startUpFromAFile_data() {
        QTest::addColumn<QByteArray>("file");  // null: no file at all
        QTest::addColumn<bool>("restored");    // false: every folder home, the interval 7
        QTest::addColumn<QString>("showFolder");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QList<int>>("checks");
        QTest::addColumn<bool>("startEnabled");
        using L = QList<int>;
        const QByteArray good = written();
        QTest::newRow("no file") << QByteArray() << false << "$HOME" << "7" << L{0, 0, 0} << true;
        QTest::newRow("as the program writes it") << good << true << "$SHOW" << "5" << L{1, 0, 1} << true;
        QTest::newRow("empty") << QByteArray("") << false << "$HOME" << "7" << L{0, 0, 0} << true;
        QTest::newRow("six lines") << good.left(good.lastIndexOf("1\n\r\n")) << false << "$HOME" << "7" << L{0, 0, 0} << true;
        QTest::newRow("the last line without its end") << good.chopped(3) << true << "$SHOW" << "5" << L{1, 0, 1} << true;
        QTest::newRow("an eighth line") << good + "0\n\r\n" << true << "$SHOW" << "5" << L{1, 0, 1} << true;
        QTest::newRow("line feeds only") << QByteArray(good).replace("\r\n", "\n") << false << "$HOME" << "7" << L{0, 0, 0} << true;
        QTest::newRow("binary garbage") << garbage(4096) << false << "$HOME" << "7" << L{0, 0, 0} << true;
        QTest::newRow("a folder line of a million characters")
            << QByteArray(1000000, 'a') + good.mid(good.indexOf("\r\n")) << false << "$HOME" << "7" << L{0, 0, 0} << true;
        QTest::newRow("the slideshow folder is gone") << written("5", "1", "0", "1", "$GONE") << false << "$HOME" << "7" << L{0, 0, 0} << true;
        QTest::newRow("the first folder is gone") << QByteArray(good).replace("$ONE", "$GONE") << false << "$HOME" << "7" << L{0, 0, 0} << true;
        QTest::newRow("a slideshow folder without pictures") << written("5", "1", "0", "1", "$EMPTY") << true << "$EMPTY" << "5" << L{1, 0, 1} << false;
        // Check-box lines.
        QTest::newRow("repeat 3") << written("5", "3", "1", "1") << false << "$HOME" << "7" << L{0, 0, 0} << true;
        QTest::newRow("random -1") << written("5", "1", "-1", "1") << false << "$HOME" << "7" << L{1, 0, 0} << true;
        QTest::newRow("fit 1e400") << written("5", "1", "1", "1e400") << false << "$HOME" << "7" << L{1, 1, 0} << true;
        QTest::newRow("repeat 1.5, the grey state") << written("5", "1.5", "0", "0") << true << "$SHOW" << "5" << L{2, 0, 0} << true;
        QTest::newRow("halves to even") << written("5", "0.5", "2.5", "-0.4") << true << "$SHOW" << "5" << L{0, 2, 0} << true;
        QTest::newRow("a word reads 0") << written("5", "abc", "1", "0") << true << "$SHOW" << "5" << L{0, 1, 0} << true;
        QTest::newRow("no line feed after the digits")
            << QByteArray(good).replace("1\n\r\n0\n\r\n1\n\r\n", "1\r\n0\r\n1\r\n") << true << "$SHOW" << "5" << L{1, 0, 1} << true;
        // Interval lines: an invalid one empties the box and leaves the start button off.
        QTest::newRow("interval 60") << written("60") << true << "$SHOW" << "60" << L{1, 0, 1} << true;
        QTest::newRow("interval 1") << written("1") << true << "$SHOW" << "1" << L{1, 0, 1} << true;
        QTest::newRow("interval 12abc") << written("12abc") << true << "$SHOW" << "12abc" << L{1, 0, 1} << true;
        for (const char* bad : {"61", "0", "0.5", "", "abc", "1e9999"}) {
            QTest::addRow("interval \"%s\"", bad) << written(bad) << true << "$SHOW" << "" << L{1, 0, 1} << false;
        }
        QTest::newRow("interval of a million digits") << written(QByteArray(1000000, '9')) << true << "$SHOW" << "" << L{1, 0, 1} << false;
    }
    void startUpFromAFile() {
        QFETCH(QByteArray, file);
        QFETCH(bool, restored);
        QFETCH(QString, showFolder);
        QFETCH(QString, interval);
        QFETCH(QList<int>, checks);
        QFETCH(bool, startEnabled);
        if (!file.isNull()) TestDesktop::writeFile(iniPath(), placed(file));
        desktop->startProgram();
        verifyConsistentStart();
        QCOMPARE(FrmSelect1->Dir1.path(), restored ? place("$ONE") : desktop->home());
        QCOMPARE(FrmSelect12->Dir1.path(), restored ? place("$TWO") : desktop->home());
        QCOMPARE(FrmSelectSld->Dir1.path(), place(showFolder));
        QCOMPARE(FrmSelectSld->Text1.text(), interval);
        QCOMPARE(FrmSelectSld->Check1.value(), checks[0]);
        QCOMPARE(FrmSelectSld->Check2.value(), checks[1]);
        QCOMPARE(FrmSelectSld->Check3.value(), checks[2]);
        QCOMPARE(FrmSelectSld->Command1.isEnabled(), startEnabled);
        QVERIFY(desktop->messages.empty());
    }

    void aFolderOnADriveThatIsGoneGivesTheDefaults() {
        const QString drive = desktop->addDrive("stick");
        const QString onStick = desktop->folder("stick/pics");
        TestDesktop::writeFile(iniPath(), placed(QByteArray(written()).replace("$TWO", onStick.toUtf8())));
        QVERIFY(QDir(drive).removeRecursively());
        desktop->startProgram();
        verifyConsistentStart();
        QCOMPARE(FrmSelect1->Dir1.path(), desktop->home());
        QCOMPARE(FrmSelect12->Dir1.path(), desktop->home());
        QCOMPARE(FrmSelectSld->Text1.text(), QString("7"));
    }

    // The grey state restored from a line 1.5 is not "checked": the show does not repeat.
    void aGreyRepeatBoxDoesNotRepeat() {
        TestDesktop::writeFile(iniPath(), placed(written("5", "1.5", "0", "0")));
        desktop->startProgram();
        QCOMPARE(FrmSelectSld->Check1.value(), 2);
        click(&Form1->CmdSld);
        click(&FrmSelectSld->Command1);
        FrmSelectSld->Timer1.fireTick();
        QCOMPARE(Module1.CurIndexSld, int16_t(1));
        FrmSelectSld->Timer1.fireTick();
        QVERIFY(!FrmSelectSld->Timer1.running());
        QVERIFY(!Form1->CmdBrkSld.isEnabled());
    }

    // A write that cannot be finished leaves what was there as it was, says so, and the
    // program still ends.
    void aFailedWriteKeepsThePreviousFile_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Tessary.ini is a folder") << "folder";
        QTest::newRow("the program folder is missing") << "missing";
        QTest::newRow("the disk fills up during the write") << "full";
    }
    void aFailedWriteKeepsThePreviousFile() {
        QFETCH(QString, how);
        const QByteArray previous = placed(written("9", "0", "0", "0"));
        if (how == "folder") {
            QDir().mkpath(iniPath());
            TestDesktop::writeFile(iniPath() + "/inside", "kept");
        } else {
            TestDesktop::writeFile(iniPath(), previous);
        }
        desktop->startProgram();
        QCOMPARE(FrmSelectSld->Text1.text(), how == "folder" ? QString("7") : QString("9"));
        FrmSelectSld->Text1.setText("30");
        if (how == "missing") platform::setProgramFolder(desktop->root() + "/moved");

        ended = false;
        if (how == "full") {
            // Files may grow to 16 bytes: the write stops part-way, as on a full disk. Nothing
            // is checked before the limit is lifted, since the test's own log is a file too.
            const auto signalBefore = std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit before {};
            getrlimit(RLIMIT_FSIZE, &before);
            struct rlimit small = before;
            small.rlim_cur = 16;
            setrlimit(RLIMIT_FSIZE, &small);
            Form1->closeByFrame();
            setrlimit(RLIMIT_FSIZE, &before);
            std::signal(SIGXFSZ, signalBefore);
        } else {
            Form1->closeByFrame();
        }
        QVERIFY(ended);

        QCOMPARE(int(desktop->messages.size()), 1);
        QCOMPARE(desktop->messages[0].title, QString("Write Error"));
        if (how == "folder") {
            QVERIFY(QFileInfo(iniPath()).isDir());
            QCOMPARE(readAll(iniPath() + "/inside"), QByteArray("kept"));
        } else {
            QCOMPARE(readAll(iniPath()), previous);
        }
        QVERIFY(!QDir(desktop->root() + "/moved").exists());
        // No half-written file is left beside it.
        QStringList left = QDir(desktop->programFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QCOMPARE(left, QStringList{"Tessary.ini"});
    }
};

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
