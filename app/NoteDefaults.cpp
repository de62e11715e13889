#include "NoteDefaults.h"

#include "store/FontCodec.h"
#include "store/NotesDatabase.h"

namespace bp {

std::string composeDefaultTitle(const IClock& clock, const std::string& titleDefaults,
                                const std::string& titleText, int titleOrder) {
    const std::string dateFormat = GetDateFormat(CNotesDatabase::ParseInt(titleDefaults));
    // With no date format or no text there is nothing to join; a lone blank is no title.
    std::string pattern;
    if (dateFormat.empty() || titleText.empty()) {
        pattern = dateFormat + titleText;
    } else if (titleOrder == 0) {
        pattern = dateFormat + " " + titleText;
    } else {
        pattern = titleText + " " + dateFormat;
    }
    return clock.formatNow(pattern, 127);
}

}  // namespace bp
