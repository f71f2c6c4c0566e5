#include "platform/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace platform {

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

}  // namespace platform
