#pragma once

#include "NoteCatalogue.h"
#include "StoreData.h"
#include "StoreTypes.h"

#include <optional>
#include <string>

namespace bp {

// The import buffer: a database file read for its notes, which the note reads of source
// kImportSource then see.
class DatabaseImport {
public:
    DatabaseImport(StoreData& data, NoteCatalogue& catalogue)
        : data_(data), catalogue_(catalogue) {}

    // Fills the buffer and lists the notes of the file that are not in its Recycle Bin; a
    // file that cannot be read leaves the buffer empty.
    std::optional<IdList> load(const std::string& path);

private:
    StoreData& data_;
    NoteCatalogue& catalogue_;
    std::string text_;
    std::string settings_;
};

}  // namespace bp
