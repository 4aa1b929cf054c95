// The desktop's niceties: the window centred on its screen and kept out of the task bar.

#include "qt/window.h"

#include <QGuiApplication>
#include <QScreen>

#include <cstdlib>
#include <cstring>
#include <memory>

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

namespace qtui {

void Window::CentreOnScreen()
{
    const QScreen* screen = this->screen();
    if (screen == nullptr)
        return;
    // Centred by the client area; the frame the window manager adds goes around it.
    const QRect area = screen->availableGeometry();
    setGeometry(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2, width(), height());
}

void Window::KeepOutOfTaskbar()
{
    // Qt has no flag for this short of Qt::Tool, which would change the frame too. Before the
    // window is first mapped the state may be written directly; Qt merges its own states
    // into what it finds there. Other platforms (offscreen among them) may answer for X11
    // too, without a connection that belongs to this window.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr)
        return;
    // Both names go out before either answer is awaited: one round trip to the server, not two.
    auto ask = [connection](const char* name) {
        return xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    };
    auto answer = [connection](xcb_intern_atom_cookie_t cookie) -> xcb_atom_t {
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    };
    const auto stateCookie = ask("_NET_WM_STATE");
    const auto skipCookie = ask("_NET_WM_STATE_SKIP_TASKBAR");
    const xcb_atom_t netWmState = answer(stateCookie);
    const xcb_atom_t skipTaskbar = answer(skipCookie);
    if (netWmState == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(winId()), netWmState,
                        XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
    xcb_flush(connection);
}

} // namespace qtui
