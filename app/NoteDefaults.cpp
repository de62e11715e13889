#include "NoteDefaults.h"

#include "store/FontCodec.h"
#include "store/NotesDatabase.h"

namespace bp {

std::string composeDefaultTitle(const IClock& clock, const std::string& titleDefaults,
                                const std::string& titleText, int titleOrder) {
    const std::string dateFormat = GetDateFormat(CNotesDatabase::ParseInt(titleDefaults));
    // The blank joins the two parts even when one is empty: titles made elsewhere carry it, and
    // a note with neither gets the one-blank title rather than none.
    const std::string pattern =
        titleOrder == 0 ? dateFormat + " " + titleText : titleText + " " + dateFormat;
    return clock.formatNow(pattern, 127);
}

}  // namespace bp
