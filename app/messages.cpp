#include "app/messages.h"

#include "platform/drives.h"
#include "platform/message_box.h"

void ShowReadError() {
    platform::MessageBox::show(QStringLiteral("Drive is not ready."),
                               QStringLiteral("Read Error."));
}

namespace {
int g_loadErrorsLeft = 0;  // the LoadErrorLeftToNextLoad living
}  // namespace

LoadErrorLeftToNextLoad::LoadErrorLeftToNextLoad() { ++g_loadErrorsLeft; }
LoadErrorLeftToNextLoad::~LoadErrorLeftToNextLoad() { --g_loadErrorsLeft; }

void ShowLoadError(const platform::Failure& failure) {
    if (g_loadErrorsLeft > 0) return;
    platform::MessageBox::show(failure.description(), QStringLiteral("Load Error"));
}

void ShowOpenError(const QString& path, const QString& reason) {
    platform::MessageBox::show(
        QStringLiteral("Cannot open %1: %2").arg(platform::shownPath(path), reason),
        QStringLiteral("Open Error"));
}

void ShowCannotStayAbove() {
    platform::MessageBox::show(
        QStringLiteral("On Wayland without X the control window cannot stay above other windows. "
                       "Start Tessary where XWayland is installed to keep it in front."),
        QStringLiteral("Tessary"));
}

void ShowWriteError(const QString& path, const QString& reason) {
    platform::MessageBox::show(
        QStringLiteral("Cannot save the settings to %1: %2").arg(platform::shownPath(path), reason),
        QStringLiteral("Write Error"));
}
