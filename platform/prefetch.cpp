#include "platform/prefetch.h"

#include <QFuture>
#include <QHash>
#include <QtConcurrent/QtConcurrentRun>

#include "platform/failure.h"

namespace platform::prefetch {

namespace {
struct Decoded {
    QSize size;
    QImage image;
};
QHash<QString, QFuture<Decoded>> g_pending;

Decoded decodeAhead(const QString& path, const std::function<QSize(QSize)>& drawnSize) {
    try {
        const Picture picture = Picture::open(path);
        const QSize size = drawnSize(picture.size());
        return {size, picture.decodedTo(size)};
    } catch (const Failure&) {
        return {};  // the UI thread meets the failure again and reports it
    }
}
}  // namespace

void start(const QStringList& paths, std::function<QSize(QSize natural)> drawnSize) {
    g_pending.clear();
    for (const QString& path : paths) {
        g_pending.insert(path, QtConcurrent::run(decodeAhead, path, drawnSize));
    }
}

QImage take(const QString& path, QSize size) {
    const auto it = g_pending.find(path);
    if (it == g_pending.end()) return {};
    const Decoded decoded = it->result();
    g_pending.erase(it);
    return decoded.size == size ? decoded.image : QImage();
}

}  // namespace platform::prefetch
