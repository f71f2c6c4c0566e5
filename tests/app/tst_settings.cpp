// Tessary.ini: written when the control window is closed, read at the next start; where it
// lives, what a damaged or foreign file leads to, a write that cannot be finished, and folders
// whose names would break the file's lines.
#include <sys/resource.h>
#include <unistd.h>

#include <QClipboard>
#include <csignal>

#include "platform/desktop.h"
#include "platform/drives.h"
#include "tests/support/desktop.h"

namespace {
// A file as the program writes it; $ONE, $TWO, $SHOW... stand for the test's folders.
QByteArray written(const QByteArray& interval = "5", const QByteArray& repeat = "1",
                   const QByteArray& random = "0", const QByteArray& fit = "1",
                   const QByteArray& show = "$SHOW") {
    return "$ONE/\n\r\n$TWO/\n\r\n" + show + "/\n\r\n" + interval + "\r\n" + repeat + "\n\r\n" +
           random + "\n\r\n" + fit + "\n\r\n";
}
QList<int> checks() {
    SlideshowSetup& s = *FrmSelectSld;
    return {s.Check1.value(), s.Check2.value(), s.Check3.value()};
}
}  // namespace

class SettingsTest : public DesktopTest {
    Q_OBJECT
    QByteArray placed(QByteArray bytes) const {
        for (const char* name : {"ONE", "TWO", "SHOW", "EMPTY", "GONE"})
            bytes.replace("$" + QByteArray(name),
                          (desktop->home() + "/" + QString(name).toLower()).toUtf8());
        return bytes.replace("$HOME", desktop->home().toUtf8());
    }
    QString place(const QString& text) const { return QString::fromUtf8(placed(text.toUtf8())); }
    // Closes the control window, which ends the program, and starts it again.
    void closeAndRestart() {
        desktop->ended = false;
        Form1->closeByFrame();
        QVERIFY(desktop->ended && !FrmSelect1.exists() && !FrmSelectSld.exists());
        desktop->restart();
        QCOMPARE(inconsistency(), QString());
    }
    // The same bytes wherever the file lives: every chooser home but the show's on home/pics.
    QByteArray homeFile(const QByteArray& interval) const {
        const QByteArray home = desktop->home().toUtf8();
        return home + "/\n\r\n" + home + "/\n\r\n" + home + "/pics/\n\r\n" + interval +
               "\r\n0\n\r\n0\n\r\n0\n\r\n";
    }
    void prepare() override {
        for (const char* name : {"one", "empty"}) desktop->folder(QString("home/") + name);
        desktop->folder("home/two", 3), desktop->folder("home/show", 2);
        desktop->stop();
    }

private slots:
    // Written byte for byte, read back at the next run (whose drives remember nothing of the
    // last), written again the same; a drive's root with one separator. With the drive gone,
    // a folder on it cannot be read: the first run's defaults.
    void settingsComeBackAtTheNextStart() {
        const QString drive = desktop->addDrive("stick");
        const QString onStick = desktop->folder("stick/pics", 2);
        const QString shows = desktop->folder("home/写真", 2);
        desktop->start();
        FrmSelect1->Dir1.setPath("/");
        FrmSelect12->Drive1.setDrive(drive);
        FrmSelect12->Dir1.setPath(onStick);
        FrmSelect12->Check1.setValue(1);  // the fit box, shared by all three
        FrmSelectSld->Dir1.setPath(shows);
        FrmSelectSld->Text1.setText("2.5");
        FrmSelectSld->Check1.setValue(1);
        const QByteArray expected =
            ("/\n\r\n" + onStick + "/\n\r\n" + shows + "/\n\r\n2.5\r\n1\n\r\n0\n\r\n1\n\r\n")
                .toUtf8();
        for (int run = 0; run < 2; ++run) {
            closeAndRestart();
            QCOMPARE(readAll(desktop->iniPath()), expected);
            QCOMPARE(FrmSelect1->Dir1.path(), QString("/"));
            QCOMPARE(FrmSelect12->Dir1.path(), onStick);
            QCOMPARE(FrmSelectSld->Dir1.path(), shows);
            QCOMPARE(FrmSelectSld->Text1.text(), QString("2.5"));
            QCOMPARE(checks(), QList<int>({1, 0, 1}));
        }
        QVERIFY(QDir(drive).removeRecursively());
        desktop->restart();
        QCOMPARE(FrmSelect12->Dir1.path(), desktop->home());
        QCOMPARE(FrmSelectSld->Text1.text(), QString("7"));
    }

    // Each file gives a start in a sound state: what it holds, or the first run's defaults
    // where reading fails, with the check boxes set before the failure kept.
    void startUpFromAFile_data() {
        QTest::addColumn<QByteArray>("file");  // null: no file at all
        QTest::addColumn<bool>("restored");    // false: every folder home, the interval 7
        QTest::addColumn<QString>("showFolder");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QList<int>>("checks");
        using L = QList<int>;
        const QByteArray good = written();
        const auto row = [](const char* name, const QByteArray& file, bool restored,
                            const char* show, const char* interval, L checks) {
            QTest::newRow(name) << file << restored << show << interval << checks;
        };
        row("no file", QByteArray(), false, "$HOME", "7", {0, 0, 0});
        row("as the program writes it", good, true, "$SHOW", "5", {1, 0, 1});
        row("empty", "", false, "$HOME", "7", {0, 0, 0});
        row("six lines", good.left(good.lastIndexOf("1\n\r\n")), false, "$HOME", "7", {0, 0, 0});
        row("the last line without its end", good.chopped(3), true, "$SHOW", "5", {1, 0, 1});
        row("an eighth line", good + "0\n\r\n", true, "$SHOW", "5", {1, 0, 1});
        row("line feeds only", QByteArray(good).replace("\r\n", "\n"), false, "$HOME", "7",
            {0, 0, 0});
        row("binary", QByteArray(4096, '\xe5'), false, "$HOME", "7", {0, 0, 0});
        row("a folder line of a million characters",
            QByteArray(1000000, 'a') + good.mid(good.indexOf("\r\n")), false, "$HOME", "7",
            {0, 0, 0});
        row("the slideshow folder is gone", written("5", "1", "0", "1", "$GONE"), false, "$HOME",
            "7", {0, 0, 0});
        row("a slideshow folder without pictures", written("5", "1", "0", "1", "$EMPTY"), true,
            "$EMPTY", "5", {1, 0, 1});
        row("repeat 3", written("5", "3", "1", "1"), false, "$HOME", "7", {0, 0, 0});
        row("random -1", written("5", "1", "-1", "1"), false, "$HOME", "7", {1, 0, 0});
        row("fit 1e400", written("5", "1", "1", "1e400"), false, "$HOME", "7", {1, 1, 0});
        row("repeat 1.5, the grey state", written("5", "1.5", "0", "0"), true, "$SHOW", "5",
            {2, 0, 0});
        row("halves to even", written("5", "0.5", "2.5", "-0.4"), true, "$SHOW", "5", {0, 2, 0});
        row("a word reads 0", written("5", "abc", "1", "0"), true, "$SHOW", "5", {0, 1, 0});
        row("no line feed after the digits",
            QByteArray(good).replace("1\n\r\n0\n\r\n1\n\r\n", "1\r\n0\r\n1\r\n"), true, "$SHOW",
            "5", {1, 0, 1});
        row("interval 12abc", written("12abc"), true, "$SHOW", "12abc", {1, 0, 1});
        row("interval 61", written("61"), true, "$SHOW", "", {1, 0, 1});
        row("interval of a million digits", written(QByteArray(1000000, '9')), true, "$SHOW", "",
            {1, 0, 1});
    }
    void startUpFromAFile() {
        QFETCH(QByteArray, file);
        QFETCH(bool, restored);
        QFETCH(QString, showFolder);
        QFETCH(QString, interval);
        QFETCH(QList<int>, checks);
        if (!file.isNull()) writeFile(desktop->iniPath(), placed(file));
        desktop->start();
        QCOMPARE(inconsistency(), QString());
        QCOMPARE(FrmSelect1->Dir1.path(), restored ? place("$ONE") : desktop->home());
        QCOMPARE(FrmSelect12->Dir1.path(), restored ? place("$TWO") : desktop->home());
        QCOMPARE(FrmSelectSld->Dir1.path(), place(showFolder));
        QCOMPARE(FrmSelectSld->Text1.text(), interval);
        QCOMPARE(::checks(), checks);
        if (checks[0] != 2) return;
        click(Form1->CmdSld);  // the grey repeat box is not "checked": the show ends
        click(FrmSelectSld->Command1);
        tick(), tick();
        QVERIFY(!FrmSelectSld->Timer1.running() && !Form1->CmdBrkSld.isEnabled());
    }

    // A write that cannot be finished leaves what was there, and nothing half-written beside
    // it, says so, and the program still ends.
    void aFailedWriteKeepsThePreviousFile_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Tessary.ini is a folder") << "folder";
        QTest::newRow("no folder for it can be made") << "missing";
        QTest::newRow("the disk fills up during the write") << "full";
        QTest::newRow("no folder for it can be written in") << "read-only";
    }
    void aFailedWriteKeepsThePreviousFile() {
        QFETCH(QString, how);
        const QByteArray previous = placed(written("9", "0", "0", "0"));
        how == "folder" ? void(QDir().mkpath(desktop->iniPath() + "/inside"))
                        : writeFile(desktop->iniPath(), previous);
        desktop->start();
        FrmSelectSld->Text1.setText("30");
        if (how == "missing") platform::setProgramFolder(desktop->root() + "/moved");
        if (how == "read-only") platform::setProgramFolder("/proc");  // not even root writes there
        if (how == "missing" || how == "read-only")  // the user's folder cannot be made either
            writeFile(desktop->configFolder(), "a file where the folder would be");
        // "full": files may grow to 16 bytes, so the write stops part-way as on a full disk.
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
        QVERIFY(how == "folder" ? QFileInfo(desktop->iniPath() + "/inside").isDir()
                                : readAll(desktop->iniPath()) == previous);
        QVERIFY(!QDir(desktop->root() + "/moved").exists());
        QCOMPARE(QDir(desktop->programFolder())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"Tessary.ini"});
    }

    // A portable copy keeps the file beside itself; an installed one (beside
    // share/applications) or one in a folder its user cannot write keeps it in the user's
    // folder, the same bytes, and reads a copy installed with it until the user has one.
    void whereTheFileLives_data() {
        QTest::addColumn<QString>("layout");
        for (const char* layout : {"portable", "installed", "read-only"})
            QTest::newRow(layout) << layout;
    }
    void whereTheFileLives() {
        QFETCH(QString, layout);
        QString folder = desktop->programFolder();
        if (layout == "installed") {
            folder = desktop->folder("usr/bin");
            writeFile(desktop->folder("usr/share/applications") + "/tessary.desktop", "");
            writeFile(folder + "/Tessary.ini", homeFile("33"));
        }
        if (layout == "read-only") {
            if (geteuid() == 0) QSKIP("root writes every folder");
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        }
        platform::setProgramFolder(folder);
        desktop->start();
        QCOMPARE(FrmSelectSld->Text1.text(), QString(layout == "installed" ? "33" : "7"));
        FrmSelectSld->Dir1.setPath(pics);
        FrmSelectSld->Text1.setText("12");
        const QString file = layout == "portable"
                                 ? folder + "/Tessary.ini"
                                 : desktop->configFolder() + "/tessary/Tessary.ini";
        closeAndRestart();
        QCOMPARE(readAll(file), homeFile("12"));
        QCOMPARE(QDir(desktop->configFolder()).exists(), layout != "portable");
        if (layout == "installed") QCOMPARE(readAll(folder + "/Tessary.ini"), homeFile("33"));
        QCOMPARE(FrmSelectSld->Text1.text(), QString("12"));
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A folder whose path holds a CR or LF is saved as its nearest ancestor without one, and an
    // interval pasted with line breaks up to the first: the file keeps its seven lines.
    void aLineBreakInAFolderOrTheIntervalKeepsTheSevenLines() {
        const QString parent = desktop->folder("home/parent");
        desktop->start();
        FrmSelect1->Dir1.setPath(desktop->folder("home/parent/a\rb/below"));
        FrmSelect12->Dir1.setPath(desktop->folder("home/c\nd"));
        FrmSelectSld->Dir1.setPath(desktop->folder("home/show/e\r\n"));
        QGuiApplication::clipboard()->setText("5\r\n1\r\n1\r");
        FrmSelectSld->Text1.widget()->selectAll();
        FrmSelectSld->Text1.widget()->paste();
        closeAndRestart();
        QCOMPARE(readAll(desktop->iniPath()), (parent + "/\n\r\n" + desktop->home() + "/\n\r\n" +
                                               place("$SHOW") + "/\n\r\n5\r\n0\n\r\n0\n\r\n0\n\r\n")
                                                  .toUtf8());
        QCOMPARE(FrmSelect1->Dir1.path(), parent);
        QCOMPARE(FrmSelectSld->Dir1.path(), place("$SHOW"));
        QCOMPARE(FrmSelectSld->Text1.text(), QString("5"));
    }
};

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
