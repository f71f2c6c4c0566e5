#pragma once
#include <QSize>
#include <QString>

// What the JPEG decoder itself needs: libjpeg, called directly, reading the file and decoding it
// at the smallest of its scales n/8 that still covers a size, into 32-bit pixels, and nothing
// else. No viewer can show the picture faster than this.
struct LibjpegDecode {
    double seconds = 0;
    QSize output;  // the size libjpeg decoded at
    int eighths = 8;
};

// With no size, decodes at natural size. Exits with a message if the file is not a JPEG.
LibjpegDecode libjpegDecode(const QString& path, QSize covering = {});
