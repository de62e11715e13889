#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

namespace bp {

// A number edit with an up-down beside it and its range after them. The edit takes digits only;
// a number out of the range, or no number, is refused when the edit is left: the field goes
// back to the number it held before and says next to the edit which numbers it takes.
class CNumberField : public QWidget {
    Q_OBJECT
public:
    explicit CNumberField(QWidget* parent = nullptr);

    QLineEdit* edit() const { return edit_; }
    // The number the text holds (0 for anything else).
    int value() const;
    void setValue(int value);
    // The numbers the field takes; the position follows when it falls outside.
    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    // The up-down's position: the value clamped to the range.
    int position() const;
    void stepBy(int steps);

    // Takes the text when it is a number in the range. Otherwise the field refuses it (see the
    // class) and the result is false.
    bool commit();
    // "Auto save must be a number from 5 to 999.", named by the edit's accessible name.
    QString refusalText() const;

signals:
    // Enter, or the focus left the edit, and the field took the number.
    void editingFinished();
    // A key or a number was refused; the text says what the field takes.
    void refused(const QString& reason);

private:
    void refuse();
    void tellRefusal();
    void showRange();

    QLineEdit* edit_;
    QToolButton* up_;
    QToolButton* down_;
    QLabel* range_;
    int minimum_ = 0;
    int maximum_ = 100;
    int taken_ = 0;  // the number the field goes back to when it refuses one
};

}  // namespace bp
