#pragma once
#include <QRect>

namespace platform {

// Layout values are design values in twips; the screen works in pixels at 96 dpi.
constexpr int kTwipsPerPixel = 15;

constexpr int pixels(int twips) { return twips / kTwipsPerPixel; }

// A rectangle given in twips (left, top, width, height), as a pixel rectangle.
struct TwipsRect {
    int left, top, width, height;
    QRect toPixels() const { return {pixels(left), pixels(top), pixels(width), pixels(height)}; }
};

}  // namespace platform
