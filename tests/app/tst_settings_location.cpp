// Where Tessary.ini lives: beside a portable copy, in the user's configuration folder for an
// installed program or one in a folder the user cannot write, with the same bytes in both.
#include <unistd.h>

#include "platform/fonts.h"
#include "platform/program.h"
#include "platform/settings_location.h"
#include "tests/support/fixture.h"

namespace {
QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}
}  // namespace

class SettingsLocationTest : public DesktopTest {
    Q_OBJECT
    QString userFile() const { return desktop->configFolder() + "/tessary/Tessary.ini"; }

    // The layout of an installed program: usr/bin/tessary beside usr/share/applications.
    QString installedProgramFolder() const {
        const QString bin = desktop->folder("usr/bin");
        desktop->folder("usr/share/applications");
        TestDesktop::writeFile(desktop->root() + "/usr/share/applications/tessary.desktop",
                               "[Desktop Entry]\n");
        return bin;
    }

    // One run that chooses a slideshow folder, an interval and the random option, then ends.
    void runChoosing(const QString& interval) {
        desktop->startProgram();
        FrmSelectSld->Dir1.setPath(pics);
        FrmSelectSld->Text1.setText(interval);
        FrmSelectSld->Check2.setValue(1);
        Form1->closeByFrame();
        TestDesktop::tearDownProgram();
    }
    QByteArray expectedBytes(const QString& interval) const {
        const QByteArray home = desktop->home().toUtf8();
        return home + "/\n\r\n" + home + "/\n\r\n" + pics.toUtf8() + "/\n\r\n" +
               interval.toUtf8() + "\r\n0\n\r\n1\n\r\n0\n\r\n";
    }

public:
    SettingsLocationTest() : DesktopTest(false) {}

private slots:
    // Each layout keeps the file in one place, with the same bytes, and the next start reads
    // it back from there; the other place stays untouched.
    void theChoicesComeBackFromTheirPlace_data() {
        QTest::addColumn<QString>("layout");
        QTest::newRow("a portable copy in a writable folder") << "portable";
        QTest::newRow("installed under a prefix") << "installed";
        QTest::newRow("a folder the user cannot write") << "read-only";
    }
    void theChoicesComeBackFromTheirPlace() {
        QFETCH(QString, layout);
        QString folder = desktop->programFolder();
        if (layout == "installed") folder = installedProgramFolder();
        if (layout == "read-only") {
            if (geteuid() == 0) QSKIP("root writes every folder (the end-to-end test runs it as another user)");
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        }
        platform::setProgramFolder(folder);
        const QString file = layout == "portable" ? folder + "/Tessary.ini" : userFile();

        runChoosing("12");
        QCOMPARE(readAll(file), expectedBytes("12"));
        QCOMPARE(entries(folder), layout == "portable" ? QStringList{"Tessary.ini"} : QStringList{});
        if (layout == "portable") QVERIFY(!QDir(desktop->configFolder()).exists());

        desktop->startProgram();
        QCOMPARE(FrmSelectSld->Dir1.path(), pics);
        QCOMPARE(FrmSelectSld->Text1.text(), QString("12"));
        QCOMPARE(FrmSelectSld->Check2.value(), 1);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A file that came with an installed program starts a user who has none yet; from the first
    // end on, the user's own file is the one read, and the program's copy is left alone.
    void anInstalledCopyStartsAUserWithoutSettings() {
        const QString folder = installedProgramFolder();
        platform::setProgramFolder(folder);
        const QByteArray given = expectedBytes("33");
        TestDesktop::writeFile(folder + "/Tessary.ini", given);

        desktop->startProgram();
        QCOMPARE(FrmSelectSld->Text1.text(), QString("33"));
        TestDesktop::tearDownProgram();

        runChoosing("4");
        QCOMPARE(readAll(userFile()), expectedBytes("4"));
        QCOMPARE(readAll(folder + "/Tessary.ini"), given);
        desktop->startProgram();
        QCOMPARE(FrmSelectSld->Text1.text(), QString("4"));
    }
};

QTEST_MAIN(SettingsLocationTest)
#include "tst_settings_location.moc"
