#include "tests/support/fixture.h"

#include <QApplication>
#include <QFile>
#include <QImageWriter>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "platform/desktop.h"
#include "platform/drives.h"
#include "platform/message_box.h"

TestDesktop::TestDesktop() {
    platform::initialise();
    QDir(root()).mkpath("home");
    QDir(root()).mkpath("program");
    m_drives = {root()};
    platform::drives::setForTesting(m_drives, home());
    platform::setProgramFolder(programFolder());
    platform::MessageBox::setRecorder([this](const QString& text, const QString& title) {
        messages.push_back({text, title});
        if (whileMessageOpen) whileMessageOpen();
    });
}

TestDesktop::~TestDesktop() {
    tearDownProgram();
    platform::MessageBox::setRecorder(nullptr);
}

QString TestDesktop::folder(const QString& relative) const {
    QDir(root()).mkpath(relative);
    return QDir(root()).filePath(relative);
}

QString TestDesktop::writePicture(const QString& path, int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QImageWriter writer(path);
    if (path.endsWith(".jpg", Qt::CaseInsensitive) || path.endsWith(".jpeg", Qt::CaseInsensitive)) {
        writer.setFormat("jpeg");
        writer.setQuality(95);
    } else if (path.endsWith(".gif", Qt::CaseInsensitive)) {
        // Qt writes no GIF: a BMP under a .gif name still decodes by its content.
        writer.setFormat("bmp");
    } else if (path.endsWith(".ico", Qt::CaseInsensitive)) {
        writer.setFormat("ico");
    } else {
        writer.setFormat("bmp");
    }
    if (!writer.write(image)) qFatal("cannot write %s", qPrintable(path));
    return path;
}

QStringList TestDesktop::writePictures(const QString& folder, int n, const QString& prefix,
                                       int width, int height) {
    QStringList names;
    for (int i = 1; i <= n; ++i) {
        const QString name = QString("%1%2.bmp").arg(prefix).arg(i, 2, 10, QLatin1Char('0'));
        writePicture(QDir(folder).filePath(name), width, height, QColor::fromHsv((i * 37) % 360, 200, 200));
        names << name;
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
    const QString drive = folder(relative);
    m_drives << drive;
    platform::drives::setForTesting(m_drives, home());
    return drive;
}

void TestDesktop::startProgram() { Form1->Form_Load(); }

void TestDesktop::tearDownProgram() {
    UnloadAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Module1 = SharedState();
}

QString corporaFolder() {
    const QString folder = qEnvironmentVariable("TESSARY_CORPORA");
    return QDir(folder).exists() ? folder : QString();
}

void click(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at.isNull() ? widget->rect().center() : at);
}
