#include "NoteHost.h"

#include "attach/AttachPanel.h"

namespace bp {

NoteHost::NoteHost(Platform platform, CNotesDatabase& store, INoteOwner& owner, std::int32_t nid)
    : store_(store), owner_(owner), note_(std::make_unique<CNote>(platform, store, owner, nid)) {}

NoteHost::~NoteHost() = default;

void NoteHost::endLater() {
    note_.release()->deleteLater();
    delete this;
}

void NoteHost::buildNote() {
    note_->CreateFromRecord();
    // Built once the note knows its colours; the note shows it together with itself.
    note_->setAttachPanel(new AttachPanel(*note_));
    // The stacking is in place before the window appears, so the window manager takes the
    // window on in its layer instead of moving it there afterwards.
    if (applyPriorityOnStart) {
        note_->ApplyPriorityZOrder();
    }
    const int showNotesMode = startupBatch ? setting::get(store_, setting::showNotesMode) : 0;
    if (!startupBatch || showNotesMode == 1 ||
        (showNotesMode == 0 && store_.GetNote(kLiveSource, note_->nid(), note::isClosed) == 0)) {
        note_->ShowNote(true);
    }
    started = true;
    if (lastOfStartupBatch) {
        owner_.updateTrayTipLater();
    }
}

}  // namespace bp
