#pragma once

#include <QColor>
#include <QPoint>

#include <functional>

class QKeyEvent;
class QTextEdit;

namespace bp {

// Checklist items in a note's body: the keys and clicks that make, tick, continue, end and
// nest them. What an item is and how it is stored is richtext/Checklist's.
class CChecklistEditor {
public:
    // `openColor` gives the colour an item's text returns to when its tick is cleared.
    CChecklistEditor(QTextEdit& body, std::function<QColor()> openColor);

    // Ctrl+Space on an item ticks it; Enter continues or ends the list; Tab and Shift+Tab
    // nest; a blank after "[ ]" or "- [ ]" at a paragraph's start makes an item. True when
    // the key was used up.
    bool handleKey(const QKeyEvent& key);
    // Whether the key is one handleKey takes where the caret is, so no shortcut takes it first.
    bool wantsKey(const QKeyEvent& key) const;
    // A click on an item's box ticks it. True when the click was on a box.
    bool handleClick(const QPoint& viewportPos);

    // Makes every paragraph of the selection an item, or, when all of them are items
    // already, plain paragraphs again.
    void toggleChecklist();
    // Ticks or clears the item the caret is in; false when it is in none.
    bool toggleItemAtCaret();
    bool caretOnItem() const;

    static QKeyCombination checklistKey() { return Qt::CTRL | Qt::SHIFT | Qt::Key_L; }

private:
    bool isToggleKey(const QKeyEvent& key) const;
    bool continueList();
    bool nest(int delta);
    bool makeItemFromTyping(const QKeyEvent& key);

    QTextEdit& body_;
    std::function<QColor()> openColor_;
};

}  // namespace bp
