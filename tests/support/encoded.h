#pragma once
// Pictures made in memory, for tests that write their own files.
#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>

inline QImage filled(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

inline QByteArray encoded(const QImage& image, const char* format, int quality = 90) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image)) qFatal("cannot encode %s", format);
    return buffer.data();
}
