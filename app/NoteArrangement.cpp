#include "NoteArrangement.h"

#include "NotePlacement.h"
#include "OpenNotes.h"
#include "note/Note.h"
#include "platform/Messages.h"

namespace bp {

void NoteArrangement::showAll() {
    notes_.raiseAll();
    raised_ = true;
}

void NoteArrangement::hideAll() {
    notes_.hideAll();
}

bool NoteArrangement::cascade() {
    const Rect desktop = platform_.desktop->screenRect();
    const auto layout = cascadeLayout(desktop.width, desktop.height, notes_.size());
    if (!layout) {
        platform_.messages->showMessage("Warning", "",
                                        "Can't cascade notes.\nScreen resolution is to small.",
                                        res::ICON_WARNING);
        return false;
    }
    arrange(layout->positions, layout->width, layout->height, &CNote::moveToStored);
    return true;
}

bool NoteArrangement::minimizeAll() {
    const Rect desktop = platform_.desktop->screenRect();
    const auto layout = collapsedLayout(desktop.width, desktop.height, notes_.size());
    if (!layout) {
        platform_.messages->showMessage(
            "Warning", "", "Can't process.\nScreen resolution is to small.", res::ICON_WARNING);
        return false;
    }
    arrange(layout->positions, layout->width, std::nullopt, &CNote::collapseAtStored);
    return true;
}

void NoteArrangement::arrange(const std::vector<Point>& positions, int width,
                              std::optional<int> height, void (CNote::*place)()) {
    notes_.arrange(positions, width, height, place);
    raised_ = true;
}

void NoteArrangement::restoreZOrder() {
    if (!raised_) {
        return;
    }
    notes_.forEach([](CNote& note) {
        if (note.priority() != 2) {
            note.ApplyPriorityZOrder();
        }
    });
    notes_.forEach([](CNote& note) {
        note.setRaisedByAll(false);
        note.setKeepZOrder(false);
    });
    raised_ = false;
}

}  // namespace bp
