#include "platform/program.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QScreen>
#include <QStyleFactory>

#include "platform/fonts.h"

namespace platform {

namespace {
std::function<void()> g_end;
// Decoders refuse pictures beyond this; Qt's default of 128 MB refuses ordinary photographs.
constexpr int kAllocationLimitMegabytes = 1024;
}  // namespace

void initialise() {
    // The per-user configuration folder and the desktop's menu entry go by this name.
    QCoreApplication::setApplicationName(QStringLiteral("tessary"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessary"));
    QIcon ownIcon;
    for (int size : {16, 32, 48, 256})
        ownIcon.addFile(QStringLiteral(":/icons/tessary-%1.png").arg(size));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tessary"), ownIcon));
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setFont(gothicFont(9));
    QApplication::setQuitOnLastWindowClosed(false);
    QImageReader::setAllocationLimit(kAllocationLimitMegabytes);
}

void endProgram() {
    if (g_end) g_end();
}

void setProgramEnd(std::function<void()> end) { g_end = std::move(end); }

WorkArea workArea() {
    const QRect r = QGuiApplication::primaryScreen()->availableGeometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace platform
