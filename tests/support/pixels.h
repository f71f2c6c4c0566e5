#pragma once
// Reading what a picture box shows: where it is painted and in what colour.
#include <QColor>
#include <QImage>
#include <QRect>
#include <cstdlib>

#include "platform/picture_box.h"

inline bool sameColour(QRgb pixel, QColor colour, int tolerance) {
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

inline bool filledWith(const QImage& image, QRect rect, QColor colour, int tolerance = 8) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (!sameColour(image.pixel(x, y), colour, tolerance)) return false;
        }
    }
    return true;
}

// The bounding rectangle of the pixels of a box's persistent image that are not its background.
inline QRect paintedRect(const platform::PictureBox& box) {
    const QImage image = box.image();
    QRect painted;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!sameColour(image.pixel(x, y), box.palette().color(QPalette::Window), 12)) painted |= QRect(x, y, 1, 1);
        }
    }
    return painted;
}

// The colour TestDesktop::writePictures gives its i-th picture, counting from 0.
inline QColor colourOfPicture(int i) { return QColor::fromHsv(((i + 1) * 37) % 360, 200, 200); }
