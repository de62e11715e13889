#pragma once

#include "manage/ListWindowOwner.h"
#include "note/NoteOwner.h"
#include "settings/SettingsOwner.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace bp::test {

// Stands in for the main window and remembers, in order, what notes, list windows and
// settings dialogs asked of it. It acts on nothing; a test that needs an effect derives.
class RecordingOwner : public INoteOwner, public IListWindowOwner, public ISettingsOwner {
public:
    enum class Kind {
        CreateNote,
        DuplicateNote,
        DeleteNote,
        DeleteNoteWindow,
        RestoreNote,
        ShowNote,
        HideNote,
        PrintNote,
        OpenNoteMenu,
        NoteChanged,
        UpdateTrayTip,
        UpdateTrayTipLater,
        ShowTrayMenu,
        StopOtherReading,
        ReadingEnded,
        AutoSaveIntervalChanged,
        StopAutoLockTimers,
        AutostartChanged,
    };
    struct Call {
        Kind kind;
        std::int32_t nid = 0;
        const CNote* window = nullptr;
        bool operator==(const Call&) const = default;
    };

    void createNote() override { calls.push_back({Kind::CreateNote}); }
    void duplicateNote(std::int32_t nid) override { calls.push_back({Kind::DuplicateNote, nid}); }
    void deleteNote(std::int32_t nid) override { calls.push_back({Kind::DeleteNote, nid}); }
    void deleteNoteWindow(const CNote& note) override {
        calls.push_back({Kind::DeleteNoteWindow, 0, &note});
    }
    void restoreNote(std::int32_t nid) override { calls.push_back({Kind::RestoreNote, nid}); }
    void showNote(std::int32_t nid) override { calls.push_back({Kind::ShowNote, nid}); }
    void hideNote(std::int32_t nid) override { calls.push_back({Kind::HideNote, nid}); }
    void printNote(std::int32_t nid) override { calls.push_back({Kind::PrintNote, nid}); }
    void openNoteMenu(std::int32_t nid) override { calls.push_back({Kind::OpenNoteMenu, nid}); }
    void noteChanged(std::int32_t nid) override { calls.push_back({Kind::NoteChanged, nid}); }
    void updateTrayTip() override { calls.push_back({Kind::UpdateTrayTip}); }
    void updateTrayTipLater() override { calls.push_back({Kind::UpdateTrayTipLater}); }
    void showTrayMenu() override { calls.push_back({Kind::ShowTrayMenu}); }
    void stopOtherReading() override { calls.push_back({Kind::StopOtherReading}); }
    void readingEnded() override { calls.push_back({Kind::ReadingEnded}); }
    void autoSaveIntervalChanged() override { calls.push_back({Kind::AutoSaveIntervalChanged}); }
    void stopAutoLockTimers() override { calls.push_back({Kind::StopAutoLockTimers}); }
    void autostartChanged() override { calls.push_back({Kind::AutostartChanged}); }

    // The nids of the calls of one kind, in order.
    std::vector<std::int32_t> nidsOf(Kind kind) const {
        std::vector<std::int32_t> nids;
        for (const Call& call : calls) {
            if (call.kind == kind) {
                nids.push_back(call.nid);
            }
        }
        return nids;
    }
    int count(Kind kind) const {
        return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                              [kind](const Call& c) { return c.kind == kind; }));
    }

    std::vector<Call> calls;
};

}  // namespace bp::test
