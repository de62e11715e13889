#pragma once

#include "platform/UserMessages.h"

namespace bp {

// Every box of the program: the store's failures in the desktop's standard error box, all
// other messages and questions in the program's own boxes.
class NoteUserMessages : public IUserMessages {
public:
    void standardError(const std::string& caption, const std::string& text) override;
    void showMessage(const std::string& caption, const std::string& label, const std::string& text,
                     int iconId) override;
    bool askYesNo(const std::string& caption, const std::string& label, const std::string& text,
                  int iconId) override;
};

}  // namespace bp
