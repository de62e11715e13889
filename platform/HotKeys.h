#pragma once

#include <functional>

namespace bp {

// System-wide key combinations. Keys are named by the virtual-key codes the settings store
// (see KeyTable.h); the implementation maps them to the keys of the desktop.
class IHotKeys {
public:
    // Modifier bits of registerKey.
    enum Modifier : unsigned { Alt = 1, Ctrl = 2, Shift = 4 };

    virtual ~IHotKeys() = default;
    // False when the key is unknown or another program holds the combination; nothing stays
    // registered under the id then.
    virtual bool registerKey(int id, unsigned modifiers, unsigned virtualKey) = 0;
    // Unknown ids are ignored.
    virtual void unregisterKey(int id) = 0;
    // Called with the id of a registered combination each time it is pressed.
    virtual void setHandler(std::function<void(int id)> handler) = 0;
};

}  // namespace bp
