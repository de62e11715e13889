#pragma once

#include "platform/UserMessages.h"

namespace bp {

// Every box of the program: the store's failures in the desktop's standard error box, all
// other messages and questions in the program's own boxes. Boxes are widgets and live on the
// GUI thread: one asked for on another thread (a save running in the background) is shown
// there as soon as the event loop gets to it, and the asking thread does not wait for it.
class NoteUserMessages : public IUserMessages {
public:
    void standardError(const std::string& caption, const std::string& text) override;
    void showMessage(const std::string& caption, const std::string& label, const std::string& text,
                     int iconId) override;
    bool askYesNo(const std::string& caption, const std::string& label, const std::string& text,
                  int iconId) override;
};

}  // namespace bp
