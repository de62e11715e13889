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

namespace {

std::string_view defaultOf(std::string_view name) {
    return kOptionalSettings[OptionalSettingIndex(name)].defaultValue;
}

std::optional<std::string> unlessDefault(std::string_view name, std::string value) {
    if (value == defaultOf(name)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

int get(CNotesDatabase& store, OptionalKey<int> key) {
    const std::optional<std::string> stored = store.GetSettingExtra(key.name);
    return CNotesDatabase::ParseInt(stored ? *stored : defaultOf(key.name));
}
std::string get(CNotesDatabase& store, OptionalKey<std::string> key) {
    const std::optional<std::string> stored = store.GetSettingExtra(key.name);
    return stored ? *stored : std::string(defaultOf(key.name));
}
bool set(CNotesDatabase& store, OptionalKey<int> key, int value) {
    return store.SetSettingExtra(key.name, unlessDefault(key.name, std::to_string(value)));
}
bool set(CNotesDatabase& store, OptionalKey<std::string> key, const std::string& value) {
    return store.SetSettingExtra(key.name, unlessDefault(key.name, value));
}

}  // namespace bp::setting
