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
    void handOver(const QString& path, int arrivals = 1) {
        QVERIFY(platform::handOverToRunningProgram(path, {}));
        QTRY_COMPARE(arrived.size(), arrivals);
    }
    QString outcome() {
        for (const QString& m : std::exchange(desktop->messages, {})) return m.section(": ", 1);
        if (FrmShow1->isShown()) return "viewer " + viewerShows();
        if (FrmShow12->isShown()) return "grid " + FrmShow12->Label1[0]->caption();
        return FrmSelect12->isShown() ? "chooser " + FrmSelect12->Dir1.path() : "";
    }

private slots:
    void aPathIsShownAsTheUserWouldOpenIt_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shown");
        addRows(R"(
picture                 | /pics/pic02.bmp | viewer pic02.bmp
folder                  | /pics           | grid pic01.bmp
folder without pictures | /empty          | chooser /empty
not a picture           | /pics/a.txt     | Cannot open /pics/a.txt: Not a BMP, GIF, JPEG or ICO picture
nothing there           | /gone           | Cannot open /gone: No such file or folder
none                    |                 |
)",
                2);
    }
    void aPathIsShownAsTheUserWouldOpenIt() {
        QFETCH(QString, path);
        QFETCH(QString, shown);
        writeFile(pics + "/a.txt", "notes");
        desktop->folder("home/empty");
        FrmSelectSld->Check3.setValue(1);  // the saved fit option holds
        handOver(path.isEmpty() ? path : desktop->home() + path);
        QCOMPARE(outcome().replace(desktop->home(), ""), shown);
        if (!shown.startsWith("viewer")) return;
        QVERIFY(FrmSelect1->Dir1.path() == pics && Form1->CmdPrev1.isEnabled() &&
                Form1->CmdNext1.isEnabled() &&
                FrmShow1->Picture1.scaleWidth() == Module1.WorkRight - Module1.WorkLeft);
    }

    void aPathWaitsWhileAMessageBoxIsOpen() {
        desktop->whileMessageOpen = [this] {
            QVERIFY(platform::handOverToRunningProgram(pics + "/pic01.bmp", {}));
            QTest::qWait(300);
            QCOMPARE(arrived.size(), 1);
        };
        handOver(desktop->root() + "/gone", 2);
        QVERIFY(desktop->shownOnce("Open Error"));
        QCOMPARE(outcome(), QString("viewer pic01.bmp"));
    }

    // Dropped within the time given, in milliseconds, while a good one still arrives.
    void aBadMessageIsDroppedAndBlocksNothing() {
        for (const auto& [bytes, within] : {std::pair{QByteArray("tessary-open /a b\n"), 500},
                                            {QByteArray(1 << 20, 'x'), 500},
                                            {QByteArray("tessary-open %2F"), 5000}}) {
            QLocalSocket bad;
            bad.connectToServer(platform::runningProgramSocket());
            QVERIFY(bad.waitForConnected(1000) && bad.write(bytes) > 0);
            handOver(pics, arrived.size() + 1);
            QTRY_COMPARE_WITH_TIMEOUT(bad.state(), QLocalSocket::UnconnectedState, within);
            QCOMPARE(arrived.last(), pics);
        }
    }
};

QTEST_MAIN(StartingPathTest)
#include "tst_starting_path.moc"
