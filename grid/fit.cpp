#include "grid/fit.h"

#include <cmath>

QRect FitInBox(float sw, float sh, int boxWidth, int boxHeight) {
    int dw, dh, x, y;
    if (sw > sh) {
        dw = boxWidth;
        dh = int(std::floor(float(sh / sw) * float(dw)));
        x = 0;
        y = (boxHeight - dh) / 2;
    } else {
        dh = boxHeight;
        dw = int(std::floor(float(sw / sh) * float(dh)));
        y = 0;
        x = (boxWidth - dw) / 2;
    }
    return {x, y, dw, dh};
}
