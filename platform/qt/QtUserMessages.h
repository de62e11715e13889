#pragma once

#include "platform/UserMessages.h"

namespace bp {

// Desktop message boxes through Qt. The program's own boxes are plain Qt boxes until the
// note layer supplies its own look.
class QtUserMessages : public IUserMessages {
public:
    void standardError(const std::string& caption, const std::string& text) override;
    void showMessage(const std::string& caption, const std::string& label, const std::string& text,
                     int iconId) override;
    bool askYesNo(const std::string& caption, const std::string& label, const std::string& text,
                  int iconId) override;
};

}  // namespace bp
