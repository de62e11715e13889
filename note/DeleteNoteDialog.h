#pragma once

#include <QDialog>
#include <QString>

class QTextEdit;

namespace bp {

// Asks before a note goes: it names the note by its title, creation time and priority.
class CDeleteNote : public QDialog {
    Q_OBJECT
public:
    CDeleteNote(QWidget* parent, const QString& title, const QString& created,
                const QString& storedPriority);

    QString text() const;
    // "low", "regular" or "high" for the stored "0", "1" or "2"; empty for anything else.
    static QString priorityWord(const QString& storedPriority);

private:
    QTextEdit* text_;
};

}  // namespace bp
