#pragma once

#include "store/FontCodec.h"
#include "store/NotesDatabase.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace bp::setting {

// A setting of the settings record with the type it is read and written as, so the two
// dialogs cannot read a colour as a signed number or write a font as text.
template <typename T>
struct Key {
    std::string_view name;
};

inline int get(CNotesDatabase& store, Key<int> key) {
    return store.GetSettingInt(key.name);
}
inline std::uint32_t get(CNotesDatabase& store, Key<std::uint32_t> key) {
    return store.GetSettingUInt(key.name);
}
inline std::string get(CNotesDatabase& store, Key<std::string> key) {
    return store.GetSettingString(key.name);
}
inline LogFont get(CNotesDatabase& store, Key<LogFont> key) {
    return store.GetSettingFont(key.name);
}
inline void set(CNotesDatabase& store, Key<int> key, int value) {
    store.SetSettingInt(value, key.name);
}
inline void set(CNotesDatabase& store, Key<std::uint32_t> key, std::uint32_t value) {
    store.SetSettingUInt(value, key.name);
}
inline void set(CNotesDatabase& store, Key<std::string> key, const std::string& value) {
    store.SetSettingString(value, key.name);
}
inline void set(CNotesDatabase& store, Key<LogFont> key, const LogFont& value) {
    store.SetSettingFont(value, key.name);
}

// The program-wide settings.
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

}  // namespace bp::setting
