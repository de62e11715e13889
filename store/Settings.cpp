#include "Settings.h"

#include "SettingsByName.h"

namespace bp::setting {

int get(CNotesDatabase& store, Key<int> key) {
    return SettingsByName(store).GetSettingInt(key.name);
}
std::uint32_t get(CNotesDatabase& store, Key<std::uint32_t> key) {
    return SettingsByName(store).GetSettingUInt(key.name);
}
std::string get(CNotesDatabase& store, Key<std::string> key) {
    return SettingsByName(store).GetSettingString(key.name);
}
LogFont get(CNotesDatabase& store, Key<LogFont> key) {
    return SettingsByName(store).GetSettingFont(key.name);
}
bool set(CNotesDatabase& store, Key<int> key, int value) {
    return SettingsByName(store).SetSettingInt(value, key.name);
}
bool set(CNotesDatabase& store, Key<std::uint32_t> key, std::uint32_t value) {
    return SettingsByName(store).SetSettingUInt(value, key.name);
}
bool set(CNotesDatabase& store, Key<std::string> key, const std::string& value) {
    return SettingsByName(store).SetSettingString(value, key.name);
}
bool set(CNotesDatabase& store, Key<LogFont> key, const LogFont& value) {
    return SettingsByName(store).SetSettingFont(value, key.name);
}

}  // namespace bp::setting
