#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

#include <optional>

class QKeyEvent;

namespace bp {

class INoteFrame;

// The menu a key opens: the Menu key or Shift+F10, as on every desktop, opens what a right
// click opens (colours, fonts, editing); with Ctrl they open the note's own menu, the one of
// its priority button (priority, size, lock, delete, output).
enum class KeyMenu { None, Context, Note };
KeyMenu menuForKey(int key, Qt::KeyboardModifiers modifiers);

// Moving and sizing a note without a pointer: Alt+arrow moves it by kKeyStep pixels, Alt+Shift
// +arrow moves its right or bottom edge, never below minimum. Nothing for any other key.
// Alt+arrows are free in the editor (they move nothing there) and in the window managers the
// program runs under.
std::optional<QRect> keyboardGeometry(const QRect& current, int key,
                                      Qt::KeyboardModifiers modifiers, const QSize& minimum);
inline constexpr int kKeyStep = 10;

// Gives a note its keys while the body or the title has the focus.
class CNoteKeys : public QObject {
    Q_OBJECT
public:
    explicit CNoteKeys(INoteFrame& note);
    void watch(QObject* target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(const QKeyEvent& key);
    void openMenu(KeyMenu which);

    INoteFrame& note_;
};

}  // namespace bp
