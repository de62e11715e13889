#include "KeyTable.h"

#include <array>

namespace bp {

namespace {

struct KeyEntry {
    unsigned virtualKey;
    std::uint32_t keysym;
    const char* name;
    // The keypad twin of a navigation key, reported without the extended flag.
    std::uint32_t keypadKeysym;
    const char* keypadName;
};

// Keysym values are those of X11's keysymdef.h, written out so that this table needs no X.
constexpr std::array kKeys{
    KeyEntry{0x08, 0xff08, "Backspace", 0, nullptr},
    KeyEntry{0x09, 0xff09, "Tab", 0, nullptr},
    KeyEntry{0x0D, 0xff0d, "Enter", 0, nullptr},
    KeyEntry{0x13, 0xff13, "Pause", 0, nullptr},
    KeyEntry{0x1B, 0xff1b, "Esc", 0, nullptr},
    KeyEntry{0x20, 0x0020, "Space", 0, nullptr},
    KeyEntry{0x21, 0xff55, "Page Up", 0xff9a, "Num 9"},
    KeyEntry{0x22, 0xff56, "Page Down", 0xff9b, "Num 3"},
    KeyEntry{0x23, 0xff57, "End", 0xff9c, "Num 1"},
    KeyEntry{0x24, 0xff50, "Home", 0xff95, "Num 7"},
    KeyEntry{0x25, 0xff51, "Left", 0xff96, "Num 4"},
    KeyEntry{0x26, 0xff52, "Up", 0xff97, "Num 8"},
    KeyEntry{0x27, 0xff53, "Right", 0xff98, "Num 6"},
    KeyEntry{0x28, 0xff54, "Down", 0xff99, "Num 2"},
    KeyEntry{0x2C, 0xff61, "Prnt Scrn", 0, nullptr},
    KeyEntry{0x2D, 0xff63, "Insert", 0xff9e, "Num 0"},
    KeyEntry{0x2E, 0xffff, "Delete", 0xff9f, "Num Del"},
    KeyEntry{0x6A, 0xffaa, "Num *", 0, nullptr},
    KeyEntry{0x6B, 0xffab, "Num +", 0, nullptr},
    KeyEntry{0x6D, 0xffad, "Num -", 0, nullptr},
    KeyEntry{0x6E, 0xffae, "Num Del", 0, nullptr},
    KeyEntry{0x6F, 0xffaf, "Num /", 0, nullptr},
    KeyEntry{0xBA, 0x003b, ";", 0, nullptr},
    KeyEntry{0xBB, 0x003d, "=", 0, nullptr},
    KeyEntry{0xBC, 0x002c, ",", 0, nullptr},
    KeyEntry{0xBD, 0x002d, "-", 0, nullptr},
    KeyEntry{0xBE, 0x002e, ".", 0, nullptr},
    KeyEntry{0xBF, 0x002f, "/", 0, nullptr},
    KeyEntry{0xC0, 0x0060, "`", 0, nullptr},
    KeyEntry{0xDB, 0x005b, "[", 0, nullptr},
    KeyEntry{0xDC, 0x005c, "\\", 0, nullptr},
    KeyEntry{0xDD, 0x005d, "]", 0, nullptr},
    KeyEntry{0xDE, 0x0027, "'", 0, nullptr},
};

const KeyEntry* findEntry(unsigned virtualKey) {
    for (const KeyEntry& entry : kKeys) {
        if (entry.virtualKey == virtualKey) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace

std::uint32_t keysymForVirtualKey(unsigned virtualKey, bool extended) {
    if (virtualKey >= '0' && virtualKey <= '9') {
        return virtualKey;
    }
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return virtualKey - 'A' + 'a';  // X grabs by the unshifted keysym
    }
    if (virtualKey >= 0x60 && virtualKey <= 0x69) {
        return 0xffb0 + (virtualKey - 0x60);  // KP_0 ... KP_9
    }
    if (virtualKey >= 0x70 && virtualKey <= 0x87) {
        return 0xffbe + (virtualKey - 0x70);  // F1 ... F24
    }
    const KeyEntry* entry = findEntry(virtualKey);
    if (entry == nullptr) {
        return 0;
    }
    return !extended && entry->keypadKeysym != 0 ? entry->keypadKeysym : entry->keysym;
}

std::string keyNameForVirtualKey(unsigned virtualKey, bool extended) {
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
        return std::string(1, static_cast<char>(virtualKey));
    }
    if (virtualKey >= 0x60 && virtualKey <= 0x69) {
        return "Num " + std::to_string(virtualKey - 0x60);
    }
    if (virtualKey >= 0x70 && virtualKey <= 0x87) {
        return "F" + std::to_string(virtualKey - 0x70 + 1);
    }
    const KeyEntry* entry = findEntry(virtualKey);
    if (entry == nullptr) {
        return {};
    }
    return !extended && entry->keypadName != nullptr ? entry->keypadName : entry->name;
}

}  // namespace bp
