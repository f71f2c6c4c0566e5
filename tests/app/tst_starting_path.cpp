// A second start hands its path over the running program's own socket: the path is shown as
// the user would open it, waits while a message box is open, and a bad message blocks nothing.
#include <QLocalSocket>

#include "app/starting_path.h"
#include "platform/one_program.h"
#include "tests/support/desktop.h"

class StartingPathTest : public DesktopTest {
    Q_OBJECT
    inline static QStringList arrived;
    void prepare() override {
        static QTemporaryDir runtime;  // the user's runtime folder, for the whole run
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        static const bool first = !platform::handOverToRunningProgram({}, [](QString path) {
            arrived << path;
            ShowStartingPath(path);
        });
        QVERIFY(first);
        arrived.clear();
        writePictures(pics, 3);
    }

private slots:
    // Paths below home; a second one is handed over while the first one's box is open.
    void aPathIsShownAsTheUserWouldOpenIt_data() {
        QTest::addColumn<QString>("paths");
        QTest::addColumn<QString>("shown");
        addRows(R"(
picture                 | /pics/pic02.bmp | viewer pic02.bmp
folder                  | /pics           | grid pic01.bmp
folder without pictures | /empty          | chooser /empty
not a picture           | /pics/a.txt     | Open Error: Cannot open /pics/a.txt: Not a BMP, GIF, JPEG or ICO picture
nothing there           | /gone           | Open Error: Cannot open /gone: No such file or folder
none                    |                 |
while a box is open     | /gone /pics/pic01.bmp | Open Error: Cannot open /gone: No such file or folder; viewer pic01.bmp
)",
                2);
    }
    void aPathIsShownAsTheUserWouldOpenIt() {
        QFETCH(QString, paths);
        QFETCH(QString, shown);
        const QString home = desktop->home();
        QStringList path = paths.split(' ');
        for (QString& p : path) p = p.isEmpty() ? p : home + p;
        writeFile(pics + "/a.txt", "notes"), desktop->folder("home/empty");
        FrmSelectSld->Check3.setValue(1);  // the saved fit option holds
        desktop->whileMessageOpen = [&] {
            if (path.size() < 2 || arrived.size() > 1) return;
            QVERIFY(platform::handOverToRunningProgram(path[1], {}));
            QTest::qWait(300);
            QCOMPARE(arrived.size(), 1);
        };
        QVERIFY(platform::handOverToRunningProgram(path[0], {}));
        QTRY_COMPARE(arrived.size(), path.size());
        QStringList seen = std::exchange(desktop->messages, {});
        if (FrmShow1->isShown()) seen << "viewer " + viewerShows();
        if (FrmShow12->isShown()) seen << "grid " + FrmShow12->Label1[0]->caption();
        if (FrmSelect12->isShown()) seen << "chooser " + FrmSelect12->Dir1.path();
        QCOMPARE(seen.join("; ").replace(home, ""), shown);
        QVERIFY(shown != "viewer pic02.bmp" ||
                (FrmSelect1->Dir1.path() == pics && Form1->CmdPrev1.isEnabled() &&
                 Form1->CmdNext1.isEnabled() &&
                 FrmShow1->Picture1.scaleWidth() == Module1.WorkRight - Module1.WorkLeft));
    }

    // Dropped within the time given, in milliseconds, while a good one still arrives.
    void aBadMessageIsDroppedAndBlocksNothing() {
        for (const auto& [bytes, within] : {std::pair{QByteArray("tessary-open /a b\n"), 500},
                                            {QByteArray(1 << 20, 'x'), 500},
                                            {QByteArray("tessary-open %2F"), 5000}}) {
            QLocalSocket bad;
            bad.connectToServer(platform::runningProgramSocket());
            QVERIFY(bad.waitForConnected(1000) && bad.write(bytes) > 0);
            QVERIFY(platform::handOverToRunningProgram(pics, {}));
            QTRY_COMPARE(arrived, QStringList{pics});
            QTRY_COMPARE_WITH_TIMEOUT(bad.state(), QLocalSocket::UnconnectedState, within);
            arrived.clear();
        }
    }
};

QTEST_MAIN(StartingPathTest)
#include "tst_starting_path.moc"
