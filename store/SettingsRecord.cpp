#include "SettingsRecord.h"

#include "Markup.h"
#include "Settings.h"

namespace bp {

using namespace markup;

std::string SettingsRecord::read(std::string_view name) {
    std::lock_guard lock(data_.lock);
    std::string value;
    const LookupFailure failure = lookupFailureOf(ReadAttribute(data_.settings, name, value));
    if (failure == LookupFailure::None) {
        return value;
    }
    data_.reportError(failure, "Error while reading settings");
    return {};
}

bool SettingsRecord::write(std::string_view name, const std::string& text) {
    std::lock_guard lock(data_.lock);
    std::string updated = data_.settings;
    const LookupFailure failure = lookupFailureOf(WriteAttribute(updated, name, text));
    if (failure != LookupFailure::None) {
        data_.reportError(failure, "Not able to set the settings attribute");
        return false;
    }
    if (updated != data_.settings) {
        data_.settings = std::move(updated);
        data_.notifyChange();
    }
    return true;
}

std::optional<std::string> SettingsRecord::readExtra(std::string_view name) {
    std::lock_guard lock(data_.lock);
    std::string value;
    if (ReadAttribute(data_.settings, name, value) != AttributeFailure::None) {
        return std::nullopt;
    }
    return value;
}

bool SettingsRecord::writeExtra(std::string_view name, const std::optional<std::string>& text) {
    std::lock_guard lock(data_.lock);
    std::string updated = data_.settings;
    if (const std::size_t old = updated.find(AttributeNeedle(name)); old != std::string::npos) {
        const std::size_t close = updated.find(kValueClose, old);
        if (close == std::string::npos) {
            return false;
        }
        updated.erase(old, close + kValueClose.size() - old);
    }
    if (text) {
        // After the last of the settings every database has, so that the ones before keep
        // their places.
        const std::size_t last = updated.find(AttributeNeedle(kSettings.back().name));
        const std::size_t close =
            last == std::string::npos ? last : updated.find(kValueClose, last);
        if (close == std::string::npos) {
            return false;
        }
        std::string value = *text;
        EscapeReservedTokens(value);
        updated.insert(close + kValueClose.size(), AttributeText(name, value));
    }
    if (updated != data_.settings) {
        data_.settings = std::move(updated);
        data_.notifyChange();
    }
    return true;
}

int SettingsRecord::readInt(std::string_view name) {
    return withinSettingRange(name, parseStoredInt(read(name)));
}

std::uint32_t SettingsRecord::readUInt(std::string_view name) {
    return ParseNumber(read(name));
}

LogFont SettingsRecord::readFont(std::string_view name) {
    return DecodeFont(read(name));
}

bool SettingsRecord::writeInt(std::string_view name, std::int32_t value) {
    return write(name, std::to_string(value));
}

bool SettingsRecord::writeUInt(std::string_view name, std::uint32_t value) {
    return writeInt(name, static_cast<std::int32_t>(value));
}

bool SettingsRecord::writeFont(std::string_view name, const LogFont& font) {
    return write(name, EncodeFont(font));
}

void SettingsRecord::defaultPriorityName(std::string& out) {
    static constexpr const char* kNames[] = {"Low", "Regular", "High"};
    const int priority = readInt(setting::priority.name);
    if (priority >= 0 && priority <= 2) {
        out = kNames[priority];
    }
}

void SettingsRecord::showNotesModeName(std::string& out) {
    static constexpr const char* kNames[] = {"Remember notes' state", "Show all notes",
                                             "Hide all notes"};
    const int mode = readInt(setting::showNotesMode.name);
    if (mode >= 0 && mode <= 2) {
        out = kNames[mode];
    }
}

}  // namespace bp
