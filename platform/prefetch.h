#pragma once
#include <QSize>
#include <QStringList>
#include <functional>

#include "platform/picture.h"

namespace platform {

// Decodes pictures ahead on worker threads, each at the size it will be drawn at, while the UI
// thread draws them in order. A stretch of a prefetched picture to that size takes the ready
// image; anything else (a failure included) decodes as usual, so nothing a handler sees changes.
// While the UI thread waits for a picture it decodes the next one not yet begun itself, so
// that every core decodes until the last picture is begun.
namespace prefetch {

// Forgets earlier work and starts on these files; drawnSize maps a natural size to the drawn one.
void start(const QStringList& paths, std::function<QSize(QSize natural)> drawnSize);
// The prefetched image of a file at a size, waiting for it if it is under way; null if none.
QImage take(const QString& path, QSize size);

}  // namespace prefetch
}  // namespace platform
