#include "X11HotKeys.h"

#include "platform/KeyTable.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <array>
#include <cstdlib>

namespace bp {

namespace {

constexpr std::uint32_t kNumLockKeysym = 0xff7f;
// The modifiers a hot key can carry; lock, NumLock and XKB group bits are ignored on a press.
constexpr std::uint16_t kRelevantModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

}  // namespace

X11HotKeys::X11HotKeys() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) {
        return;
    }
    connection_ = x11->connection();
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    symbols_ = xcb_key_symbols_alloc(connection_);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11HotKeys::~X11HotKeys() {
    if (connection_ == nullptr) {
        return;
    }
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    for (const auto& [id, grab] : grabs_) {
        ungrab(grab);
    }
    xcb_flush(connection_);
    xcb_key_symbols_free(symbols_);
}

std::uint16_t X11HotKeys::numLockMask() const {
    std::uint16_t mask = 0;
    xcb_keycode_t* numLock = xcb_key_symbols_get_keycode(symbols_, kNumLockKeysym);
    xcb_get_modifier_mapping_reply_t* mapping =
        xcb_get_modifier_mapping_reply(connection_, xcb_get_modifier_mapping(connection_), nullptr);
    if (numLock != nullptr && mapping != nullptr) {
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mapping);
        const int perModifier = mapping->keycodes_per_modifier;
        for (int modifier = 0; modifier < 8 && mask == 0; ++modifier) {
            for (int k = 0; k < perModifier; ++k) {
                if (codes[modifier * perModifier + k] != 0 &&
                    codes[modifier * perModifier + k] == numLock[0]) {
                    mask = static_cast<std::uint16_t>(1u << modifier);
                    break;
                }
            }
        }
    }
    std::free(numLock);
    std::free(mapping);
    return mask != 0 ? mask : static_cast<std::uint16_t>(XCB_MOD_MASK_2);
}

void X11HotKeys::ungrab(const Grab& grab) {
    const std::uint16_t numLock = numLockMask();
    for (const std::uint16_t extra :
         std::array<std::uint16_t, 4>{0, XCB_MOD_MASK_LOCK, numLock,
                                      static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLock)}) {
        xcb_ungrab_key(connection_, grab.keycode, root_,
                       static_cast<std::uint16_t>(grab.modifiers | extra));
    }
}

bool X11HotKeys::registerKey(int id, unsigned modifiers, unsigned virtualKey) {
    unregisterKey(id);
    if (connection_ == nullptr) {
        return false;
    }
    const std::uint32_t keysym = keysymForVirtualKey(virtualKey);
    if (keysym == 0) {
        return false;
    }
    xcb_keycode_t* keycodes = xcb_key_symbols_get_keycode(symbols_, keysym);
    if (keycodes == nullptr || keycodes[0] == XCB_NO_SYMBOL) {
        std::free(keycodes);
        return false;
    }
    Grab grab{keycodes[0], 0};
    std::free(keycodes);
    if ((modifiers & Shift) != 0) {
        grab.modifiers |= XCB_MOD_MASK_SHIFT;
    }
    if ((modifiers & Ctrl) != 0) {
        grab.modifiers |= XCB_MOD_MASK_CONTROL;
    }
    if ((modifiers & Alt) != 0) {
        grab.modifiers |= XCB_MOD_MASK_1;
    }

    const std::uint16_t numLock = numLockMask();
    bool refused = false;
    for (const std::uint16_t extra :
         std::array<std::uint16_t, 4>{0, XCB_MOD_MASK_LOCK, numLock,
                                      static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLock)}) {
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(
            connection_, 1, root_, static_cast<std::uint16_t>(grab.modifiers | extra), grab.keycode,
            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
            // BadAccess: another client holds it; any other error leaves it unusable too.
            refused = true;
            std::free(error);
        }
    }
    if (refused) {
        // Another client holds (part of) the combination: keep none of it.
        ungrab(grab);
        xcb_flush(connection_);
        return false;
    }
    grabs_[id] = grab;
    return true;
}

void X11HotKeys::unregisterKey(int id) {
    const auto it = grabs_.find(id);
    if (it == grabs_.end()) {
        return;
    }
    ungrab(it->second);
    xcb_flush(connection_);
    grabs_.erase(it);
}

bool X11HotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || grabs_.empty()) {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS) {
        return false;
    }
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    if (press->event != root_) {
        return false;
    }
    const auto modifiers = static_cast<std::uint16_t>(press->state & kRelevantModifiers);
    for (const auto& [id, grab] : grabs_) {
        if (grab.keycode == press->detail && grab.modifiers == modifiers) {
            // Acted on from the event loop, not from inside the X event dispatch.
            if (handler_) {
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(), [handler = handler_, id = id] { handler(id); },
                    Qt::QueuedConnection);
            }
            return true;
        }
    }
    return false;
}

}  // namespace bp
