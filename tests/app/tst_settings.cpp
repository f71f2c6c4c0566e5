// Tessary.ini: written when the control window closes, read at the next start.
#include <sys/resource.h>

#include <QClipboard>
#include <array>
#include <csignal>

#include "platform/settings_location.h"
#include "tests/support/desktop.h"

class SettingsTest : public DesktopTest {
    Q_OBJECT
    // "¶" stands for CR LF, "^" for CR, "~" for LF, "$ONE" for home/one and so on.
    QByteArray placed(QString text) const {
        text.replace("$BINARY", QString(4096, QChar(0xe5))).replace("$HOME", desktop->home());
        text.replace("$LONG", QString(1e6, 'a')).replace("$NINES", QString(1e6, '9'));
        for (const char* name : {"ONE", "TWO", "SHOW", "EMPTY", "GONE", "PICS"})
            text.replace("$" + QString(name), desktop->home() + "/" + QString(name).toLower());
        return text.replace("¶", "\r\n").replace("^", "\r").replace("~", "\n").toUtf8();
    }
    void closeAndRestart() {  // closing the control window ends the program
        desktop->ended = false;
        Form1->closeByFrame();
        QVERIFY(desktop->ended && !FrmSelect1.exists() && !FrmSelectSld.exists());
        desktop->restart();
        QCOMPARE(inconsistency(), QString());
    }
    QString shown() {
        const SlideshowSetup& s = *FrmSelectSld;
        return QStringList{FrmSelect1->Dir1.path(), FrmSelect12->Dir1.path(), s.Dir1.path(),
                           s.Text1.text(),
                           QString::asprintf("%d %d %d", int(s.Check1.value()),
                                             int(s.Check2.value()), int(s.Check3.value()))}
            .join(' ');
    }
    void prepare() override {
        desktop->folder("home/one"), desktop->folder("home/empty"), desktop->folder("home/two", 3);
        desktop->folder("home/show", 2), desktop->stop();
    }

private slots:
    // Byte for byte, read back, written again the same; with the drive gone, the defaults.
    void settingsComeBackAtTheNextStart() {
        const QString drive = desktop->addDrive("stick"), onStick = desktop->folder("stick/p", 2);
        const QString shows = desktop->folder("home/写真", 2);
        desktop->start();
        FrmSelect1->Dir1.setPath("/");
        FrmSelect12->Drive1.setDrive(drive), FrmSelect12->Dir1.setPath(onStick);
        FrmSelect12->Check1.setValue(1);  // the fit box, shared by all three
        FrmSelectSld->Dir1.setPath(shows), FrmSelectSld->Text1.setText("2.5");
        FrmSelectSld->Check1.setValue(1);
        for (int run = 0; run < 2; ++run) {
            closeAndRestart();
            QCOMPARE(readAll(desktop->iniPath()),
                     placed("/~¶" + onStick + "/~¶" + shows + "/~¶2.5¶1~¶0~¶1~¶"));
            QCOMPARE(shown(), "/ " + onStick + " " + shows + " 2.5 1 0 1");
            QVERIFY(!QDir(desktop->configFolder()).exists());  // a portable copy keeps it beside
        }
        QVERIFY(QDir(drive).removeRecursively());
        desktop->restart();
        QCOMPARE(FrmSelect12->Dir1.path() + " " + FrmSelectSld->Text1.text(),
                 desktop->home() + " 7");
    }
    // What the file holds, or the defaults with the check boxes read before a failure kept.
    void startUpFromAFile_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("shown");
        addRows(R"(
no file                       |                                     | $HOME $HOME $HOME 7 0 0 0
binary                        | $BINARY                             | $HOME $HOME $HOME 7 0 0 0
a million-character folder    | $LONG~¶$TWO/~¶$SHOW/~¶5¶1~¶0~¶1~¶   | $HOME $HOME $HOME 7 0 0 0
a million-digit interval      | $ONE/~¶$TWO/~¶$SHOW/~¶$NINES¶1~¶0~¶1~¶ | $ONE $TWO $SHOW  1 0 1
as the program writes it      | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶0~¶1~¶   | $ONE $TWO $SHOW 5 1 0 1
six lines                     | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶0~¶      | $HOME $HOME $HOME 7 0 0 0
the last line without its end | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶0~¶1     | $ONE $TWO $SHOW 5 1 0 1
an eighth line                | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶0~¶1~¶0~¶ | $ONE $TWO $SHOW 5 1 0 1
line feeds only               | $ONE/~~$TWO/~~$SHOW/~~5~1~~0~~1~~   | $HOME $HOME $HOME 7 0 0 0
carriage returns only         | $ONE/^$TWO/^$SHOW/^5^1^0^1^         | $ONE $TWO $SHOW 5 1 0 1
the show's folder is gone     | $ONE/~¶$TWO/~¶$GONE/~¶5¶1~¶0~¶1~¶   | $HOME $HOME $HOME 7 0 0 0
a show folder, no pictures    | $ONE/~¶$TWO/~¶$EMPTY/~¶5¶1~¶0~¶1~¶  | $ONE $TWO $EMPTY 5 1 0 1
random -1                     | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶-1~¶1~¶  | $HOME $HOME $HOME 7 1 0 0
fit 1e400                     | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶1~¶1e400~¶ | $HOME $HOME $HOME 7 1 1 0
repeat 1.5, the grey state    | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1.5~¶0~¶0~¶ | $ONE $TWO $SHOW 5 2 0 0
halves to even                | $ONE/~¶$TWO/~¶$SHOW/~¶5¶0.5~¶2.5~¶-0.4~¶ | $ONE $TWO $SHOW 5 0 2 0
a word reads 0                | $ONE/~¶$TWO/~¶$SHOW/~¶5¶abc~¶1~¶0~¶ | $ONE $TWO $SHOW 5 0 1 0
interval 12abc                | $ONE/~¶$TWO/~¶$SHOW/~¶12abc¶1~¶0~¶1~¶ | $ONE $TWO $SHOW 12abc 1 0 1
)",
                2);
    }
    void startUpFromAFile() {
        QFETCH(QString, file);
        QFETCH(QString, shown);
        if (!file.isEmpty()) writeFile(desktop->iniPath(), placed(file));
        desktop->start();
        QCOMPARE(inconsistency(), QString());
        QCOMPARE(this->shown(), QString::fromUtf8(placed(shown)));
        if (!shown.endsWith("2 0 0")) return;
        click(Form1->CmdSld), click(FrmSelectSld->Command1), tick(), tick();
        QVERIFY(!FrmSelectSld->Timer1.running());  // a grey repeat box is not "checked"
    }
    // A write that cannot be finished leaves the previous file and nothing beside it, says so.
    void aFailedWriteKeepsThePreviousFile_data() {
        QTest::addColumn<QString>("how");
        for (const char* how :
             {"Tessary.ini is a folder", "no folder can be made", "the disk fills up"})
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
            platform::setProgramFolder(desktop->root() + "/moved");
            writeFile(desktop->configFolder(), "a file where the folder would be");
        }
        const auto signalBefore = std::signal(SIGXFSZ, SIG_IGN);  // as on a full disk
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        if (how.endsWith("up"))
            setrlimit(RLIMIT_FSIZE, std::array{rlimit{16, before.rlim_max}}.data());
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
    // Installed (beside share/applications), the file is the user's, read from the copy
    // installed with the program until the user has one.
    void anInstalledCopyKeepsTheFileInTheUsersFolder() {
        const QString folder = desktop->folder("usr/bin");
        const QByteArray installed = placed("$HOME/~¶$HOME/~¶$PICS/~¶33¶0~¶0~¶0~¶");
        writeFile(desktop->folder("usr/share/applications") + "/tessary.desktop", "");
        writeFile(folder + "/Tessary.ini", installed);
        platform::setProgramFolder(folder);
        desktop->start();
        QCOMPARE(FrmSelectSld->Text1.text(), QString("33"));
        FrmSelectSld->Text1.setText("12");
        closeAndRestart();
        QCOMPARE(readAll(desktop->configFolder() + "/tessary/Tessary.ini"),
                 placed("$HOME/~¶$HOME/~¶$PICS/~¶12¶0~¶0~¶0~¶"));
        QCOMPARE(readAll(folder + "/Tessary.ini"), installed);
        QCOMPARE(FrmSelectSld->Text1.text(), QString("12"));
    }
    // A folder with a CR or LF is saved as its nearest ancestor without, a pasted interval up
    // to the first break: the file keeps its seven lines.
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
