#pragma once

// The settings reached by their stored names. For the store itself, the tools that work on a
// database file as it is, and the tests of the store; the program names a setting through the
// typed keys of Settings.h, so that a misspelt name does not compile.

#include "NotesDatabase.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace bp {

class SettingsByName {
public:
    explicit SettingsByName(CNotesDatabase& store) : store_(store) {}

    std::string GetSettingAttribute(std::string_view name) {
        return store_.GetSettingAttribute(name);
    }
    bool SetSettingAttribute(std::string_view name, const std::string& text) {
        return store_.SetSettingAttribute(name, text);
    }
    std::string GetSettingString(std::string_view name) { return store_.GetSettingString(name); }
    int GetSettingInt(std::string_view name) { return store_.GetSettingInt(name); }
    std::uint32_t GetSettingUInt(std::string_view name) { return store_.GetSettingUInt(name); }
    LogFont GetSettingFont(std::string_view name) { return store_.GetSettingFont(name); }
    bool SetSettingString(const std::string& text, std::string_view name) {
        return store_.SetSettingString(text, name);
    }
    bool SetSettingInt(std::int32_t value, std::string_view name) {
        return store_.SetSettingInt(value, name);
    }
    bool SetSettingUInt(std::uint32_t value, std::string_view name) {
        return store_.SetSettingUInt(value, name);
    }
    bool SetSettingFont(const LogFont& font, std::string_view name) {
        return store_.SetSettingFont(font, name);
    }

private:
    CNotesDatabase& store_;
};

}  // namespace bp
