#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace bp::settings {

// A key as the stored hot keys name it: a Windows virtual-key code, and whether it is one
// of the extended keys (the navigation keys apart from their keypad twins).
struct VirtualKey {
    unsigned code = 0;
    bool extended = false;
    bool operator==(const VirtualKey&) const = default;
};

// The virtual key of a key the toolkit reports (a Qt::Key value; keypad: the key came from
// the numeric keypad). Shifted symbols name the key they are on ("!" is the key "1"). None
// for modifiers and for keys a hot key cannot use.
std::optional<VirtualKey> virtualKeyFor(int qtKey, bool keypad);

// The text a hot-key control shows for a stored value: "Ctrl + Alt + K", modifiers in the
// order Ctrl, Alt, Shift; "None" when no key is set.
std::string hotKeyControlText(std::uint32_t value);
// The modifiers of a modifier byte as that text begins: "Ctrl + Alt + ".
std::string modifierText(std::uint8_t modifiers);

// Whether two stored values grab the same combination: both hold a key, the same key (a
// navigation key and its keypad twin differ) and the same modifiers.
bool sameHotKey(std::uint32_t a, std::uint32_t b);

}  // namespace bp::settings
