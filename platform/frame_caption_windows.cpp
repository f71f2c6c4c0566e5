#include <windows.h>

#include <QGuiApplication>

#include "platform/frame_caption.h"

namespace platform {

// The window's own text is what the frame shows; only a real window has one (not offscreen).
void clearFrameCaption(QWidget& window) {
    if (QGuiApplication::platformName() != QLatin1String("windows")) return;
    SetWindowTextW(reinterpret_cast<HWND>(window.winId()), L"");
}

}  // namespace platform
