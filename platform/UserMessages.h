#pragma once

#include <string>

namespace bp {

// Every box the program shows. The store reports its own failures in the desktop's
// standard error box; the rest of the program uses its own information and question boxes.
// Tests replace this with a recorder that also answers the questions.
class IUserMessages {
public:
    virtual ~IUserMessages() = default;

    // The desktop's standard error box ("Error 1" ... "Error 4", "Error").
    virtual void standardError(const std::string& caption, const std::string& text) = 0;

    // The program's own information box: a caption, a frame label, the text, a window icon.
    virtual void showMessage(const std::string& caption, const std::string& label,
                             const std::string& text, int iconId) = 0;

    // The program's own yes/no question; true only for "Yes".
    virtual bool askYesNo(const std::string& caption, const std::string& label,
                          const std::string& text, int iconId) = 0;
};

}  // namespace bp
