#pragma once
#include <QMutex>
#include <QStringList>
#include <QThreadPool>
#include <QWaitCondition>
#include <functional>
#include <memory>
#include <vector>

#include "platform/embedded_thumbnail.h"
#include "platform/picture.h"

namespace platform {

// Pictures decoded on worker threads before they are drawn, each at the size it will be drawn
// at. A window owns one and lends it to its picture boxes, which take what it holds instead of
// opening and decoding again; nothing a handler sees changes: a picture it has not decoded, or
// whose file changed since (size, modification time, change time), is opened and decoded as
// usual, and a failure is met there again and reported as ever.
//
// For thumbnails it first reads the embedded thumbnails of all its pictures (a millisecond each),
// which stand in for them while they are decoded.
//
// All of them together hold at most 128 MB, and never more than one picture at natural size.
class WorkAhead {
public:
    // Thumbnails go through the desktop's thumbnail cache, read and written; views do not.
    enum class Use { Thumbnails, Views };
    // The size a picture of a natural size is drawn at, in device pixels; an invalid size for
    // the natural size itself. Called on the worker threads.
    using DrawnSize = std::function<QSize(QSize natural)>;

    explicit WorkAhead(Use use);
    // Begins nothing more and waits for the decodes under way, which never outlive it.
    ~WorkAhead();

    // Forgets what it holds of other files and of files changed since, and decodes these in
    // order, the first first.
    void start(const QStringList& paths, DrawnSize drawnSize);
    // Begins nothing more: what is under way is finished, and what is done stays until the
    // next start, within the budget.
    void stop();
    // The picture as opened ahead, waiting while it is under way; opened here when it was not
    // (throws Failure as Picture::open does).
    Picture open(const QString& path);
    // The opened picture decoded ahead at this size, handed over; null where there is none.
    QImage take(const Picture& picture, QSize size);
    // The picture's embedded thumbnail as read ahead, handed over, waiting while it is under way;
    // read here at this drawn size where it was not.
    EmbeddedThumbnail takeEmbedded(const QString& path, const DrawnSize& drawnSize);

    // Waits until every picture is done, then names each with the size it was decoded at
    // ("a.jpg 800x600"; the name alone at natural size, "a.jpg failed" where none was decoded).
    QStringList done();
    // Waits until every work ahead of the program is done (the benchmark).
    static void waitForAll();
    // The most bytes all of them held at once (the benchmark).
    static qint64 peakBytes();

    WorkAhead(const WorkAhead&) = delete;
    WorkAhead& operator=(const WorkAhead&) = delete;

private:
    struct Entry;
    using Entries = std::vector<std::shared_ptr<Entry>>;
    void decodeUntilDone();
    void decode(Entry& entry) const;
    void readEmbedded(const std::shared_ptr<Entry>& entry);
    Entries::iterator find(const QString& path);
    void forget(Entries::iterator at);

    const Use m_use;
    DrawnSize m_drawnSize;
    QMutex m_mutex;
    QWaitCondition m_decoded;
    Entries m_entries;  // in the order they are decoded
    // Thumbnails for the desktop's cache, written once every picture is decoded.
    struct Unsaved {
        QString path;
        FileStamp stamp;
        QImage thumbnail;
    };
    std::vector<Unsaved> m_unsaved;
    QThreadPool m_workers;
};

}  // namespace platform
