// A path handed over by a later start, over the running program's own socket: shown as the
// user would open it, held while a message box is open; a bad message blocks nothing.
#include <QLocalSocket>

#include "app/starting_path.h"
#include "platform/one_program.h"
#include "tests/support/fixture.h"

namespace {
QStringList arrived;
}  // namespace

class StartingPathTest : public DesktopTest {
    Q_OBJECT
    void prepare() override {
        static QTemporaryDir runtime;  // the user's runtime folder, for the whole run
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        static const bool listening = !platform::handOverToRunningProgram({}, [](QString path) {
            arrived << path;
            ShowStartingPath(path);
        });
        QVERIFY(listening);
        arrived.clear();
    }
    // What a second start does; the running program takes it on its event loop.
    void handOver(const QString& path) {
        QVERIFY(platform::handOverToRunningProgram(path, {}));
        QTRY_VERIFY(!arrived.isEmpty());
    }
    QString outcome() {
        for (const RecordedMessage& m : std::exchange(desktop->messages, {}))
            return m.title + ": " + m.text.section(": ", -1);
        if (FrmShow1->isShown()) return "viewer " + viewerShows();
        if (FrmShow12->isShown()) return "grid " + FrmShow12->Label1[0]->caption();
        return FrmSelect12->isShown() ? "chooser " + platform::nameOf(FrmSelect12->Dir1.path())
                                      : "";
    }

private slots:
    void aPathIsShownAsTheUserWouldOpenIt_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shown");
        // clang-format off
        QTest::newRow("picture") << "pics/pic02.bmp" << "viewer pic02.bmp";
        QTest::newRow("folder") << "pics" << "grid pic01.bmp";
        QTest::newRow("folder without pictures") << "empty" << "chooser empty";
        QTest::newRow("not a picture") << "pics/a.txt" << "Open Error: Not a BMP, GIF, JPEG or ICO picture";
        QTest::newRow("nothing there") << "gone" << "Open Error: No such file or folder";
        QTest::newRow("none") << "" << "";
        // clang-format on
    }
    void aPathIsShownAsTheUserWouldOpenIt() {
        QFETCH(QString, path);
        QFETCH(QString, shown);
        TestDesktop::writePictures(pics, 3);
        TestDesktop::writeFile(pics + "/a.txt", "notes");
        desktop->folder("home/empty");
        FrmSelectSld->Check3.setValue(1);  // the saved fit option holds
        handOver(path.isEmpty() ? path : desktop->home() + "/" + path);
        QCOMPARE(outcome(), shown);
        if (!shown.startsWith("viewer")) return;
        QVERIFY(FrmSelect1->Dir1.path() == pics && Form1->CmdNext1.isEnabled() &&
                Form1->CmdPrev1.isEnabled());
        QCOMPARE(FrmShow1->Picture1.scaleWidth(), Module1.WorkRight - Module1.WorkLeft);
    }

    void aPathWaitsWhileAMessageBoxIsOpen() {
        TestDesktop::writePictures(pics, 1);
        desktop->whileMessageOpen = [this] {
            desktop->whileMessageOpen = nullptr;
            QVERIFY(platform::handOverToRunningProgram(pics + "/pic01.bmp", {}));
            QTest::qWait(300);
            QCOMPARE(arrived.size(), 1);
        };
        handOver(desktop->root() + "/gone");
        QTRY_COMPARE(outcome(), QString("Open Error: No such file or folder"));
        QTRY_COMPARE(outcome(), QString("viewer pic01.bmp"));
    }

    void aBadMessageIsDroppedAndBlocksNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("malformed") << QByteArray("tessary-open /a b\n");
        QTest::newRow("oversized") << QByteArray(1 << 20, 'x');
        QTest::newRow("never ending") << QByteArray("tessary-open %2F");
    }
    void aBadMessageIsDroppedAndBlocksNothing() {
        QFETCH(QByteArray, bytes);
        QLocalSocket bad;
        bad.connectToServer(platform::runningProgramSocket());
        QVERIFY(bad.waitForConnected(1000));
        bad.write(bytes);
        handOver(pics);
        QTRY_COMPARE_WITH_TIMEOUT(bad.state(), QLocalSocket::UnconnectedState, 5000);
        QCOMPARE(arrived, QStringList{pics});
    }
};

QTEST_MAIN(StartingPathTest)
#include "tst_starting_path.moc"
