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
// database that is a Gothic: monospaced ones first, as ＭＳ ゴシック is, then those named Gothic.
// Empty when there is none at all.
QString japaneseGothic(const QStringList& known) {
    const QStringList installed = QFontDatabase::families(QFontDatabase::Japanese);
    for (const QString& family : known) {
        if (installed.contains(family, Qt::CaseInsensitive)) return family;
    }
    QString best;
    int bestRank = -1;
    for (const QString& family : installed) {
        if (!isGothic(family) || QFontDatabase::isPrivateFamily(family)) continue;
        const bool named = family.contains(QLatin1String("Gothic"), Qt::CaseInsensitive) ||
                           family.contains(QStringLiteral("ゴシック"));
        const int rank = 2 * int(QFontDatabase::isFixedPitch(family)) + int(named);
        if (rank > bestRank) best = family, bestRank = rank;
    }
    return best;
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

// Where the Windows faces are missing: the Gothics of Linux desktops and of Windows' own
// Japanese support, then Yu Gothic and Meiryo, which a Windows outside Japan has too.
QFont gothicFont(int points) {
    static const QString installed = japaneseGothic(
        {"MS Gothic", "IPAGothic", "BIZ UDGothic", "Noto Sans Mono CJK JP", "VL Gothic",
         "TakaoGothic", "IPAexGothic", "TakaoExGothic", "Noto Sans CJK JP", "Source Han Sans JP",
         "Yu Gothic", "Meiryo", "MS UI Gothic"});
    return fontOf(QStringLiteral("ＭＳ ゴシック"), installed, points);
}

QFont proportionalGothicFont(int points) {
    static const QString installed = japaneseGothic(
        {"MS PGothic", "IPAPGothic", "BIZ UDPGothic", "VL PGothic", "TakaoPGothic", "IPAexGothic",
         "TakaoExGothic", "Noto Sans CJK JP", "Source Han Sans JP", "Yu Gothic", "Meiryo",
         "MS UI Gothic", "IPAGothic", "VL Gothic", "TakaoGothic"});
    return fontOf(QStringLiteral("ＭＳ Ｐゴシック"), installed, points);
}

}  // namespace platform
