#include "platform/desktop.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QIcon>
#include <QImageReader>
#include <QScreen>
#include <QStandardPaths>
#include <QStyleFactory>

namespace platform {

namespace {
QString g_programFolder;
std::function<void()> g_end;
// Decoders refuse pictures beyond this; Qt's default of 128 MB refuses ordinary photographs.
constexpr int kAllocationLimitMegabytes = 1024;
}  // namespace

WorkArea workArea() {
    const QRect r = QGuiApplication::primaryScreen()->availableGeometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QString programFolder() {
    return g_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_programFolder;
}

void setProgramFolder(const QString& folder) { g_programFolder = folder; }

namespace {
constexpr char kDesktopEntry[] = "../share/applications/tessary.desktop";

// Root may write /usr/bin too, but files there belong to the package manager.
bool keepsSettingsBeside() {
    const QDir folder(programFolder());
    return QFileInfo(folder.path()).isWritable() && !QFileInfo::exists(folder.filePath(kDesktopEntry));
}

QString userSettingsFile(const QString& name) {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(name);
}
}  // namespace

QString settingsFileToRead(const QString& name) {
    const QString beside = QDir(programFolder()).filePath(name);
    if (keepsSettingsBeside()) return beside;
    const QString user = userSettingsFile(name);
    return QFileInfo::exists(user) || !QFileInfo::exists(beside) ? user : beside;
}

QString settingsFileToWrite(const QString& name) {
    if (keepsSettingsBeside()) return QDir(programFolder()).filePath(name);
    const QString user = userSettingsFile(name);
    QDir().mkpath(QFileInfo(user).path());
    return user;
}

void endProgram() {
    if (g_end) g_end();
}

void setProgramEnd(std::function<void()> end) { g_end = std::move(end); }

namespace {
// Mincho faces are the serif style; everything else a Japanese font database lists is a Gothic.
bool isGothic(const QString& family) {
    for (const char* serif : {"Mincho", "明朝", "Serif", "Song", "Ming", "Kai"}) {
        if (family.contains(QLatin1String(serif), Qt::CaseInsensitive)) return false;
    }
    return true;
}

// The installed Japanese Gothic face: the first known one, else any Japanese font of the font
// database that is a Gothic, those named Gothic first. Empty when there is none at all.
QString japaneseGothic(const QStringList& known) {
    const QStringList installed = QFontDatabase::families(QFontDatabase::Japanese);
    for (const QString& family : known) {
        if (installed.contains(family, Qt::CaseInsensitive)) return family;
    }
    QString anyGothic;
    for (const QString& family : installed) {
        if (!isGothic(family) || QFontDatabase::isPrivateFamily(family)) continue;
        if (family.contains(QLatin1String("Gothic"), Qt::CaseInsensitive) ||
            family.contains(QStringLiteral("ゴシック"))) {
            return family;
        }
        if (anyGothic.isEmpty()) anyGothic = family;
    }
    return anyGothic;
}

QFont fontOf(const QString& windowsFamily, const QString& installedFamily, int points) {
    QFont font;
    // With no Japanese font installed at all, the font configuration's own fallback is left.
    font.setFamilies(installedFamily.isEmpty() ? QStringList{windowsFamily}
                                               : QStringList{windowsFamily, installedFamily});
    // Sized in pixels as at 96 dpi, so the layout's rectangles hold on any screen.
    font.setPixelSize(points * 96 / 72);
    font.setWeight(QFont::Normal);
    return font;
}
}  // namespace

QFont gothicFont(int points) {
    static const QString installed = japaneseGothic(
        {"MS Gothic", "IPAGothic", "IPAexGothic", "Noto Sans Mono CJK JP", "Noto Sans CJK JP",
         "Source Han Sans JP", "VL Gothic", "TakaoGothic", "TakaoExGothic"});
    return fontOf(QStringLiteral("ＭＳ ゴシック"), installed, points);
}

QFont proportionalGothicFont(int points) {
    static const QString installed = japaneseGothic(
        {"MS PGothic", "IPAPGothic", "IPAexGothic", "Noto Sans CJK JP", "Source Han Sans JP",
         "VL PGothic", "TakaoPGothic", "TakaoExGothic", "IPAGothic", "VL Gothic", "TakaoGothic"});
    return fontOf(QStringLiteral("ＭＳ Ｐゴシック"), installed, points);
}

void initialise() {
    // The per-user configuration folder and the desktop's menu entry go by this name.
    QCoreApplication::setApplicationName(QStringLiteral("tessary"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessary"));
    QIcon ownIcon;
    for (int size : {16, 32, 48, 256}) ownIcon.addFile(QStringLiteral(":/icons/tessary-%1.png").arg(size));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tessary"), ownIcon));
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setFont(gothicFont(9));
    QApplication::setQuitOnLastWindowClosed(false);
    QImageReader::setAllocationLimit(kAllocationLimitMegabytes);
}

}  // namespace platform
