#pragma once

class QDialog;

namespace bp {

// Runs the program's modal dialogs, so that tests can answer them without a nested event
// loop that would wait for a user.
class IModalDialogs {
public:
    virtual ~IModalDialogs() = default;
    // The dialog's result code (QDialog::Accepted or Rejected).
    virtual int run(QDialog& dialog) = 0;
};

}  // namespace bp
