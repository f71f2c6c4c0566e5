#include "tests/support/fixture.h"

#include <QBuffer>
#include <QImageWriter>

#include "platform/fonts.h"
#include "platform/program.h"
#include "platform/settings_location.h"
#include "platform/drives.h"
#include "platform/message_box.h"

TestDesktop::TestDesktop() {
    platform::initialise();
    QDir(root()).mkpath("home");
    QDir(root()).mkpath("program");
    // An installed program keeps its settings there: never in the real user's folder.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root() + "/config"));
    m_drives = {root()};
    platform::drives::setForTesting(m_drives, home());
    platform::setProgramFolder(programFolder());
    platform::MessageBox::setRecorder([this](const QString& text, const QString& title) {
        messages.push_back({text, title});
        if (whileMessageOpen) whileMessageOpen();
    });
    platform::setProgramEnd([this] { ended = true; });
}

TestDesktop::~TestDesktop() {
    tearDownProgram();
    platform::MessageBox::setRecorder(nullptr);
    platform::setProgramEnd(nullptr);
}

QString TestDesktop::folder(const QString& relative) const {
    QDir(root()).mkpath(relative);
    return QDir(root()).filePath(relative);
}

QString TestDesktop::folderWith(const QString& relative, int n) const {
    writePictures(folder(relative), n, "pic", 8, 6);
    return folder(relative);
}

QString TestDesktop::writePicture(const QString& path, int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    const QString suffix = QFileInfo(path).suffix().toLower();
    // Qt writes no GIF: a BMP under a .gif name still decodes, by its content.
    QImageWriter writer(path, suffix == "jpg" || suffix == "jpeg" ? "jpeg" : suffix == "ico" ? "ico" : "bmp");
    writer.setQuality(95);
    if (!writer.write(image)) qFatal("cannot write %s", qPrintable(path));
    return path;
}

QStringList TestDesktop::writePictures(const QString& folder, int n, const QString& prefix,
                                       int width, int height) {
    QStringList names;
    for (int i = 1; i <= n; ++i) {
        names << QString("%1%2.bmp").arg(prefix).arg(i, 2, 10, QLatin1Char('0'));
        writePicture(folder + "/" + names.last(), width, height, colourOfPicture(i - 1));
    }
    return names;
}

void TestDesktop::writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

QString TestDesktop::addDrive(const QString& relative) {
    m_drives << folder(relative);
    platform::drives::setForTesting(m_drives, home());
    return m_drives.last();
}

void TestDesktop::startProgram() { Form1->Form_Load(); }

void TestDesktop::tearDownProgram() {
    UnloadAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Module1 = SharedState();
}

bool TestDesktop::shownOnce(const QString& title, const QString& part) {
    if (messages.size() == 1 && messages[0].title == title && messages[0].text.contains(part)) {
        messages.clear();
        return true;
    }
    qWarning("%d message boxes, not one \"%s\" naming \"%s\"", int(messages.size()),
             qPrintable(title), qPrintable(part));
    return false;
}

void DesktopTest::init() {
    desktop = std::make_unique<TestDesktop>();
    pics = desktop->folder("home/pics");
    if (m_start) desktop->startProgram();
    prepare();
}

void DesktopTest::cleanup() {
    for (const RecordedMessage& m : desktop->messages) {
        qWarning("unexpected message box %s: %s", qPrintable(m.title), qPrintable(m.text));
    }
    const bool quiet = desktop->messages.empty();
    desktop.reset();
    QVERIFY(quiet);
}

QString corporaFolder() {
    const QString folder = qEnvironmentVariable("TESSARY_CORPORA");
    return QDir(folder).exists() ? folder : QString();
}

QByteArray damagedBmp() {
    QImage image(20, 10, QImage::Format_Indexed8);
    image.setColorCount(4);
    for (int i = 0; i < 4; ++i) image.setColor(i, qRgb(60 * i, 0, 0));
    image.fill(1);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "bmp").write(image);
    return buffer.data().left(60);
}

void click(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at.isNull() ? widget->rect().center() : at);
}

QList<platform::CommandButton*> navigationButtons() {
    return {&Form1->CmdNext1,   &Form1->CmdPrev1,   &Form1->CmdNext12, &Form1->CmdPrev12,
            &Form1->CmdNextSld, &Form1->CmdPrevSld, &Form1->CmdBrkSld};
}

void allNavigationOn() {
    for (auto* button : navigationButtons()) button->setEnabled(true);
    Module1.Next12Saved = true;
    Module1.Prev12Saved = -1;
}

void useWorkArea() {
    Module1.WorkLeft = 0;
    Module1.WorkRight = 1024;
    Module1.WorkTop = 0;
    Module1.WorkBottom = 722;
}

void openSingle(const QString& folder, int index) {
    click(&Form1->CmdShow1);
    FrmSelect1->Dir1.setPath(folder);
    FrmSelect1->File1.setSelectedIndex(index);
    click(&FrmSelect1->Command1);
}

void openGrid(const QString& folder, int pagesOn) {
    click(&Form1->CmdShow12);
    FrmSelect12->Dir1.setPath(folder);
    click(&FrmSelect12->Command1);
    for (int i = 0; i < pagesOn; ++i) click(&Form1->CmdNext12);
}

void startShow(const QString& folder, const QString& interval, int repeat, int random) {
    click(&Form1->CmdSld);
    FrmSelectSld->Dir1.setPath(folder);
    FrmSelectSld->Text1.setText(interval);
    FrmSelectSld->Check1.setValue(repeat);
    FrmSelectSld->Check2.setValue(random);
    click(&FrmSelectSld->Command1);
}

void tick() { FrmSelectSld->Timer1.fireTick(); }

QString viewerShows() {
    return FrmShow1->isVisible() ? FrmShow1->caption().section(QLatin1Char(' '), -1) : QString();
}
