#include "fuzz/desktop.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "platform/fonts.h"
#include "platform/program.h"
#include "platform/settings_location.h"
#include "platform/drives.h"
#include "platform/message_box.h"

namespace fuzzing {

namespace {
QString g_root;
QString g_programFolder;
bool g_removeRoot = false;
QStringList g_messages;
QApplication* g_application = nullptr;

void removeFolders() {
    QDir(g_removeRoot ? g_root : g_programFolder).removeRecursively();
}
}  // namespace

QString homeFolder() { return g_root + "/home"; }
QString programFolder() { return g_programFolder; }

void startDesktop(const QString& root, bool removeAtExit) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.gui.imageio*=false;qt.qpa.*=false");
    static int argc = 1;
    static char name[] = "tessary-fuzz";
    static char* argv[] = {name, nullptr};
    // Lives as long as the process: libFuzzer never returns from its loop.
    g_application = new QApplication(argc, argv);
    platform::initialise();
    g_root = root;
    g_removeRoot = removeAtExit;
    g_programFolder = root + QStringLiteral("/program-%1").arg(QCoreApplication::applicationPid());
    QDir().mkpath(homeFolder());
    QDir().mkpath(programFolder());
    std::atexit(removeFolders);
    platform::setProgramFolder(programFolder());
    platform::MessageBox::setRecorder([](const QString& text, const QString& title) {
        g_messages << title + ": " + text;
    });
    platform::setProgramEnd([] {});
}

QString settingsRoot() { return QDir::tempPath() + QStringLiteral("/tessary-fuzz-settings"); }

static QString secondDrive(const QString& root) { return root + QStringLiteral("/drive2"); }

QStringList settingsFolders() {
    const QString root = settingsRoot();
    return {root + "/home/pics", root + "/home/empty", root + QStringLiteral("/home/写真 2024"),
            secondDrive(root) + "/sub"};
}

void makeSettingsFolders() {
    for (const QString& folder : settingsFolders()) QDir().mkpath(folder);
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (const QString& name : {"a.bmp", "b.bmp", "c.bmp"}) {
        if (!QFile::exists(settingsFolders()[0] + "/" + name)) {
            picture.save(settingsFolders()[0] + "/" + name, "BMP");
        }
    }
    picture.save(settingsFolders()[3] + "/d.bmp", "BMP");
}

void restartProgram() {
    UnloadAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Module1 = SharedState();
    platform::drives::setForTesting({g_root, secondDrive(g_root)}, homeFolder());
    Form1->Form_Load();
}

QStringList takeMessages() { return std::exchange(g_messages, {}); }

void writeFile(const QString& path, const uint8_t* data, size_t size) {
    writeFile(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        fail("cannot write", path);
    }
}

void fail(const char* what, const QString& detail) {
    std::fprintf(stderr, "fuzz target: %s %s\n", what, qPrintable(detail));
    std::abort();
}

}  // namespace fuzzing
