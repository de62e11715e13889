#include "OpenNotes.h"

#include "NoteHost.h"
#include "note/Note.h"
#include "platform/Messages.h"
#include "store/NotesDatabase.h"

namespace bp {

OpenNotes::OpenNotes(Platform platform, CNotesDatabase& store, INoteOwner& owner)
    : platform_(platform), store_(store), owner_(owner) {}

OpenNotes::~OpenNotes() = default;

CNote& OpenNotes::noteOf(NoteHost& thread) {
    return thread.note();
}

NoteHost& OpenNotes::start(std::int32_t nid, StartFlags flags) {
    auto thread = std::make_unique<NoteHost>(platform_, store_, owner_, nid);
    thread->applyPriorityOnStart = flags.applyPriorityOnStart;
    thread->startupBatch = flags.startupBatch;
    thread->lastOfStartupBatch = flags.lastOfStartupBatch;
    NoteHost& started = *thread;
    // Listed before it is built: a note tells the owner about itself while it starts.
    threads_.push_back(std::move(thread));
    started.buildNote();
    return started;
}

CNote& OpenNotes::at(std::size_t index) const {
    return threads_.at(index)->note();
}

CNote* OpenNotes::find(std::int32_t nid) const {
    const auto index = indexOf(nid);
    return index ? &threads_[*index]->note() : nullptr;
}

std::optional<std::size_t> OpenNotes::indexOf(std::int32_t nid) const {
    for (std::size_t i = 0; i < threads_.size(); ++i) {
        if (threads_[i]->note().nid() == nid) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> OpenNotes::indexOfWindow(const CNote& window) const {
    for (std::size_t i = 0; i < threads_.size(); ++i) {
        if (&threads_[i]->note() == &window) {
            return i;
        }
    }
    return std::nullopt;
}

int OpenNotes::hiddenCount() const {
    int hidden = 0;
    for (const auto& thread : threads_) {
        if (thread->started && !thread->note().isVisible()) {
            ++hidden;
        }
    }
    return hidden;
}

void OpenNotes::raiseAll() {
    for (auto& thread : threads_) {
        CNote& note = thread->note();
        note.setRaisedByAll(true);
        if (!note.isVisible()) {
            note.ShowNote(true);
        }
        note.bringToFront();
    }
}

void OpenNotes::hideAll() {
    for (auto& thread : threads_) {
        thread->note().ShowNote(false);
    }
}

void OpenNotes::arrange(const std::vector<Point>& positions, int width, std::optional<int> height,
                        void (CNote::*place)()) {
    for (std::size_t i = 0; i < threads_.size(); ++i) {
        CNote& note = threads_[i]->note();
        store_.SetNote(note.nid(), positions[i].x, note::xPos);
        store_.SetNote(note.nid(), positions[i].y, note::yPos);
        store_.SetNote(note.nid(), width, note::Width);
        if (height) {
            store_.SetNote(note.nid(), *height, note::Height);
        }
        note.setRaisedByAll(true);
        if (!note.isVisible()) {
            note.ShowNote(true);
        }
        (note.*place)();
    }
}

void OpenNotes::hideQuietly() {
    for (auto& thread : threads_) {
        if (thread->note().isVisible()) {
            thread->note().ShowQuietly(false);
        }
    }
}

void OpenNotes::showOpenQuietly() {
    for (auto& thread : threads_) {
        CNote& note = thread->note();
        if (store_.GetNote(kLiveSource, note.nid(), note::isClosed) == 0 && !note.isVisible()) {
            note.ShowQuietly(true);
        }
    }
}

std::unique_ptr<NoteHost> OpenNotes::take(std::size_t index) {
    std::unique_ptr<NoteHost> thread = std::move(threads_.at(index));
    threads_.erase(threads_.begin() + static_cast<std::ptrdiff_t>(index));
    return thread;
}

void OpenNotes::retireAll() {
    for (auto& thread : threads_) {
        retired_.push_back(std::move(thread));
    }
    threads_.clear();
}

void OpenNotes::closeAll() {
    for (auto& thread : threads_) {
        thread->note().setClosing();
    }
    threads_.clear();
}

}  // namespace bp
