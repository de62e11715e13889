#include "X11WindowSystem.h"

#include <QGuiApplication>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace bp {

namespace {

// What the window should be, kept on the widget so that it outlives hiding and showing.
constexpr const char* kLayerProperty = "_bp_layer";
constexpr const char* kSkipTaskbarProperty = "_bp_skipTaskbar";
constexpr const char* kShownProperty = "_bp_shownBefore";

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
    xcb_atom_t wmState, above, below, staysOnTop, skipTaskbar, skipPager;
};

const Atoms& atoms(xcb_connection_t* c) {
    static const Atoms cached{internAtom(c, "_NET_WM_STATE"),
                              internAtom(c, "_NET_WM_STATE_ABOVE"),
                              internAtom(c, "_NET_WM_STATE_BELOW"),
                              internAtom(c, "_NET_WM_STATE_STAYS_ON_TOP"),
                              internAtom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
                              internAtom(c, "_NET_WM_STATE_SKIP_PAGER")};
    return cached;
}

constexpr uint32_t kRemove = 0;
constexpr uint32_t kAdd = 1;

// Asks the window manager to add or remove up to two _NET_WM_STATE atoms of a mapped window.
void sendWmState(xcb_connection_t* c, xcb_window_t window, uint32_t action, xcb_atom_t first,
                 xcb_atom_t second = XCB_ATOM_NONE) {
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

IWindowSystem::Stacking layerOf(const QWidget* window) {
    const QVariant layer = window->property(kLayerProperty);
    return layer.isValid() ? static_cast<IWindowSystem::Stacking>(layer.toInt())
                           : IWindowSystem::Stacking::Normal;
}

bool skipsTaskbar(const QWidget* window) {
    return window->property(kSkipTaskbarProperty).toBool();
}

bool hasLayer(const QWidget* window) {
    return window->property(kLayerProperty).isValid();
}

// A shown window is the window manager's only once it has mapped it; before that, between
// show() and the manager taking it on, its state is still read from the property.
bool mapped(xcb_connection_t* c, const QWidget* window) {
    if (!window->isVisible()) {
        return false;
    }
    xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(
        c, xcb_get_window_attributes(c, static_cast<xcb_window_t>(window->winId())), nullptr);
    if (reply == nullptr) {
        return false;
    }
    const bool result = reply->map_state != XCB_MAP_STATE_UNMAPPED;
    free(reply);
    return result;
}

// Before a window is mapped its state is a plain property, which the window manager reads
// when it takes the window on; Qt adds its own states to it when it maps.
void writeStateProperty(xcb_connection_t* c, const QWidget* window) {
    // A window created here holds no state yet, and asking would cost a round trip per note.
    const bool created = window->testAttribute(Qt::WA_WState_Created);
    const auto id = static_cast<xcb_window_t>(window->winId());
    const Atoms& a = atoms(c);
    std::vector<xcb_atom_t> states;
    xcb_get_property_reply_t* reply =
        created ? xcb_get_property_reply(
                      c, xcb_get_property(c, 0, id, a.wmState, XCB_ATOM_ATOM, 0, 1024), nullptr)
                : nullptr;
    if (reply != nullptr) {
        if (reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
            const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
            states.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        free(reply);
    }
    std::erase_if(states, [&a](xcb_atom_t s) {
        return s == a.above || s == a.below || s == a.staysOnTop || s == a.skipTaskbar ||
               s == a.skipPager;
    });
    if (skipsTaskbar(window)) {
        states.push_back(a.skipTaskbar);
        states.push_back(a.skipPager);
    }
    if (layerOf(window) == IWindowSystem::Stacking::Top) {
        states.push_back(a.above);
    } else if (layerOf(window) == IWindowSystem::Stacking::Bottom) {
        states.push_back(a.below);
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, a.wmState, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
}

void sendLayer(xcb_connection_t* c, xcb_window_t id, IWindowSystem::Stacking stacking) {
    const Atoms& a = atoms(c);
    switch (stacking) {
        case IWindowSystem::Stacking::Top:
            sendWmState(c, id, kRemove, a.below);
            sendWmState(c, id, kAdd, a.above);
            break;
        case IWindowSystem::Stacking::Bottom:
            sendWmState(c, id, kRemove, a.above, a.staysOnTop);
            sendWmState(c, id, kAdd, a.below);
            break;
        case IWindowSystem::Stacking::Normal:
            sendWmState(c, id, kRemove, a.above, a.below);
            sendWmState(c, id, kRemove, a.staysOnTop);
            break;
    }
}

void setStackingFlags(QWidget* window, IWindowSystem::Stacking stacking) {
    Qt::WindowFlags flags = window->windowFlags();
    flags &= ~(Qt::WindowStaysOnBottomHint | Qt::WindowStaysOnTopHint);
    if (stacking == IWindowSystem::Stacking::Bottom) {
        flags |= Qt::WindowStaysOnBottomHint;
    } else if (stacking == IWindowSystem::Stacking::Top) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    // setWindowFlags would hide and re-create the window.
    window->overrideWindowFlags(flags);
    if (QWindow* handle = window->windowHandle()) {
        handle->setFlags(flags);
    }
}

}  // namespace

void X11WindowSystem::setStacking(QWidget* window, Stacking stacking) {
    xcb_connection_t* c = x11Connection();
    if (c == nullptr) {
        setStackingFlags(window, stacking);
        return;
    }
    window->setProperty(kLayerProperty, static_cast<int>(stacking));
    if (window->windowHandle() == nullptr) {
        return;  // written with the rest of the state before the window is first shown
    }
    if (mapped(c, window)) {
        sendLayer(c, static_cast<xcb_window_t>(window->winId()), stacking);
    } else {
        writeStateProperty(c, window);
    }
    xcb_flush(c);
}

void X11WindowSystem::hideFromTaskbar(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    if (c == nullptr) {
        return;
    }
    window->setProperty(kSkipTaskbarProperty, true);
    if (mapped(c, window)) {
        const Atoms& a = atoms(c);
        sendWmState(c, static_cast<xcb_window_t>(window->winId()), kAdd, a.skipTaskbar,
                    a.skipPager);
    } else {
        writeStateProperty(c, window);
    }
    xcb_flush(c);
}

void X11WindowSystem::windowShown(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    if (c == nullptr || !window->isVisible()) {
        return;
    }
    // The first time, the property written before the map is all the window manager needs;
    // sending it again would cost it a second round per note at start-up.
    if (!window->property(kShownProperty).toBool()) {
        window->setProperty(kShownProperty, true);
        return;
    }
    // A window hidden and shown again in quick succession may be mapped before the window
    // manager has finished with its hiding, which clears the state written before the map.
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (skipsTaskbar(window)) {
        const Atoms& a = atoms(c);
        sendWmState(c, id, kAdd, a.skipTaskbar, a.skipPager);
    }
    if (hasLayer(window)) {
        sendLayer(c, id, layerOf(window));
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
