#pragma once

#include "store/Settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bp::settings {

// The ranges the two settings dialogs keep their numbers in: those the store reads settings in.
inline constexpr int kMinAutoSave = setting::autoSave.range().minimum;  // minutes
inline constexpr int kMaxAutoSave = setting::autoSave.range().maximum;
// Recycle Bin capacity, backups kept
inline constexpr int kMinCount = setting::deleteMax.range().minimum;
inline constexpr int kMaxCount = setting::deleteMax.range().maximum;
static_assert(setting::backupMax.range().minimum == kMinCount &&
              setting::backupMax.range().maximum == kMaxCount);
inline constexpr int kSmallestMinWidth = setting::minWidth.range().minimum;
inline constexpr int kSmallestMinHeight = setting::minHeight.range().minimum;
inline constexpr int kMaxAutoLockTime = setting::autoLockTime.range().maximum;  // seconds
static_assert(setting::autoLockTime.range().minimum == 0);
inline constexpr std::size_t kTitleTextLength = 80;  // characters

// A number typed into a field: an optional sign and digits, blanks around them allowed.
// Anything else, and a number too large for an int, reads as 0, which the field's range
// then raises to its smallest value.
int readNumber(std::string_view text);

// The combo-box texts and the values they stand for. A text that is none of them (typed by
// the user) has no value, and the setting keeps the one it had.
std::optional<int> showNotesModeFor(std::string_view text);
std::optional<int> priorityFor(std::string_view text);
std::optional<int> borderFor(std::string_view text);
// 1 "Plain", 2 "3D Thin", 3 "3D Thick"; any other value shows as "3D Thin".
std::string borderName(int border);

// Default note sizes as OK stores them: the minimums fit on the desktop and are never below
// the smallest note; width and height lie between their minimum and the desktop.
struct NoteSizes {
    int minWidth = 0;
    int minHeight = 0;
    int width = 0;
    int height = 0;
    bool operator==(const NoteSizes&) const = default;
};
NoteSizes fitNoteSizes(NoteSizes sizes, int desktopWidth, int desktopHeight);

// Black text cannot be told from the chooser's own default, so the colour choosers start
// from a dark grey instead, which stays even when the chooser is cancelled.
inline constexpr std::uint32_t kDarkGrey = 55 + 55 * 256 + 55 * 65536;  // 3618615
inline std::uint32_t chooserStartColor(std::uint32_t stored) {
    return stored == 0 ? kDarkGrey : stored;
}

// The first 80 characters of a UTF-8 title text; a character is never cut in half.
std::string cutTitleText(std::string_view text);

// A hot key as stored: the virtual-key code in the high word, the modifier byte low.
inline constexpr std::uint8_t kHotKeyShift = 0x01;
inline constexpr std::uint8_t kHotKeyCtrl = 0x02;
inline constexpr std::uint8_t kHotKeyAlt = 0x04;
inline constexpr std::uint8_t kHotKeyExtended = 0x08;
inline constexpr std::uint32_t hotKeyValue(unsigned virtualKey, std::uint8_t modifiers) {
    return static_cast<std::uint32_t>(virtualKey) * 65536u + modifiers;
}

}  // namespace bp::settings
