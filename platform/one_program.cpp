#include "platform/one_program.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>
#include <QUrl>
#include <deque>
#include <optional>

#include "platform/held.h"
#include "platform/system_one_program.h"

namespace platform {

namespace {
// A message is one line: the word, the path's UTF-8 bytes percent-encoded, a line feed.
const QByteArray kWord = QByteArrayLiteral("tessary-open ");
// Room for the longest path Linux allows, encoded; a message must be whole within the time.
constexpr qint64 kMaxMessageBytes = 16 * 1024;
constexpr int kMessageMilliseconds = 2000;
constexpr int kMaxConnections = 8;
constexpr int kConnectMilliseconds = 1000;

QByteArray messageOf(const QString& path) {
    return kWord + path.toUtf8().toPercentEncoding() + '\n';
}

// The path a line carries; nothing for a line that is not exactly what messageOf() writes.
std::optional<QString> pathIn(const QByteArray& line) {
    if (!line.startsWith(kWord) || !line.endsWith('\n')) return {};
    const QByteArray encoded = line.mid(kWord.size(), line.size() - kWord.size() - 1);
    const QByteArray bytes = QByteArray::fromPercentEncoding(encoded);
    if (bytes.toPercentEncoding() != encoded || bytes.contains('\0')) return {};
    return QString::fromUtf8(bytes);
}

// The running program's end of the socket. Every read happens on the event loop and is
// bounded in size and time, so no later start can hold the program up.
class Listener : public QObject {
public:
    explicit Listener(std::function<void(const QString&)> onPath) : m_onPath(std::move(onPath)) {
        connect(&m_server, &QLocalServer::newConnection, this, [this] { accept(); });
    }
    // A later start still connected when the program ends is closed without a word to a
    // listener that is gone.
    ~Listener() override {
        for (auto* socket : findChildren<QLocalSocket*>(Qt::FindDirectChildrenOnly))
            socket->disconnect();
    }
    bool listen(const QString& name) { return listenForUserOnly(m_server, name); }

private:
    void accept() {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            if (findChildren<QLocalSocket*>(Qt::FindDirectChildrenOnly).size() > kMaxConnections) {
                drop(socket);
                continue;
            }
            socket->setReadBufferSize(kMaxMessageBytes + 1);
            QTimer::singleShot(kMessageMilliseconds, socket, [socket] { drop(socket); });
            connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { read(socket); });
            connect(socket, &QLocalSocket::disconnected, socket, [this, socket] {
                read(socket);  // what came before the end
                drop(socket);
            });
            read(socket);
        }
    }
    void read(QLocalSocket* socket) {
        if (socket->bytesAvailable() > kMaxMessageBytes) return drop(socket);
        if (!socket->canReadLine()) return;
        if (const auto path = pathIn(socket->readLine())) {
            m_held.push_back(*path);
            deliverLater();
        }
        drop(socket);
    }
    static void drop(QLocalSocket* socket) {
        socket->disconnect();
        socket->abort();
        socket->deleteLater();
    }
    void deliverLater() {
        QTimer::singleShot(0, this, [this] { deliverNext(); });
    }
    // One path at a time, never inside a message box's loop or a HeldMoment; the rest wait
    // their turn.
    void deliverNext() {
        if (m_held.empty()) return;
        if (HeldMoment::now()) return HeldMoment::whenOver(this, [this] { deliverNext(); });
        const QString path = m_held.front();
        m_held.pop_front();
        if (!m_held.empty()) deliverLater();
        m_onPath(path);
    }

    QLocalServer m_server{this};
    std::function<void(const QString&)> m_onPath;
    std::deque<QString> m_held;
};
}  // namespace

bool handOverToRunningProgram(const QString& path, std::function<void(const QString&)> onPath) {
    const QString name = runningProgramSocket();
    if (name.isEmpty()) return false;
    // Two programs started at once take turns: one listens, the other then hands over to it.
    QLockFile turn(turnLockFile(name));
    turn.tryLock(5 * kConnectMilliseconds);
    QLocalSocket socket;
    socket.connectToServer(name);
    if (socket.waitForConnected(kConnectMilliseconds)) {
        letRunningProgramComeForward();
        socket.write(messageOf(path));
        return socket.waitForBytesWritten(kConnectMilliseconds) || socket.bytesToWrite() == 0;
    }
    // A program that runs but does not answer keeps its socket; this one then runs alone.
    const auto error = socket.error();
    if (error != QLocalSocket::ConnectionRefusedError && error != QLocalSocket::ServerNotFoundError)
        return false;
    QLocalServer::removeServer(name);  // left by a program that crashed
    auto* listener = new Listener(std::move(onPath));
    listener->setParent(QCoreApplication::instance());
    if (!listener->listen(name)) delete listener;
    return false;
}

QString startingPath(const QStringList& arguments) {
    if (arguments.size() < 2 || arguments[1].isEmpty()) return {};
    QString path = arguments[1];
    if (const QUrl url(path); url.isLocalFile()) path = url.toLocalFile();
    return QFileInfo(path).absoluteFilePath();
}

}  // namespace platform
