#pragma once

#include <algorithm>
#include <array>
#include <climits>
#include <string_view>

namespace bp {

// The range the settings dialogs keep a number setting in. A settings record written by hand
// or by another program may hold anything; the program reads a number outside its range as
// the nearer end, wherever it uses it. The record keeps what it holds until the user sets
// the value again.
struct SettingRange {
    std::string_view name;
    int minimum;
    int maximum;
};

inline constexpr SettingRange kAutoSaveRange{"autoSave", 5, 999};  // minutes
inline constexpr SettingRange kDeleteMaxRange{"deleteMax", 1, 9999};
// At least the backup just taken is kept.
inline constexpr SettingRange kBackupMaxRange{"backupMax", 1, 9999};
inline constexpr SettingRange kAutoLockTimeRange{"autoLockTime", 0, 3600};  // seconds
// A note's smallest size; the dialog's upper end is the desktop, which only it knows.
inline constexpr SettingRange kMinWidthRange{"minWidth", 150, INT_MAX};
inline constexpr SettingRange kMinHeightRange{"minHeight", 72, INT_MAX};

inline constexpr std::array kSettingRanges{kAutoSaveRange,     kDeleteMaxRange, kBackupMaxRange,
                                           kAutoLockTimeRange, kMinWidthRange,  kMinHeightRange};

// The value as the program uses it: inside the setting's range, when it has one.
constexpr int withinSettingRange(std::string_view name, int value) {
    for (const SettingRange& range : kSettingRanges) {
        if (range.name == name) {
            return std::clamp(value, range.minimum, range.maximum);
        }
    }
    return value;
}

}  // namespace bp
