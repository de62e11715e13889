#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace bp {

// A number edit with an up-down beside it. The edit takes any text, as the user types it;
// the up-down steps within its range. What the text means is the owner's business when the
// edit is left (editingFinished) and on OK: a text that is no number reads as 0.
class CNumberField : public QWidget {
    Q_OBJECT
public:
    explicit CNumberField(QWidget* parent = nullptr);

    QLineEdit* edit() const { return edit_; }
    // The number the text holds (0 for anything else).
    int value() const;
    void setValue(int value);
    // The up-down's range; the position follows when it falls outside.
    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    // The up-down's position: the value clamped to the range.
    int position() const;
    void stepBy(int steps);

signals:
    // Enter, or the focus left the edit.
    void editingFinished();

private:
    QLineEdit* edit_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_ = 0;
    int maximum_ = 100;
};

}  // namespace bp
