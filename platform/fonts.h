#pragma once
#include <QFont>

namespace platform {

// "ＭＳ ゴシック" or "ＭＳ Ｐゴシック" at a point size. Where the Windows fonts are missing, an
// installed Japanese Gothic face stands in: a known one (IPAGothic of fonts-ipafont-gothic, Noto
// Sans CJK JP, VL Gothic, Takao), else any Gothic of the font database's Japanese fonts.
QFont gothicFont(int points);
QFont proportionalGothicFont(int points);

}  // namespace platform
