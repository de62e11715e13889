#pragma once

#include "FontCodec.h"
#include "NoteAttributes.h"
#include "StoreData.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bp {

// One note's record: its attributes, the extra attributes only some notes carry, and its body.
// source is a NoteSource: reads of the import buffer take no lock and report nothing (except
// the body read). A failed read yields the empty text or 0.
class NoteRecords {
public:
    explicit NoteRecords(StoreData& data) : data_(data) {}

    std::string read(int source, std::int32_t nid, std::string_view name);
    bool write(std::int32_t nid, std::string_view name, const std::string& text);
    int readInt(int source, std::int32_t nid, std::string_view name);
    std::uint32_t readUInt(int source, std::int32_t nid, std::string_view name);
    LogFont readFont(int source, std::int32_t nid, std::string_view name);
    bool writeInt(std::int32_t nid, std::string_view name, std::int32_t value);
    bool writeUInt(std::int32_t nid, std::string_view name, std::uint32_t value);
    bool writeFont(std::int32_t nid, std::string_view name, const LogFont& font);

    // Silent: a note that is not there reads nothing and takes nothing. Removing an extra
    // (nullopt) gives the note back its bytes from before.
    std::optional<std::string> readExtra(std::int32_t nid, std::string_view name);
    bool writeExtra(std::int32_t nid, std::string_view name,
                    const std::optional<std::string>& text);

    // Read and written as the attribute's type says, so that a copy stores the value as the
    // program reads it.
    bool copy(int source, std::int32_t from, std::int32_t to, const NoteAttribute& attribute);

    // A failed read reports itself (both sources) and leaves out unchanged.
    bool readBody(int source, std::int32_t nid, std::string& out);
    bool writeBody(std::int32_t nid, const std::string& text);

private:
    StoreData& data_;
};

}  // namespace bp
