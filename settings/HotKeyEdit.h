#pragma once

#include <QLineEdit>

#include <cstdint>
#include <functional>

namespace bp {

// Takes one key combination as the user presses it and shows it ("Ctrl + Alt + K"). Each
// press replaces the last; Backspace or Delete alone clears it ("None"). Tab, Enter and Esc
// without Ctrl or Alt keep their usual meaning in the dialog.
class CHotKeyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CHotKeyEdit(QWidget* parent = nullptr);

    // The combination as stored: virtual-key code × 65536 + modifier byte; below 65536 when
    // no key is set.
    std::uint32_t value() const { return value_; }
    void setValue(std::uint32_t value);

    // Asked before a combination the user presses replaces the one shown (never for the same
    // one, nor for clearing); false keeps the control as it was.
    using ChoiceCheck = std::function<bool(std::uint32_t value)>;
    void setChoiceCheck(ChoiceCheck check) { choiceCheck_ = std::move(check); }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showValue();

    std::uint32_t value_ = 0;
    ChoiceCheck choiceCheck_;
    // Modifiers are held and the control shows them until a key completes the combination.
    bool waitingForKey_ = false;
};

}  // namespace bp
