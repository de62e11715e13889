#include "NewNoteRecord.h"

#include "NoteDefaults.h"
#include "note/ColorSchemes.h"
#include "store/NotesDatabase.h"
#include "store/Settings.h"

namespace bp {

std::int32_t addNewNoteRecord(CNotesDatabase& store, const IClock& clock,
                              const std::function<unsigned()>& random) {
    const std::int64_t now = clock.now();
    const std::int32_t nid = store.NewNote();
    if (setting::get(store, setting::RandomColors) != 0) {
        const NoteColors colors = chooseRandomColors(random);
        store.SetNote(nid, colors.titleBack, note::titleBackColor);
        store.SetNote(nid, colors.titleFont, note::titleFontColor);
        store.SetNote(nid, colors.bodyBack, note::bodyBackColor);
        store.SetNote(nid, colors.bodyFont, note::bodyFontColor);
    }
    store.SetNote(nid, static_cast<std::uint32_t>(now), note::time);
    store.SetNote(nid,
                  composeDefaultTitle(clock, setting::get(store, setting::TitleDefaults),
                                      setting::get(store, setting::TitleText),
                                      setting::get(store, setting::TitleOrder)),
                  note::title);
    return nid;
}

}  // namespace bp
