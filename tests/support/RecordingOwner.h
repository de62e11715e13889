#pragma once

#include "note/NoteOwner.h"

#include <cstdint>
#include <vector>

namespace bp::test {

// Stands in for the main window and remembers what notes told it.
class RecordingOwner : public INoteOwner {
public:
    struct Sent {
        enum class Kind { SendMessage, PostMessage, SendCommand, PostCommand } kind;
        int id;
        std::intptr_t wParam = 0;
        std::intptr_t lParam = 0;
        bool operator==(const Sent&) const = default;
    };
    void sendMessage(int id, std::intptr_t w, std::intptr_t l) override {
        sent.push_back({Sent::Kind::SendMessage, id, w, l});
    }
    void postMessage(int id, std::intptr_t w, std::intptr_t l) override {
        sent.push_back({Sent::Kind::PostMessage, id, w, l});
    }
    void sendCommand(int id) override { sent.push_back({Sent::Kind::SendCommand, id}); }
    void postCommand(int id) override { sent.push_back({Sent::Kind::PostCommand, id}); }

    std::vector<Sent> sent;
};

}  // namespace bp::test
