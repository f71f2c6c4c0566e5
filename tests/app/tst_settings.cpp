// Tessary.ini: written when the control window closes, read at the next start.
#include <QClipboard>

#include "platform/text_file.h"
#include "tests/support/desktop.h"

class SettingsTest : public DesktopTest {
    Q_OBJECT
    // "¶" stands for CR LF, "^" for CR, "~" for LF, "$ONE" for home/one and so on, "$ROOT" for
    // the root ("/", "C:/"), "$home" for home typed with a small drive letter; in the system's
    // separator and code page, as the program writes it.
    QByteArray placed(QString text) const {
        text.replace("$home", desktop->home().left(1).toLower() + desktop->home().mid(1));
        for (const char* name : {"ONE", "TWO", "SHOW", "EMPTY", "GONE"})
            text.replace("$" + QString(name), desktop->home() + "/" + QString(name).toLower());
        text.replace("$HOME", desktop->home()).replace("$STICK", desktop->root() + "/stick").replace("$NINES", QString(1e6, '9'));
        text.replace("$ROOT", QDir::rootPath()).replace("¶", "\r\n").replace("^", "\r");
        return platform::toSystemCodePage(platform::shownPath(text.replace("~", "\n")));
    }
    void closeAndRestart() {  // closing the control window ends the program
        desktop->ended = false, Form1->closeByFrame();
        QVERIFY(desktop->ended && !FrmSelect1.exists() && !FrmSelectSld.exists());
        desktop->restart();
        QCOMPARE(inconsistency(), QString());
    }
    QString shown() {
        const SlideshowSetup& s = *FrmSelectSld;
        const QString checks =
            QString::asprintf("%d %d %d", s.Check1.value(), s.Check2.value(), s.Check3.value());
        return platform::shownPath(QStringList{FrmSelect1->Dir1.path(), FrmSelect12->Dir1.path(),
                                               s.Dir1.path(), s.Text1.text(), checks}
                                       .join(' '));
    }
    void prepare() override {
        desktop->folder("home/one"), desktop->folder("home/empty"), desktop->folder("home/two", 3);
        desktop->folder("home/show", 2), desktop->stop();
    }
private slots:
    // Byte for byte, and read back.
    void settingsComeBackAtTheNextStart() {
        const QString drive = desktop->addDrive("stick"), onStick = desktop->folder("stick/p", 2);
        const QString shows = desktop->folder("home/写真", 2);
        desktop->start(), FrmSelect1->Dir1.setPath(QDir::rootPath());
        FrmSelect12->Drive1.setDrive(drive), FrmSelect12->Dir1.setPath(onStick);
        FrmSelect12->Check1.setValue(1);  // the fit box, shared by all three
        FrmSelectSld->Dir1.setPath(shows), FrmSelectSld->Text1.setText("2.5");
        FrmSelectSld->Check1.setValue(1);
        closeAndRestart();
        const QByteArray ini = readAll(desktop->iniPath());
        QCOMPARE(ini, placed("$ROOT~¶" + onStick + "/~¶" + shows + "/~¶2.5¶1~¶0~¶1~¶"));
        QCOMPARE(shown(), platform::fromSystemCodePage(
                              placed("$ROOT " + onStick + " " + shows + " 2.5 1 0 1")));
        QVERIFY(!QDir(desktop->configFolder()).exists());  // a portable copy keeps it beside
        if (QSysInfo::productType() == "windows" &&
            QLocale::system().language() == QLocale::Japanese)
            QVERIFY(ini.contains("\\\x8e\xca\x90^\\\n\r\n"));  // 写真, Shift-JIS
    }
    // What the file holds, or the defaults with the check boxes read before a failure kept.
    void startUpFromAFile_data() {
        addRows(R"(
no file                       |                                     | $HOME $HOME $HOME 7 0 0 0
a million-digit interval      | $ONE/~¶$TWO/~¶$SHOW/~¶$NINES¶1~¶0~¶1~¶ | $ONE $TWO $SHOW  1 0 1
as the program writes it      | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶0~¶1~¶   | $ONE $TWO $SHOW 5 1 0 1
a drive in small letters      | $home/one/~¶$TWO/~¶$SHOW/~¶5¶1~¶0~¶1~¶ | $ONE $TWO $SHOW 5 1 0 1
six lines                     | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶0~¶      | $HOME $HOME $HOME 7 0 0 0
the last line without its end | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶0~¶1     | $ONE $TWO $SHOW 5 1 0 1
carriage returns only         | $ONE/^$TWO/^$SHOW/^5^1^0^1^         | $ONE $TWO $SHOW 5 1 0 1
the show's folder is gone     | $ONE/~¶$TWO/~¶$GONE/~¶5¶1~¶0~¶1~¶   | $HOME $HOME $HOME 7 0 0 0
another drive, then one gone  | $STICK/~¶$TWO/~¶$GONE/~¶5¶1~¶0~¶1~¶ | $HOME $HOME $HOME 7 0 0 0
a show folder, no pictures    | $ONE/~¶$TWO/~¶$EMPTY/~¶5¶1~¶0~¶1~¶  | $ONE $TWO $EMPTY 5 1 0 1
random -1                     | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶-1~¶1~¶  | $HOME $HOME $HOME 7 1 0 0
fit 1e400                     | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1~¶1~¶1e400~¶ | $HOME $HOME $HOME 7 1 1 0
halves to even, grey repeat   | $ONE/~¶$TWO/~¶$SHOW/~¶5¶1.5~¶2.5~¶-0.4~¶ | $ONE $TWO $SHOW 5 2 2 0
)",
                {"file", "shown"});
    }
    void startUpFromAFile() {
        const auto [file, shown] = fetch("file", "shown");
        if (QSysInfo::productType() != "windows" && file.contains("$home"))
            QSKIP("Drive letters are Windows' alone");
        if (!file.isEmpty()) writeFile(desktop->iniPath(), placed(file));
        if (file.contains("$STICK")) desktop->addDrive("stick");
        desktop->start();
        QCOMPARE(inconsistency(), QString());
        QCOMPARE(this->shown(), platform::fromSystemCodePage(placed(shown)));
        if (!shown.endsWith("2 2 0")) return;
        click(Form1->CmdSld), click(FrmSelectSld->Command1), tick(), tick();
        QVERIFY(!FrmSelectSld->Timer1.running());  // a grey repeat box is not "checked"
    }
    // A write that cannot be finished leaves the previous file and nothing beside it, says so.
    void aFailedWriteKeepsThePreviousFile_data() {
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("Tessary.ini is a folder") << false, QTest::newRow("disk full") << true;
    }
    void aFailedWriteKeepsThePreviousFile() {
        QFETCH(bool, diskFull);
        const QByteArray previous = placed("$ONE/~¶$TWO/~¶$SHOW/~¶9¶0~¶0~¶0~¶");
        diskFull ? writeFile(desktop->iniPath(), previous)
                 : void(QDir().mkpath(desktop->iniPath() + "/inside"));
        desktop->start(), FrmSelectSld->Text1.setText("30");
        if (!diskFull) Form1->closeByFrame();
        if (diskFull && !onAFullDisk([] { Form1->closeByFrame(); }))
            QSKIP("Only Linux lets a test fill the disk for one process");
        QVERIFY(desktop->ended && desktop->shownOnce("Write Error"));
        QVERIFY(diskFull ? readAll(desktop->iniPath()) == previous
                         : QFileInfo(desktop->iniPath()).isDir());
        QCOMPARE(QDir(desktop->programFolder())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"Tessary.ini"});
    }
    // Seven lines: a folder kept as its ancestor that a line holds, without CR or LF (Linux), in
    // the code page (Windows, which allows no line break in a name); an interval up to the break.
    void aFolderALineCannotHoldIsKeptAsItsAncestor() {
        const bool breaks = QDir().mkpath(desktop->home() + "/c\nd");
        const QStringList odd = breaks ? QStringList{"a\rb", "c\nd", "e\r\n"}
                                       : QStringList{"한국", "사진", "눈"};
        if (!breaks && platform::fitsSystemCodePage(odd.join(""))) QSKIP("A code page for all");
        desktop->start(), FrmSelect1->Dir1.setPath(desktop->folder("home/one/" + odd[0] + "/b"));
        FrmSelect12->Dir1.setPath(desktop->folder("home/" + odd[1]));
        FrmSelectSld->Dir1.setPath(desktop->folder("home/show/" + odd[2]));
        QGuiApplication::clipboard()->setText("5\r\n1\r\n1\r");
        FrmSelectSld->Text1.widget()->selectAll(), FrmSelectSld->Text1.widget()->paste();
        closeAndRestart();
        QCOMPARE(readAll(desktop->iniPath()), placed("$ONE/~¶$HOME/~¶$SHOW/~¶5¶0~¶0~¶0~¶"));
        QCOMPARE(FrmSelect1->Dir1.path() + FrmSelectSld->Text1.text(), desktop->home() + "/one5");
    }
};

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
