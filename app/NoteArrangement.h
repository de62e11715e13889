#pragma once

#include "platform/Platform.h"

#include <optional>
#include <vector>

namespace bp {

class CNote;
class OpenNotes;

// The commands that act on all open notes at once: show all, hide all, cascade and minimize
// all. The notes they bring up stay raised above other windows until the program loses the
// activation, when each goes back to the layer of its priority.
class NoteArrangement {
public:
    NoteArrangement(Platform platform, OpenNotes& notes) : platform_(platform), notes_(notes) {}

    void showAll();
    void hideAll();
    // False, told to the user, when the screen is too small for the notes.
    bool cascade();
    bool minimizeAll();
    // Ends the raise of the last command, if any.
    void restoreZOrder();
    void setRaised(bool raised) { raised_ = raised; }

private:
    void arrange(const std::vector<Point>& positions, int width, std::optional<int> height,
                 void (CNote::*place)());

    Platform platform_;
    OpenNotes& notes_;
    bool raised_ = false;
};

}  // namespace bp
