#pragma once

namespace platform {

// The control window's place above every other window, and the places of the others, need a
// window system that lets a program place its windows: X on Linux, or Windows.
// Before the program's first window, on Linux: where an X server answers (XWayland on a Wayland
// session included), Qt is asked for X, unless the user chose a platform in QT_QPA_PLATFORM.
void preferX11();
// False where the platform cannot keep a window above the others (Wayland without X).
bool windowsCanStayAbove();
// Sends what has been drawn to the screen now: on X, Qt sends it only once it is back in its
// event loop, so drawing done step by step inside one handler would reach the screen all at once.
void sendDrawing();

}  // namespace platform
