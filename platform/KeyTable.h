#pragma once

#include <cstdint>
#include <string>

namespace bp {

// The stored hot keys name keys by Windows virtual-key codes; this is the one table that maps
// them to X11 keysyms and to the key names shown in menus.
//
// Navigation keys (Page Up ... Delete) share their codes with the keypad keys when NumLock is
// off; the extended flag tells them apart, as the hot-key settings record it.

// The keysym of a virtual key, or 0 when the table does not know the key.
std::uint32_t keysymForVirtualKey(unsigned virtualKey, bool extended = true);

// The display name of a virtual key ("N", "Page Down", "F5"), or the empty text when the
// table does not know the key.
std::string keyNameForVirtualKey(unsigned virtualKey, bool extended);

}  // namespace bp
