#pragma once
#include <QByteArray>
#include <QString>

namespace platform {

// The bytes of a small file. Only a regular file is read (opening a pipe of that name would wait
// for a writer for ever), and none larger than maxBytes. Throws Failure when the file is missing,
// cannot be read or is too large.
QByteArray readSmallFile(const QString& path, qint64 maxBytes);

// Text in the system's code page and back: the ANSI code page on Windows (CP932 on a Japanese
// system), UTF-8 on Linux.
QByteArray toSystemCodePage(const QString& text);
QString fromSystemCodePage(const QByteArray& bytes);
// Whether the code page writes the text as it is (a Korean name does not fit CP932: it comes
// back as "?").
bool fitsSystemCodePage(const QString& text);

// Writes the file whole, or leaves the previous one as it was: the bytes go to a temporary file
// that then takes the file's place. Returns an empty text, or why the file could not be written.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace platform
