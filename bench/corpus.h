#pragma once
#include <QSize>
#include <QString>
#include <QStringList>

// The benchmark's pictures, written deterministically into a folder: a page of twelve
// photograph-like JPEGs of one size, the same as a camera writes them (an EXIF block with a
// 160 × 120 thumbnail, the picture between black bars), one larger JPEG, a BMP of the page's size,
// and a folder of many small pictures. Files already there are kept, so a kept folder is reused.
struct Corpus {
    QSize pageSize, largeSize;
    QStringList page;    // twelve different JPEGs, quality 90
    QStringList camera;  // the same with EXIF thumbnails
    QString large;       // one JPEG, quality 90
    QString bmp;         // 24-bit BMP of the page's size
    QString many;        // folder of small pictures
    int manyCount = 0;   // pictures in it (other files sit beside them)
};

// Full size: 6000 × 4000 (24 MP), 8000 × 6000 (48 MP), 32767 small pictures; small: a tenth
// of each side and 300 small pictures, for a run of a few seconds.
Corpus writeCorpus(const QString& folder, bool small);
