#pragma once

#include "platform/HotKeys.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <map>

struct xcb_connection_t;
struct _XCBKeySymbols;

namespace bp {

// Hot keys as passive key grabs on the X root window. A grab matches its modifiers exactly,
// so each combination is grabbed four times: plain, with NumLock, with CapsLock and with both.
// Without an X connection (offscreen, Wayland without XWayland) nothing can be registered.
class X11HotKeys : public IHotKeys, public QAbstractNativeEventFilter {
public:
    X11HotKeys();
    ~X11HotKeys() override;
    X11HotKeys(const X11HotKeys&) = delete;
    X11HotKeys& operator=(const X11HotKeys&) = delete;

    bool registerKey(int id, unsigned modifiers, unsigned virtualKey) override;
    void unregisterKey(int id) override;
    void setHandler(std::function<void(int id)> handler) override { handler_ = std::move(handler); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab {
        std::uint8_t keycode;
        std::uint16_t modifiers;  // X modifier mask without the lock bits
    };
    std::uint16_t numLockMask() const;
    void ungrab(const Grab& grab);

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    _XCBKeySymbols* symbols_ = nullptr;
    std::map<int, Grab> grabs_;
    std::function<void(int)> handler_;
};

}  // namespace bp
