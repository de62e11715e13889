#include "X11WindowSystem.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace bp {

namespace {

xcb_connection_t* x11Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    if (reply == nullptr) {
        return XCB_ATOM_NONE;
    }
    const xcb_atom_t result = reply->atom;
    free(reply);
    return result;
}

// Atoms never change while the connection lives; asking the server each time would cost a
// round trip per note.
struct Atoms {
    xcb_atom_t wmState, above, below, skipTaskbar, skipPager;
};

const Atoms& atoms(xcb_connection_t* c) {
    static const Atoms cached{internAtom(c, "_NET_WM_STATE"), internAtom(c, "_NET_WM_STATE_ABOVE"),
                              internAtom(c, "_NET_WM_STATE_BELOW"),
                              internAtom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
                              internAtom(c, "_NET_WM_STATE_SKIP_PAGER")};
    return cached;
}

// Asks the window manager to add (1) or remove (0) up to two _NET_WM_STATE atoms.
void sendWmState(xcb_connection_t* c, xcb_window_t window, uint32_t action, xcb_atom_t first,
                 xcb_atom_t second) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atoms(c).wmState;
    event.data.data32[0] = action;
    event.data.data32[1] = first;
    event.data.data32[2] = second;
    event.data.data32[3] = 1;  // a normal application
    xcb_send_event(c, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

}  // namespace

void X11WindowSystem::setStacking(QWidget* window, Stacking stacking) {
    Qt::WindowFlags flags = window->windowFlags();
    flags &= ~(Qt::WindowStaysOnBottomHint | Qt::WindowStaysOnTopHint);
    if (stacking == Stacking::Bottom) {
        flags |= Qt::WindowStaysOnBottomHint;
    } else if (stacking == Stacking::Top) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    // setWindowFlags would hide and re-create the window; this keeps the same X window.
    window->overrideWindowFlags(flags);
    if (QWindow* handle = window->windowHandle()) {
        handle->setFlags(flags);
    }
    // Qt tells the window manager about the new layer of a mapped window itself.
}

void X11WindowSystem::hideFromTaskbar(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    if (c == nullptr) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (window->isVisible()) {
        sendWmState(c, id, 1, atoms(c).skipTaskbar, atoms(c).skipPager);
    } else {
        // Before the window is mapped its state is a plain property, which the window manager
        // reads when it takes the window on; Qt adds its own states to it when it maps.
        const xcb_atom_t states[2] = {atoms(c).skipTaskbar, atoms(c).skipPager};
        xcb_change_property(c, XCB_PROP_MODE_APPEND, id, atoms(c).wmState, XCB_ATOM_ATOM, 32, 2,
                            states);
    }
    xcb_flush(c);
}

void X11WindowSystem::setOpacity(QWidget* window, double opacity) {
    window->setWindowOpacity(opacity);
    // Outside an X event (a timer, a socket) nothing would send the property until later.
    if (xcb_connection_t* c = x11Connection()) {
        xcb_flush(c);
    }
}

void X11WindowSystem::activate(QWidget* window) {
    window->raise();
    window->activateWindow();
}

}  // namespace bp
