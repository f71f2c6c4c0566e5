#pragma once
#include <QRect>

// Where a picture of sw × sh pixels lands in a box of boxWidth × boxHeight, fitted and centred:
// a picture strictly wider than high fills the width, any other the height; the spare pixels
// are halved, the odd one left on the far side. Single precision, as the boxes measure.
QRect FitInBox(float sw, float sh, int boxWidth, int boxHeight);
