#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include "platform/failure.h"

namespace platform {

QByteArray readSmallFile(const QString& path, qint64 maxBytes) {
    if (!QFileInfo(path).isFile()) throw Failure(QStringLiteral("No such file: %1").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw Failure(file.errorString());
    if (file.size() > maxBytes)
        throw Failure(QStringLiteral("The file is too large: %1").arg(path));
    return file.readAll();
}

QByteArray toSystemCodePage(const QString& text) {
    return QStringEncoder(QStringConverter::System).encode(text);
}

QString fromSystemCodePage(const QByteArray& bytes) {
    return QStringDecoder(QStringConverter::System).decode(bytes);
}

bool fitsSystemCodePage(const QString& text) {
    return fromSystemCodePage(toSystemCodePage(text)) == text;
}

QString writeWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // The explicit flush matters: commit() takes a failed flush of the last buffered bytes (a
    // full disk) for success and puts the cut-short file in place of the previous one.
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                         file.flush() && file.commit();
    return written ? QString() : file.errorString();
}

}  // namespace platform
