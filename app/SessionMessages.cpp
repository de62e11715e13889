#include "SessionMessages.h"

namespace bp {

void SessionMessages::toLog(const std::string& caption, const std::string& text) const {
    if (log_ != nullptr) {
        std::fprintf(log_, "brightpost: %s: %s\n", caption.c_str(), text.c_str());
        std::fflush(log_);
    }
}

void SessionMessages::standardError(const std::string& caption, const std::string& text) {
    if (ending()) {
        toLog(caption, text);
        return;
    }
    boxes_.standardError(caption, text);
}

void SessionMessages::showMessage(const std::string& caption, const std::string& label,
                                  const std::string& text, int iconId) {
    if (ending()) {
        toLog(caption, text);
        return;
    }
    boxes_.showMessage(caption, label, text, iconId);
}

bool SessionMessages::askYesNo(const std::string& caption, const std::string& label,
                               const std::string& text, int iconId) {
    if (ending()) {
        toLog(caption, text + " (answered No: the session is ending)");
        return false;
    }
    return boxes_.askYesNo(caption, label, text, iconId);
}

}  // namespace bp
