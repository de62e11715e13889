#pragma once

#include <QDialog>

class QLineEdit;

namespace bp {

// Asks for a web address to keep with a note. What the user leaves in the field is taken as
// it is, "http://" alone included.
class CAttachUrl : public QDialog {
    Q_OBJECT
public:
    explicit CAttachUrl(QWidget* owner);

    QString url() const;
    QLineEdit* field() const { return field_; }

private:
    QLineEdit* field_;
};

}  // namespace bp
