#pragma once

#include <cstdint>
#include <string>

namespace bp {

// The tray icon's tool tip: the product and three counts, one a line, and the alarms nobody
// answered when there are any.
std::string trayTipText(int created, int visible, int invisible, int missedAlarms = 0);

// A stored hot-key value as the tray menu shows it: "Ctrl + Alt + N". Modifiers always come
// in the order Ctrl, Alt, Shift; the key's name is cut to 7 characters; an unknown key has
// an empty name.
std::string HotKeyText(std::uint32_t value);

// Parts of a stored hot-key value.
struct HotKeyValue {
    unsigned virtualKey = 0;  // 0: no hot key set
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool extended = false;
};
HotKeyValue decodeHotKey(std::uint32_t value);

// Completes a database file name chosen under the "Dat Files" filter.
std::string withDatExtension(std::string path);

// The version line of the About box.
std::string aboutVersionText();

}  // namespace bp
