// Tessary.ini: written when the control window is closed, read at the next start; where it
// lives, what a damaged or foreign file leads to, a write that cannot be finished, and folders
// whose names would break the file's lines.
#include <sys/resource.h>

#include <QClipboard>
#include <csignal>

#include "platform/settings_location.h"
#include "tests/support/desktop.h"

class SettingsTest : public DesktopTest {
    Q_OBJECT
    // "¶" stands for CR LF, "^" for CR, "~" for LF, "$ONE" for home/one and so on.
    QByteArray placed(QString text) const {
        for (const char* name : {"ONE", "TWO", "SHOW", "EMPTY", "GONE", "PICS"})
            text.replace("$" + QString(name), desktop->home() + "/" + QString(name).toLower());
        return text.replace("$HOME", desktop->home())
            .replace("¶", "\r\n")
            .replace("^", "\r")
            .replace("~", "\n")
            .toUtf8();
    }
    // Closes the control window, which ends the program, and starts it again.
    void closeAndRestart() {
        desktop->ended = false;
        Form1->closeByFrame();
        QVERIFY(desktop->ended && !FrmSelect1.exists() && !FrmSelectSld.exists());
        desktop->restart();
        QCOMPARE(inconsistency(), QString());
    }
    QString checks() {
        SlideshowSetup& s = *FrmSelectSld;
        return QString("%1 %2 %3")
            .arg(s.Check1.value())
            .arg(s.Check2.value())
            .arg(s.Check3.value());
    }
    void prepare() override {
        desktop->folder("home/one"), desktop->folder("home/empty"), desktop->folder("home/two", 3);
        desktop->folder("home/show", 2), desktop->stop();
    }

private slots:
    // Written byte for byte, read back at the next run, written again the same; a drive's root
    // with one separator. With the drive gone, a folder on it cannot be read: the defaults.
    void settingsComeBackAtTheNextStart() {
        const QString drive = desktop->addDrive("stick"),
                      onStick = desktop->folder("stick/pics", 2);
        const QString shows = desktop->folder("home/写真", 2);
        desktop->start();
        FrmSelect1->Dir1.setPath("/");
        FrmSelect12->Drive1.setDrive(drive), FrmSelect12->Dir1.setPath(onStick);
        FrmSelect12->Check1.setValue(1);  // the fit box, shared by all three
        FrmSelectSld->Dir1.setPath(shows), FrmSelectSld->Text1.setText("2.5"),
            FrmSelectSld->Check1.setValue(1);
        for (int run = 0; run < 2; ++run) {
            closeAndRestart();
            QCOMPARE(readAll(desktop->iniPath()),
                     placed("/~¶" + onStick + "/~¶" + shows + "/~¶2.5¶1~¶0~¶1~¶"));
            QCOMPARE(FrmSelect1->Dir1.path() + FrmSelect12->Dir1.path() + FrmSelectSld->Dir1.path(),
                     "/" + onStick + shows);
            QCOMPARE(FrmSelectSld->Text1.text() + " " + checks(), QString("2.5 1 0 1"));
        }
        QVERIFY(QDir(drive).removeRecursively());
        desktop->restart();
        QCOMPARE(FrmSelect12->Dir1.path() + " " + FrmSelectSld->Text1.text(),
                 desktop->home() + " 7");
    }

    // Each file gives a start in a sound state: what it holds, or the first run's defaults
    // (every folder home, the interval 7) where reading fails, with the check boxes set before
    // the failure kept.
    void startUpFromAFile_data() {
        for (const char* column : {"file", "folders", "interval", "checks"})
            QTest::addColumn<QString>(column);
        const QString good = "$ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶0~¶1~¶", home = "$HOME $HOME $HOME";
        QTest::newRow("no file") << QString() << home << "7"
                                 << "0 0 0";
        QTest::newRow("binary") << QString(4096, QChar(0xe5)) << home << "7"
                                << "0 0 0";
        QTest::newRow("a folder line of a million characters")
            << QString(1000000, 'a') + good.mid(5) << home << "7"
            << "0 0 0";
        QTest::newRow("interval of a million digits")
            << QString(good).replace("¶5¶", "¶" + QString(1000000, '9') + "¶") << "$ONE $TWO $SHOW"
            << ""
            << "1 0 1";
        for (const QString& line : QString(R"(
as the program writes it      | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶0~¶1~¶   | $ONE $TWO $SHOW   | 5     | 1 0 1
empty                         |                                     | $HOME $HOME $HOME | 7     | 0 0 0
six lines                     | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶0~¶      | $HOME $HOME $HOME | 7     | 0 0 0
the last line without its end | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶0~¶1     | $ONE $TWO $SHOW   | 5     | 1 0 1
an eighth line                | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶0~¶1~¶0~¶ | $ONE $TWO $SHOW  | 5     | 1 0 1
line feeds only               | $ONE/~~$TWO/~~$SHOW/~~5~1~~0~~1~~   | $HOME $HOME $HOME | 7     | 0 0 0
no line feed after the digits | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1¶0¶1¶      | $ONE $TWO $SHOW   | 5     | 1 0 1
carriage returns only         | $ONE/^$TWO/^$SHOW/^5^1^0^1^         | $ONE $TWO $SHOW   | 5     | 1 0 1
the show's folder is gone     | $ONE/~¶$TWO/~¶$GONE/~¶5¶1~¶0~¶1~¶   | $HOME $HOME $HOME | 7     | 0 0 0
a show folder, no pictures    | $ONE/~¶$TWO/~¶$EMPTY/~¶5¶1~¶0~¶1~¶  | $ONE $TWO $EMPTY  | 5     | 1 0 1
repeat 3                      | $ONE/~¶$TWO/~¶$SHOW/~¶5¶3~¶1~¶1~¶   | $HOME $HOME $HOME | 7     | 0 0 0
random -1                     | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶-1~¶1~¶  | $HOME $HOME $HOME | 7     | 1 0 0
fit 1e400                     | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶1~¶1e400~¶ | $HOME $HOME $HOME | 7   | 1 1 0
repeat 1.5, the grey state    | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1.5~¶0~¶0~¶ | $ONE $TWO $SHOW   | 5     | 2 0 0
halves to even                | $ONE/~¶$TWO/~¶$SHOW/~¶5¶0.5~¶2.5~¶-0.4~¶ | $ONE $TWO $SHOW | 5  | 0 2 0
a word reads 0                | $ONE/~¶$TWO/~¶$SHOW/~¶5¶abc~¶1~¶0~¶ | $ONE $TWO $SHOW   | 5     | 0 1 0
interval 12abc                | $ONE/~¶$TWO/~¶$SHOW/~¶12abc¶1~¶0~¶1~¶ | $ONE $TWO $SHOW | 12abc | 1 0 1
interval 61                   | $ONE/~¶$TWO/~¶$SHOW/~¶61¶1~¶0~¶1~¶  | $ONE $TWO $SHOW   |       | 1 0 1
)")
                                       .split('\n', Qt::SkipEmptyParts)) {
            const QStringList c = line.split('|');
            QTest::newRow(qPrintable(c[0].trimmed()))
                << c[1].trimmed() << c[2].trimmed() << c[3].trimmed() << c[4].trimmed();
        }
    }
    void startUpFromAFile() {
        QFETCH(QString, file);
        QFETCH(QString, folders);
        QFETCH(QString, interval);
        QFETCH(QString, checks);
        if (!file.isNull()) writeFile(desktop->iniPath(), placed(file));
        desktop->start();
        QCOMPARE(inconsistency(), QString());
        QCOMPARE(FrmSelect1->Dir1.path() + " " + FrmSelect12->Dir1.path() + " " +
                     FrmSelectSld->Dir1.path(),
                 QString::fromUtf8(placed(folders)));
        QCOMPARE(FrmSelectSld->Text1.text(), interval);
        QCOMPARE(this->checks(), checks);
        if (checks[0] != '2') return;
        click(Form1->CmdSld), click(FrmSelectSld->Command1), tick(), tick();
        QVERIFY(!FrmSelectSld->Timer1.running());  // a grey repeat box is not "checked"
    }

    // A write that cannot be finished leaves what was there, and nothing half-written beside
    // it, says so, and the program still ends.
    void aFailedWriteKeepsThePreviousFile_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"Tessary.ini is a folder", "no folder can be made",
                                "the disk fills up", "no folder can be written in"})
            QTest::newRow(how) << how;
    }
    void aFailedWriteKeepsThePreviousFile() {
        QFETCH(QString, how);
        const QByteArray previous = placed("$ONE/~¶$TWO/~¶$SHOW/~¶9¶0~¶0~¶0~¶");
        how.endsWith("folder") ? void(QDir().mkpath(desktop->iniPath() + "/inside"))
                               : writeFile(desktop->iniPath(), previous);
        desktop->start();
        FrmSelectSld->Text1.setText("30");
        if (how.startsWith("no folder")) {  // the user's folder cannot be made either
            platform::setProgramFolder(how.endsWith("made") ? desktop->root() + "/moved" : "/proc");
            writeFile(desktop->configFolder(), "a file where the folder would be");
        }
        // Files may grow to 16 bytes: the write stops part-way, as on a full disk.
        const auto signalBefore = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit before {};
        getrlimit(RLIMIT_FSIZE, &before);
        struct rlimit small = before;
        small.rlim_cur = 16;
        if (how.endsWith("up")) setrlimit(RLIMIT_FSIZE, &small);
        Form1->closeByFrame();
        setrlimit(RLIMIT_FSIZE, &before), std::signal(SIGXFSZ, signalBefore);
        QVERIFY(desktop->ended && desktop->shownOnce("Write Error"));
        QVERIFY(how.endsWith("folder") ? QFileInfo(desktop->iniPath()).isDir()
                                       : readAll(desktop->iniPath()) == previous);
        QVERIFY(!QDir(desktop->root() + "/moved").exists());
        QCOMPARE(QDir(desktop->programFolder())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"Tessary.ini"});
    }

    // A portable copy keeps the file beside itself; an installed one (beside share/applications)
    // keeps it in the user's folder, the same bytes, and reads a copy installed with it until
    // the user has one. (A folder its user cannot write is the end-to-end test's: root writes
    // every folder.)
    void whereTheFileLives_data() {
        QTest::addColumn<QString>("layout");
        for (const char* layout : {"portable", "installed"}) QTest::newRow(layout) << layout;
    }
    void whereTheFileLives() {
        QFETCH(QString, layout);
        QString folder = desktop->programFolder();
        const QByteArray installed = placed("$HOME/~¶$HOME/~¶$PICS/~¶33¶0~¶0~¶0~¶");
        if (layout == "installed") {
            folder = desktop->folder("usr/bin");
            writeFile(desktop->folder("usr/share/applications") + "/tessary.desktop", "");
            writeFile(folder + "/Tessary.ini", installed);
        }
        platform::setProgramFolder(folder);
        desktop->start();
        QCOMPARE(FrmSelectSld->Text1.text(), QString(layout == "installed" ? "33" : "7"));
        FrmSelectSld->Dir1.setPath(pics), FrmSelectSld->Text1.setText("12");
        closeAndRestart();
        const QString file = layout == "portable" ? folder : desktop->configFolder() + "/tessary";
        QCOMPARE(readAll(file + "/Tessary.ini"), placed("$HOME/~¶$HOME/~¶$PICS/~¶12¶0~¶0~¶0~¶"));
        QCOMPARE(QDir(desktop->configFolder()).exists(), layout != "portable");
        if (layout == "installed") QCOMPARE(readAll(folder + "/Tessary.ini"), installed);
        QCOMPARE(FrmSelectSld->Text1.text(), QString("12"));
    }

    // A folder whose path holds a CR or LF is saved as its nearest ancestor without one, and an
    // interval pasted with line breaks up to the first: the file keeps its seven lines.
    void aLineBreakInAFolderOrTheIntervalKeepsTheSevenLines() {
        desktop->start();
        FrmSelect1->Dir1.setPath(desktop->folder("home/one/a\rb/below"));
        FrmSelect12->Dir1.setPath(desktop->folder("home/c\nd"));
        FrmSelectSld->Dir1.setPath(desktop->folder("home/show/e\r\n"));
        QGuiApplication::clipboard()->setText("5\r\n1\r\n1\r");
        FrmSelectSld->Text1.widget()->selectAll(), FrmSelectSld->Text1.widget()->paste();
        closeAndRestart();
        QCOMPARE(readAll(desktop->iniPath()), placed("$ONE/~¶$HOME/~¶$SHOW/~¶5¶0~¶0~¶0~¶"));
        QCOMPARE(FrmSelect1->Dir1.path() + FrmSelectSld->Text1.text(), desktop->home() + "/one5");
    }
};

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
