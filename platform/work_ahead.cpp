#include "platform/work_ahead.h"

#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <utility>

#include "platform/failure.h"
#include "platform/thumbnail_cache.h"

namespace platform {

namespace {
constexpr qint64 kBudgetBytes = qint64(128) << 20;
std::atomic<qint64> g_heldBytes{0}, g_peakBytes{0};
std::atomic<int> g_naturalHeld{0};
std::atomic<int> g_workersBusy{0};

bool reserve(qint64 bytes, bool natural) {
    if (natural && g_naturalHeld.fetch_add(1) > 0) {
        --g_naturalHeld;
        return false;
    }
    qint64 held = g_heldBytes.load();
    do {
        if (held + bytes > kBudgetBytes) {
            if (natural) --g_naturalHeld;
            return false;
        }
    } while (!g_heldBytes.compare_exchange_weak(held, held + bytes));
    qint64 peak = g_peakBytes.load();
    while (held + bytes > peak && !g_peakBytes.compare_exchange_weak(peak, held + bytes)) {
    }
    return true;
}
}  // namespace

struct WorkAhead::Entry {
    QString path;
    DrawnSize drawnSize;
    enum class State { Waiting, Begun, Done } state = State::Waiting;
    // Only the worker that decodes the entry writes what follows, until it is done.
    FileStamp stamp;  // the file as it was before the decode
    Picture picture;  // null where it could not be opened or was not decoded
    QSize size;       // the drawn size; invalid at natural size, which the picture holds
    QImage image;
    QImage unsaved;        // a thumbnail the cache had not
    qint64 bytes = 0;      // taken from the budget
    bool natural = false;  // holds the one picture at natural size
    // The embedded thumbnail, read before any picture is decoded; written under the lock once read.
    State embeddedState = State::Done;
    EmbeddedThumbnail embedded;
    qint64 embeddedBytes = 0;
    void releaseEmbedded() { g_heldBytes -= std::exchange(embeddedBytes, 0); }
    void release() {
        releaseEmbedded();
        g_heldBytes -= std::exchange(bytes, 0);
        if (std::exchange(natural, false)) --g_naturalHeld;
    }
};

WorkAhead::WorkAhead(Use use) : m_use(use) {
    // Views: the next picture first, leaving a core to the one on screen.
    m_workers.setMaxThreadCount(use == Use::Thumbnails ? QThread::idealThreadCount() : 1);
}

WorkAhead::~WorkAhead() {
    {
        QMutexLocker lock(&m_mutex);
        while (!m_entries.empty()) forget(m_entries.begin());
        m_unsaved.clear();  // costs only the time the cache would save
    }
    m_workers.waitForDone();
}

void WorkAhead::start(const QStringList& paths, DrawnSize drawnSize) {
    QMutexLocker lock(&m_mutex);
    Entries kept;
    for (const QString& path : paths) {
        if (auto at = find(path); at != m_entries.end()) {
            if ((*at)->state != Entry::State::Done || (*at)->stamp == FileStamp::of(path)) {
                kept.push_back(*at);
                m_entries.erase(at);
                continue;
            }
        }
        kept.push_back(std::make_shared<Entry>());
        kept.back()->path = path;
        kept.back()->drawnSize = drawnSize;
        if (m_use == Use::Thumbnails) kept.back()->embeddedState = Entry::State::Waiting;
    }
    while (!m_entries.empty()) forget(m_entries.begin());
    m_entries = std::move(kept);
    const auto waiting = std::count_if(m_entries.begin(), m_entries.end(), [](const auto& e) {
        return e->state == Entry::State::Waiting;
    });
    for (int w = 0; w < std::min(int(waiting), m_workers.maxThreadCount()); ++w) {
        ++g_workersBusy;
        m_workers.start([this] {
            decodeUntilDone();
            --g_workersBusy;
        });
    }
}

void WorkAhead::stop() {
    QMutexLocker lock(&m_mutex);
    std::erase_if(m_entries, [](const auto& e) {
        const bool waiting = e->state == Entry::State::Waiting;
        if (waiting) e->release();  // its embedded thumbnail
        return waiting;
    });
}

Picture WorkAhead::open(const QString& path) {
    QMutexLocker lock(&m_mutex);
    auto at = find(path);
    if (at == m_entries.end()) {
        lock.unlock();
        return Picture::open(path);
    }
    // Its turn comes on a worker: the pictures before it are begun, so it is the next.
    const std::shared_ptr<Entry> entry = *at;
    while (entry->state != Entry::State::Done) m_decoded.wait(&m_mutex);
    at = find(path);
    if (entry->picture.isNull() || entry->stamp != FileStamp::of(path)) {
        forget(at);
        lock.unlock();
        return Picture::open(path);  // meets the failure, or the changed file, here
    }
    if (!entry->size.isValid()) entry->release();  // on screen now, no longer ahead
    return entry->picture;
}

QImage WorkAhead::take(const Picture& picture, QSize size) {
    QMutexLocker lock(&m_mutex);
    const auto at = std::find_if(m_entries.begin(), m_entries.end(), [&](const auto& e) {
        return e->state == Entry::State::Done && e->picture == picture;
    });
    if (at == m_entries.end()) return {};
    QImage image = (*at)->size == size ? std::move((*at)->image) : QImage();
    forget(at);
    return image;
}

EmbeddedThumbnail WorkAhead::takeEmbedded(const QString& path, const DrawnSize& drawnSize) {
    QMutexLocker lock(&m_mutex);
    if (const auto at = find(path); at != m_entries.end()) {
        const std::shared_ptr<Entry> entry = *at;
        while (entry->embeddedState == Entry::State::Begun) m_decoded.wait(&m_mutex);
        if (entry->embeddedState == Entry::State::Done) {
            entry->releaseEmbedded();
            return std::exchange(entry->embedded, {});
        }
        entry->embeddedState = Entry::State::Done;  // read here, not on a worker
    }
    lock.unlock();
    return embeddedThumbnail(path, drawnSize);
}

QStringList WorkAhead::done() {
    waitForAll();
    QMutexLocker lock(&m_mutex);
    QStringList names;
    for (const auto& e : m_entries) {
        const QString size = QStringLiteral(" %1x%2").arg(e->size.width()).arg(e->size.height());
        names << QFileInfo(e->path).fileName() + (e->picture.isNull() ? QStringLiteral(" failed")
                                                  : e->size.isValid() ? size : QString());
    }
    return names;
}

void WorkAhead::waitForAll() {
    while (g_workersBusy > 0) QThread::msleep(1);
}

qint64 WorkAhead::peakBytes() { return g_peakBytes; }

void WorkAhead::decodeUntilDone() {
    for (;;) {
        std::shared_ptr<Entry> entry;
        Unsaved unsaved;
        bool embedded = false;
        {
            QMutexLocker lock(&m_mutex);
            const auto unread = std::find_if(m_entries.begin(), m_entries.end(), [](auto& e) {
                return e->embeddedState == Entry::State::Waiting;
            });
            const auto waiting = std::find_if(m_entries.begin(), m_entries.end(), [](auto& e) {
                return e->state == Entry::State::Waiting;
            });
            if (unread != m_entries.end()) {  // every embedded thumbnail before any decode
                entry = *unread;
                entry->embeddedState = Entry::State::Begun;
                embedded = true;
            } else if (waiting != m_entries.end()) {
                entry = *waiting;
                entry->state = Entry::State::Begun;
            } else if (!m_unsaved.empty()) {
                unsaved = std::move(m_unsaved.back());
                m_unsaved.pop_back();
            } else {
                return;
            }
        }
        if (!entry) {  // the decodes are done; their file writes wait until then
            thumbnails::save(unsaved.path, unsaved.stamp, unsaved.thumbnail);
            continue;
        }
        if (embedded) {
            readEmbedded(entry);
            continue;
        }
        decode(*entry);
        QMutexLocker lock(&m_mutex);
        entry->state = Entry::State::Done;
        if (!entry->unsaved.isNull())
            m_unsaved.push_back({entry->path, entry->stamp, std::exchange(entry->unsaved, {})});
        if (std::find(m_entries.begin(), m_entries.end(), entry) == m_entries.end())
            entry->release();  // forgotten while it was decoded
        m_decoded.wakeAll();
    }
}

void WorkAhead::decode(Entry& entry) const {
    entry.stamp = FileStamp::of(entry.path);
    try {
        if (m_use == Use::Thumbnails && thumbnails::failedBefore(entry.path, entry.stamp)) return;
        const Picture picture = Picture::open(entry.path);
        entry.size = entry.drawnSize(picture.size());
        const bool natural = !entry.size.isValid();
        const QSize held = natural ? picture.size() : entry.size;
        const qint64 bytes = qint64(held.width()) * held.height() * 4;
        if (!reserve(bytes, natural)) return;
        entry.bytes = bytes;
        entry.natural = natural;
        entry.picture = picture;
        if (natural) {
            picture.natural();
        } else if (m_use == Use::Thumbnails) {
            entry.image = thumbnails::drawn(picture, entry.stamp, entry.size, entry.unsaved);
        } else {
            entry.image = picture.stretchedTo(entry.size);
        }
    } catch (const Failure&) {
        entry.picture = Picture();  // the handler meets the failure again and reports it
        if (m_use == Use::Thumbnails && entry.stamp.size >= 0)
            thumbnails::recordFailure(entry.path, entry.stamp);
    }
}

void WorkAhead::readEmbedded(const std::shared_ptr<Entry>& entry) {
    EmbeddedThumbnail embedded = embeddedThumbnail(entry->path, entry->drawnSize);
    const qint64 bytes = embedded.image.sizeInBytes();
    QMutexLocker lock(&m_mutex);
    const bool held = std::find(m_entries.begin(), m_entries.end(), entry) != m_entries.end();
    if (held && reserve(bytes, false))
        entry->embeddedBytes = bytes;
    else
        embedded.image = QImage();  // forgotten meanwhile, or over the budget
    entry->embedded = std::move(embedded);
    entry->embeddedState = Entry::State::Done;
    m_decoded.wakeAll();
}

WorkAhead::Entries::iterator WorkAhead::find(const QString& path) {
    return std::find_if(m_entries.begin(), m_entries.end(),
                        [&](const auto& e) { return e->path == path; });
}

void WorkAhead::forget(Entries::iterator at) {
    // An entry under way is released by its worker once it is done.
    (*at)->state == Entry::State::Begun ? (*at)->releaseEmbedded() : (*at)->release();
    m_entries.erase(at);
}

}  // namespace platform
