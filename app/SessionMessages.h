#pragma once

#include "platform/UserMessages.h"

#include <cstdio>
#include <functional>

namespace bp {

// Passes boxes on to the desktop until the session is ending. From then on nobody is left to
// press OK, and a box that waits would hold up the exit until the session kills the program:
// what would have been shown goes to the log instead, and questions get the answer "No".
class SessionMessages : public IUserMessages {
public:
    SessionMessages(IUserMessages& boxes, std::function<bool()> sessionEnding,
                    std::FILE* log = stderr)
        : boxes_(boxes), sessionEnding_(std::move(sessionEnding)), log_(log) {}

    void standardError(const std::string& caption, const std::string& text) override;
    void showMessage(const std::string& caption, const std::string& label, const std::string& text,
                     int iconId) override;
    bool askYesNo(const std::string& caption, const std::string& label, const std::string& text,
                  int iconId) override;

private:
    bool ending() const { return sessionEnding_ && sessionEnding_(); }
    void toLog(const std::string& caption, const std::string& text) const;

    IUserMessages& boxes_;
    std::function<bool()> sessionEnding_;
    std::FILE* log_;
};

}  // namespace bp
