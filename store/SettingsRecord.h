#pragma once

#include "FontCodec.h"
#include "StoreData.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bp {

// The settings record read and written by the settings' stored names. A failed read reports
// itself and yields the empty text or 0, and a number is read within its range (Settings.h).
// Both number writers write "%d": unsigned values above 2^31 are stored negative and read
// back whole.
class SettingsRecord {
public:
    explicit SettingsRecord(StoreData& data) : data_(data) {}

    std::string read(std::string_view name);
    bool write(std::string_view name, const std::string& text);
    int readInt(std::string_view name);
    std::uint32_t readUInt(std::string_view name);
    LogFont readFont(std::string_view name);
    bool writeInt(std::string_view name, std::int32_t value);
    bool writeUInt(std::string_view name, std::uint32_t value);
    bool writeFont(std::string_view name, const LogFont& font);

    // A setting that only some databases carry, after the ones every database has: a database
    // without it reads nothing, and removing it (nullopt) gives the settings back their bytes
    // from before. Silent, as the note extras are.
    std::optional<std::string> readExtra(std::string_view name);
    bool writeExtra(std::string_view name, const std::optional<std::string>& text);

    // "Low", "Regular", "High" for priority 0, 1, 2; any other value leaves out unchanged.
    void defaultPriorityName(std::string& out);
    // The wording of showNotesMode 0, 1, 2; any other value leaves out unchanged.
    void showNotesModeName(std::string& out);

private:
    StoreData& data_;
};

}  // namespace bp
