#include "platform/prefetch.h"

#include <QMutex>
#include <QThreadPool>
#include <QWaitCondition>
#include <memory>
#include <vector>

#include "platform/failure.h"

namespace platform::prefetch {

namespace {
struct Decoded {
    QSize size;
    QImage image;
};

// One page of pictures. Workers and the waiting UI thread claim pictures in order; a page
// that is forgotten begins no more and is freed once its last decode ends.
struct Page {
    QStringList paths;
    std::function<QSize(QSize)> drawnSize;
    QMutex mutex;
    QWaitCondition decoded;
    int next = 0;             // the first picture not yet begun
    std::vector<bool> done;   // results[i] holds picture i's decode
    std::vector<bool> taken;  // picture i was taken (UI thread only)
    std::vector<Decoded> results;
};
std::shared_ptr<Page> g_page;

Decoded decodeAhead(const QString& path, const std::function<QSize(QSize)>& drawnSize) {
    try {
        const Picture picture = Picture::open(path);
        const QSize size = drawnSize(picture.size());
        return {size, picture.decodedTo(size)};
    } catch (const Failure&) {
        return {};  // the UI thread meets the failure again and reports it
    }
}

// Decodes the next picture not yet begun; false when every one is begun.
bool decodeNext(Page& page) {
    int i;
    {
        QMutexLocker lock(&page.mutex);
        if (page.next >= page.paths.size()) return false;
        i = page.next++;
    }
    Decoded result = decodeAhead(page.paths.at(i), page.drawnSize);
    QMutexLocker lock(&page.mutex);
    page.results[i] = std::move(result);
    page.done[i] = true;
    page.decoded.wakeAll();
    return true;
}
}  // namespace

void start(const QStringList& paths, std::function<QSize(QSize natural)> drawnSize) {
    if (g_page) {
        QMutexLocker lock(&g_page->mutex);
        g_page->next = int(g_page->paths.size());  // begin nothing more of the old page
    }
    auto page = std::make_shared<Page>();
    page->paths = paths;
    page->drawnSize = std::move(drawnSize);
    page->done.assign(paths.size(), false);
    page->taken.assign(paths.size(), false);
    page->results.resize(paths.size());
    g_page = page;
    QThreadPool* pool = QThreadPool::globalInstance();
    const int workers = std::min(int(paths.size()), pool->maxThreadCount());
    for (int w = 0; w < workers; ++w) {
        pool->start([page] {
            while (decodeNext(*page)) {
            }
        });
    }
}

QImage take(const QString& path, QSize size) {
    if (!g_page) return {};
    Page& page = *g_page;
    int i = 0;
    while (i < page.paths.size() && (page.taken[i] || page.paths.at(i) != path)) ++i;
    if (i == page.paths.size()) return {};  // a second stretch of a file decodes as usual
    page.taken[i] = true;
    QMutexLocker lock(&page.mutex);
    while (!page.done[i]) {
        if (page.next < page.paths.size()) {
            lock.unlock();
            decodeNext(page);
            lock.relock();
        } else {
            page.decoded.wait(&page.mutex);
        }
    }
    const Decoded decoded = std::move(page.results[i]);
    page.results[i] = {};
    return decoded.size == size ? decoded.image : QImage();
}

}  // namespace platform::prefetch
