#include "DatabaseImport.h"

#include "DatabaseFile.h"
#include "DatabaseText.h"
#include "StoreMessages.h"

namespace bp {

std::optional<IdList> DatabaseImport::load(const std::string& path) {
    static constexpr const char* kMessages[] = {
        "",
        "Wrong dat file format.",
        "Wrong dat file format. Settings not found.",
        "Wrong dat file format. Settings END not found.",
        "Wrong dat file format. Notes not found.",
        "Wrong dat file format. Notes END not found.",
    };
    text_.clear();
    settings_.clear();
    data_.importNotes.clear();
    dbfile::ReadResult read = dbfile::readDatabaseText(path);
    switch (read.status) {
        case dbfile::ReadStatus::Missing:
            data_.reportError("Error", "File not found!");
            return std::nullopt;
        case dbfile::ReadStatus::CannotOpen:
            data_.reportError("Error",
                              "You do not have access permissions to dat file. Please contact "
                              "your system administrator.");
            return std::nullopt;
        case dbfile::ReadStatus::NotAFile:
            data_.reportError("Error", notAFileMessage(path, "imported").c_str());
            return std::nullopt;
        case dbfile::ReadStatus::BadLength:
            // A length that does not fit the file: nothing in it can be trusted.
            data_.reportError("Error", kMessages[1]);
            return std::nullopt;
        case dbfile::ReadStatus::Ok:
            break;
    }
    DatabaseSections split;
    const SplitFailure failure = SplitDatabaseText(read.text, true, split);
    if (failure != SplitFailure::None) {
        data_.reportError("Error", kMessages[static_cast<int>(failure)]);
        return std::nullopt;
    }
    text_ = std::move(read.text);
    settings_ = std::move(split.settings);
    data_.importNotes.assign(std::move(split.notes));
    return catalogue_.list(kImportSource);
}

}  // namespace bp
