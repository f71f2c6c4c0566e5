#include "platform/window_system.h"

#include <QGuiApplication>

namespace platform {

bool windowsCanStayAbove() { return !QGuiApplication::platformName().startsWith(u"wayland"); }

}  // namespace platform
