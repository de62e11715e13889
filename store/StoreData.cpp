#include "StoreData.h"

#include "Markup.h"

namespace bp {

std::unique_lock<std::recursive_mutex> StoreData::lockFor(int source) const {
    if (source == kImportSource) {
        return std::unique_lock<std::recursive_mutex>(lock, std::defer_lock);
    }
    return std::unique_lock<std::recursive_mutex>(lock);
}

void StoreData::notifyChange() {
    if (changeListener) {
        changeListener();
    }
}

void StoreData::reportError(LookupFailure point, const char* text) {
    problems.report({"Error " + std::to_string(static_cast<int>(point)), text});
}

void StoreData::reportError(const char* caption, const char* text) {
    problems.report({caption, text});
}

bool StoreData::locateToChange(std::int32_t nid, NoteSection::Location& at,
                               std::string_view& element, const char* operation) {
    const LookupFailure failure = notes.locate(nid, at, element);
    if (failure == LookupFailure::None) {
        return true;
    }
    // The captions of this message have always been the other way round for the operations
    // that change a note's element as a whole.
    reportError(failure == LookupFailure::NoNote ? LookupFailure::NoNoteEnd : LookupFailure::NoNote,
                operation);
    return false;
}

int parseStoredInt(std::string_view text) {
    return static_cast<int>(markup::ParseNumber(text));
}

}  // namespace bp
