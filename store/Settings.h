#pragma once

// The one list of the program's settings: their names as the file spells them, how their text
// is read, what a new database holds and the range a number is used in. The default database,
// the store's reads and the settings dialogs all take a setting from here, and the rest of the
// program names a setting only through the typed keys below, so a misspelt or mistyped setting
// does not compile.

#include "FontCodec.h"
#include "NoteAttributes.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace bp {

class CNotesDatabase;

// The range a number setting is used in. A settings record written by hand or by another
// program may hold anything; the program reads a number outside its range as the nearer end,
// wherever it uses it. The record keeps what it holds until the user sets the value again.
struct SettingRange {
    int minimum;
    int maximum;
};

struct Setting {
    std::string_view name;
    AttrType type;
    std::string_view defaultValue;  // as a new database writes it
    std::optional<SettingRange> range;
};

namespace setting_table {
using enum AttrType;
constexpr std::optional<SettingRange> kAny = std::nullopt;
}  // namespace setting_table

// Every setting of the settings element, in the order a new database writes them.
inline constexpr std::array<Setting, 51> kSettings = [] {
    using namespace setting_table;
    return std::array<Setting, 51>{{
        // name, type, default, range
        {"autorun", Int, "1", kAny},
        {"openManager", Int, "1", kAny},
        {"ShowMessage", Int, "1", kAny},
        {"Width", Int, "230", kAny},
        {"Height", Int, "175", kAny},
        {"TitleDefaults", Text, "0", kAny},
        {"TitleText", Text, "", kAny},
        {"TitleOrder", Int, "0", kAny},
        // A note's smallest size; the dialog's upper end is the desktop, which only it knows.
        {"minWidth", Int, "150", SettingRange{150, INT_MAX}},
        {"minHeight", Int, "72", SettingRange{72, INT_MAX}},
        {"bodyFontColor", UInt, "0", kAny},
        {"bodyBackColor", UInt, "9043967", kAny},
        {"titleFontColor", UInt, "0", kAny},
        {"titleBackColor", UInt, "8323071", kAny},
        {"titleFontType", Font, kDefaultTitleFont, kAny},
        {"bodyFontType", Font, kDefaultBodyFont, kAny},
        {"titleHeight", Int, "16", kAny},
        {"TransLevel", Int, "150", kAny},
        {"Transparency", Int, "0", kAny},
        {"RandomColors", Int, "1", kAny},
        {"links", Int, "0", kAny},
        {"AutoLock", Int, "0", kAny},
        {"autoLockTime", Int, "0", SettingRange{0, 3600}},  // seconds
        {"priority", Int, "2", kAny},
        {"hkNewNote", UInt, "5111814", kAny},
        {"hkShowAll", UInt, "5439494", kAny},
        {"hkHideAll", UInt, "4718598", kAny},
        {"hkShowAttach", UInt, "4259846", kAny},
        {"hkShowManager", UInt, "5046278", kAny},
        {"defaultImagePath", Text, "", kAny},
        {"deleteMode", Int, "1", kAny},
        {"deleteMax", Int, "25", SettingRange{1, 9999}},
        {"backupMode", Int, "1", kAny},
        // At least the backup just taken is kept.
        {"backupMax", Int, "25", SettingRange{1, 9999}},
        {"autoSave", Int, "15", SettingRange{5, 999}},  // minutes
        {"showNotesMode", Int, "0", kAny},
        // Kept for the files of older versions; nothing reads them now.
        {"Port", Int, "399", kAny},
        {"TCPIP", Int, "23", kAny},
        {"lastIPorPC", Int, "0", kAny},
        {"lastIP", UInt, "0", kAny},
        {"lastPC", Text, "", kAny},
        {"lastPort", Int, "399", kAny},
        {"lastEmail", Text, "", kAny},
        {"lastVia", Int, "1", kAny},
        {"receiveNotesMode", Int, "2", kAny},
        {"beepWhen", Int, "1", kAny},
        {"readWhen", Int, "0", kAny},
        {"border", Int, "1", kAny},
        {"move", Int, "0", kAny},
        {"hideAttach", Int, "1", kAny},
        {"independentDatabases", Int, "0", kAny},
    }};
}();

// The place of a setting in the table, or the table's size when it has none.
constexpr std::size_t SettingIndex(std::string_view name) {
    for (std::size_t i = 0; i < kSettings.size(); ++i) {
        if (kSettings[i].name == name) {
            return i;
        }
    }
    return kSettings.size();
}

// A new note takes these attributes from the settings of the same kind.
static_assert(std::ranges::all_of(kNoteAttributes, [](const NoteAttribute& attribute) {
    return attribute.newFrom != NewFrom::Setting ||
           (SettingIndex(attribute.newValue) < kSettings.size() &&
            kSettings[SettingIndex(attribute.newValue)].type == attribute.type);
}));

// The value as the program uses it: inside the setting's range, when it has one.
constexpr int withinSettingRange(std::string_view name, int value) {
    const std::size_t at = SettingIndex(name);
    if (at == kSettings.size() || !kSettings[at].range) {
        return value;
    }
    return std::clamp(value, kSettings[at].range->minimum, kSettings[at].range->maximum);
}

// Settings a database holds only once the user changed them from their default: a new
// database, and one written before they existed, reads and writes without them, byte for byte.
struct OptionalSetting {
    std::string_view name;
    AttrType type;
    std::string_view defaultValue;
};

inline constexpr std::array<OptionalSetting, 4> kOptionalSettings{{
    // The voice notes are read in, by the engine's name for it; empty: the engine's choice.
    {"speechVoice", AttrType::Text, ""},
    // Whether a note sent as e-mail ends with the program's signature lines.
    {"mailSignature", AttrType::Int, "1"},
    // An alarm's beep: 0 plays it once, 1 again every few seconds until the alarm is stopped,
    // snoozed or stops by itself.
    {"alarmBeepRepeat", AttrType::Int, "0"},
    // Whether a ringing alarm is also shown as a desktop notification (1) or not (0).
    {"alarmNotifications", AttrType::Int, "1"},
}};

constexpr std::size_t OptionalSettingIndex(std::string_view name) {
    for (std::size_t i = 0; i < kOptionalSettings.size(); ++i) {
        if (kOptionalSettings[i].name == name) {
            return i;
        }
    }
    return kOptionalSettings.size();
}

// A name in both tables would be written twice.
static_assert(std::ranges::none_of(kOptionalSettings, [](const OptionalSetting& optional) {
    return SettingIndex(optional.name) < kSettings.size();
}));

namespace setting {

// The C++ type a setting of each kind is read and written as.
template <typename T>
constexpr std::optional<AttrType> typeOf() {
    if constexpr (std::is_same_v<T, int>) {
        return AttrType::Int;
    } else if constexpr (std::is_same_v<T, std::uint32_t>) {
        return AttrType::UInt;
    } else if constexpr (std::is_same_v<T, std::string>) {
        return AttrType::Text;
    } else if constexpr (std::is_same_v<T, LogFont>) {
        return AttrType::Font;
    }
    return std::nullopt;
}

// A setting named at compile time with the type it is read and written as: a name missing
// from the table, or a type other than the table's, does not compile.
template <typename T>
struct Key {
    explicit consteval Key(std::string_view setting) : name(setting) {
        const std::size_t at = SettingIndex(setting);
        if (at == kSettings.size()) {
            throw "not a setting";
        }
        if (typeOf<T>() != kSettings[at].type) {
            throw "the setting has another type";
        }
    }
    // The range the store reads the setting in; a key of a setting without one does not
    // compile.
    consteval SettingRange range() const {
        const std::optional<SettingRange> r = kSettings[SettingIndex(name)].range;
        if (!r) {
            throw "the setting has no range";
        }
        return *r;
    }
    std::string_view name;
};

// A setting of kOptionalSettings, named at compile time with its type.
template <typename T>
struct OptionalKey {
    explicit consteval OptionalKey(std::string_view setting) : name(setting) {
        const std::size_t at = OptionalSettingIndex(setting);
        if (at == kOptionalSettings.size()) {
            throw "not an optional setting";
        }
        if (typeOf<T>() != kOptionalSettings[at].type) {
            throw "the setting has another type";
        }
    }
    std::string_view name;
};

// Reading a setting that is not in the record, or failing to, reports itself and yields the
// empty text or 0; a number is read within the setting's range. Setting one writes "%d" for
// both number kinds, so an unsigned value above 2^31 is stored negative and read back whole.
int get(CNotesDatabase& store, Key<int> key);
std::uint32_t get(CNotesDatabase& store, Key<std::uint32_t> key);
std::string get(CNotesDatabase& store, Key<std::string> key);
LogFont get(CNotesDatabase& store, Key<LogFont> key);
bool set(CNotesDatabase& store, Key<int> key, int value);
bool set(CNotesDatabase& store, Key<std::uint32_t> key, std::uint32_t value);
bool set(CNotesDatabase& store, Key<std::string> key, const std::string& value);
bool set(CNotesDatabase& store, Key<LogFont> key, const LogFont& value);
// An optional setting reads as its default while the record does not hold it; set to its
// default it leaves the record.
int get(CNotesDatabase& store, OptionalKey<int> key);
std::string get(CNotesDatabase& store, OptionalKey<std::string> key);
bool set(CNotesDatabase& store, OptionalKey<int> key, int value);
bool set(CNotesDatabase& store, OptionalKey<std::string> key, const std::string& value);

// Start-up and the program-wide behaviour.
inline constexpr Key<int> autorun{"autorun"};
inline constexpr Key<int> openManager{"openManager"};
inline constexpr Key<int> showNotesMode{"showNotesMode"};
inline constexpr Key<int> move{"move"};
inline constexpr Key<int> autoSave{"autoSave"};
inline constexpr Key<int> deleteMode{"deleteMode"};
inline constexpr Key<int> deleteMax{"deleteMax"};
inline constexpr Key<int> backupMode{"backupMode"};
inline constexpr Key<int> backupMax{"backupMax"};
inline constexpr Key<std::uint32_t> hkNewNote{"hkNewNote"};
inline constexpr Key<std::uint32_t> hkShowAll{"hkShowAll"};
inline constexpr Key<std::uint32_t> hkHideAll{"hkHideAll"};
inline constexpr Key<std::uint32_t> hkShowAttach{"hkShowAttach"};
inline constexpr Key<std::uint32_t> hkShowManager{"hkShowManager"};
inline constexpr OptionalKey<std::string> speechVoice{"speechVoice"};
inline constexpr OptionalKey<int> mailSignature{"mailSignature"};
inline constexpr OptionalKey<int> alarmBeepRepeat{"alarmBeepRepeat"};
inline constexpr OptionalKey<int> alarmNotifications{"alarmNotifications"};

// The defaults of new notes and the limits of every note.
inline constexpr Key<int> priority{"priority"};
inline constexpr Key<int> Transparency{"Transparency"};
inline constexpr Key<int> TransLevel{"TransLevel"};
inline constexpr Key<int> RandomColors{"RandomColors"};
inline constexpr Key<int> AutoLock{"AutoLock"};
inline constexpr Key<int> autoLockTime{"autoLockTime"};
inline constexpr Key<int> Width{"Width"};
inline constexpr Key<int> Height{"Height"};
inline constexpr Key<int> minWidth{"minWidth"};
inline constexpr Key<int> minHeight{"minHeight"};
inline constexpr Key<int> titleHeight{"titleHeight"};
inline constexpr Key<std::string> TitleDefaults{"TitleDefaults"};
inline constexpr Key<std::string> TitleText{"TitleText"};
inline constexpr Key<int> TitleOrder{"TitleOrder"};
inline constexpr Key<std::uint32_t> titleFontColor{"titleFontColor"};
inline constexpr Key<std::uint32_t> titleBackColor{"titleBackColor"};
inline constexpr Key<std::uint32_t> bodyFontColor{"bodyFontColor"};
inline constexpr Key<std::uint32_t> bodyBackColor{"bodyBackColor"};
inline constexpr Key<LogFont> titleFontType{"titleFontType"};
inline constexpr Key<LogFont> bodyFontType{"bodyFontType"};
inline constexpr Key<int> border{"border"};
inline constexpr Key<int> links{"links"};
inline constexpr Key<int> hideAttach{"hideAttach"};
inline constexpr Key<std::string> defaultImagePath{"defaultImagePath"};

}  // namespace setting

}  // namespace bp
