#include "DatabaseText.h"

#include "Markup.h"

namespace bp {

using namespace markup;

SplitFailure SplitDatabaseText(std::string_view text, bool allowImportRoot, DatabaseSections& out) {
    if (Find(text, kRootStart, 0) != 0 &&
        !(allowImportRoot && Find(text, kImportRootStart, 0) == 0)) {
        return SplitFailure::Root;
    }
    const long long s1 = Find(text, kSettingsStart, 0);
    if (s1 <= 0) {
        return SplitFailure::SettingsStart;
    }
    const long long e1 = Find(text, kSettingsEnd, s1);
    if (e1 <= s1) {
        return SplitFailure::SettingsEnd;
    }
    const long long s2 = Find(text, kNotesStart, e1);
    if (s2 <= e1) {
        return SplitFailure::NotesStart;
    }
    const long long e2 = Find(text, kNotesEnd, s2);
    if (e2 <= s2) {
        return SplitFailure::NotesEnd;
    }
    out.settings = Extract(text, s1, e1 - s1);
    out.notes = Extract(text, s2, e2 - s2);
    return SplitFailure::None;
}

std::string ComposeDatabaseText(const std::string& settings, const std::string& notes) {
    std::string text;
    text.reserve(settings.size() + notes.size() + 128);
    text += kRootStart;
    text += settings;
    text += kSettingsEnd;
    text += "\r\n";
    text += notes;
    text += kNotesEnd;
    text += "\r\n";
    text += kRootEnd;
    return text;
}

}  // namespace bp
