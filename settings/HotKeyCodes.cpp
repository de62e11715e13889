#include "HotKeyCodes.h"

#include "SettingsRules.h"
#include "platform/KeyTable.h"

#include <Qt>

namespace bp::settings {

namespace {

struct KeyCode {
    int qtKey;
    unsigned code;
};

// Keys whose code does not follow from the key itself. Extended (navigation) keys are
// marked below; on the keypad the same codes come without the flag.
constexpr KeyCode kKeys[] = {
    {Qt::Key_Backspace, 0x08},
    {Qt::Key_Tab, 0x09},
    {Qt::Key_Backtab, 0x09},
    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},
    // Punctuation, with the symbol Shift gives on a US keyboard.
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    // The digits' shifted symbols.
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

// The keypad's own operator keys.
constexpr KeyCode kKeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},   {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Delete, 0x6E}, {Qt::Key_Slash, 0x6F},
};

bool isNavigation(unsigned code) {
    return (code >= 0x21 && code <= 0x28) || code == 0x2D || code == 0x2E;
}

}  // namespace

std::optional<VirtualKey> virtualKeyFor(int qtKey, bool keypad) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return VirtualKey{static_cast<unsigned>(qtKey), false};
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        const auto digit = static_cast<unsigned>(qtKey - Qt::Key_0);
        return VirtualKey{keypad ? 0x60 + digit : '0' + digit, false};
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return VirtualKey{0x70 + static_cast<unsigned>(qtKey - Qt::Key_F1), false};
    }
    if (keypad) {
        for (const KeyCode& key : kKeypadKeys) {
            if (key.qtKey == qtKey) {
                // The keypad's divide key is an extended key, like its Enter.
                return VirtualKey{key.code, key.code == 0x6F};
            }
        }
        if (qtKey == Qt::Key_Enter) {
            return VirtualKey{0x0D, true};
        }
    }
    for (const KeyCode& key : kKeys) {
        if (key.qtKey == qtKey) {
            return VirtualKey{key.code, !keypad && isNavigation(key.code)};
        }
    }
    return std::nullopt;
}

std::string modifierText(std::uint8_t modifiers) {
    std::string text;
    if ((modifiers & kHotKeyCtrl) != 0) {
        text += "Ctrl + ";
    }
    if ((modifiers & kHotKeyAlt) != 0) {
        text += "Alt + ";
    }
    if ((modifiers & kHotKeyShift) != 0) {
        text += "Shift + ";
    }
    return text;
}

std::string hotKeyControlText(std::uint32_t value) {
    const unsigned code = value >> 16;
    if (code == 0) {
        return "None";
    }
    const std::string text = modifierText(static_cast<std::uint8_t>(value & 0xFF));
    std::string name = keyNameForVirtualKey(code, (value & kHotKeyExtended) != 0);
    if (name.empty()) {
        name = "Key " + std::to_string(code);
    }
    return text + name;
}

bool sameHotKey(std::uint32_t a, std::uint32_t b) {
    constexpr std::uint32_t kGrabbed = kHotKeyShift | kHotKeyCtrl | kHotKeyAlt | kHotKeyExtended;
    return (a >> 16) != 0 && (a >> 16) == (b >> 16) && (a & kGrabbed) == (b & kGrabbed);
}

}  // namespace bp::settings
