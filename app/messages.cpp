#include "app/messages.h"

#include "platform/message_box.h"

void ShowReadError() {
    platform::MessageBox::show(QStringLiteral("Drive is not ready."),
                               QStringLiteral("Read Error."));
}

void ShowLoadError(const platform::Failure& failure) {
    platform::MessageBox::show(failure.description(), QStringLiteral("Load Error"));
}

void ShowWriteError(const QString& path, const QString& reason) {
    platform::MessageBox::show(
        QStringLiteral("Cannot save the settings to %1: %2").arg(path, reason),
        QStringLiteral("Write Error"));
}
