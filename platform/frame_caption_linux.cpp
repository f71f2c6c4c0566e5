#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

#include "platform/frame_caption.h"

namespace platform {

static xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

void clearFrameCaption(QWidget& window) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) return;
    xcb_connection_t* connection = x11->connection();
    const auto id = xcb_window_t(window.winId());
    const xcb_atom_t utf8 = atom(connection, "UTF8_STRING");
    for (const char* property : {"_NET_WM_NAME", "_NET_WM_ICON_NAME"}) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom(connection, property), utf8,
                            8, 0, "");
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        0, "");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_ICON_NAME,
                        XCB_ATOM_STRING, 8, 0, "");
    xcb_flush(connection);
}

}  // namespace platform
