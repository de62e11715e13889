#pragma once

#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace bp {

class CNote;
class CNotesDatabase;
class NoteHost;
class INoteOwner;

// The notes open in this session, in the order they were started. A note window may still be
// inside one of its own menus or dialogs when it is taken out, so whoever takes it decides
// when it may end.
class OpenNotes {
public:
    OpenNotes(Platform platform, CNotesDatabase& store, INoteOwner& owner);
    ~OpenNotes();
    OpenNotes(const OpenNotes&) = delete;
    OpenNotes& operator=(const OpenNotes&) = delete;

    struct StartFlags {
        bool applyPriorityOnStart = false;
        bool startupBatch = false;
        bool lastOfStartupBatch = false;
    };
    // Builds the note's window from its record and adds it at the end.
    NoteHost& start(std::int32_t nid, StartFlags flags);

    std::size_t size() const { return threads_.size(); }
    CNote& at(std::size_t index) const;
    CNote* find(std::int32_t nid) const;
    std::optional<std::size_t> indexOf(std::int32_t nid) const;
    // The note of the window, when it is one of these.
    std::optional<std::size_t> indexOfWindow(const CNote& window) const;
    // Notes whose window was shown once and is hidden now.
    int hiddenCount() const;

    template <typename F>
    void forEach(F&& f) const {
        for (const auto& thread : threads_) {
            f(noteOf(*thread));
        }
    }

    // Shows every note and brings it to the front, marked as raised by a command on all.
    void raiseAll();
    void hideAll();
    // Writes every note's new place and size, raises it, and lets it move there with
    // place (move, or collapse, at the stored place).
    void arrange(const std::vector<Point>& positions, int width, std::optional<int> height,
                 void (CNote::*place)());
    // Hides and shows again without a record or a message: the notes step aside while a file
    // dialog is open.
    void hideQuietly();
    void showOpenQuietly();

    std::unique_ptr<NoteHost> take(std::size_t index);
    // The session ended: every note leaves the list but lives on until this object goes,
    // because the event loops its menus and dialogs run in return only then.
    void retireAll();
    // Marks every note as closing and lets it go, so that it no longer reports to the owner.
    void closeAll();

private:
    static CNote& noteOf(NoteHost& thread);

    Platform platform_;
    CNotesDatabase& store_;
    INoteOwner& owner_;
    std::vector<std::unique_ptr<NoteHost>> threads_;
    std::vector<std::unique_ptr<NoteHost>> retired_;
};

}  // namespace bp
