#pragma once

#include <QColor>
#include <QString>

class QTextBlock;
class QTextCursor;
class QTextDocument;

namespace bp::checklist {

// A checklist item is a paragraph that starts with a ballot box: U+2610 open, U+2611 ticked,
// then a blank. The box is plain text, so a stored body stays a readable list in any program
// that opens RTF, and a body without items is written exactly as before.
inline constexpr char16_t kOpenBox = 0x2610;
inline constexpr char16_t kTickedBox = 0x2611;

enum class Item { None, Open, Ticked };

Item itemOf(const QTextBlock& block);
// The characters the box takes at the paragraph's start: the box and its blank.
int markerLength(const QTextBlock& block);
// The item's text after its box.
QString itemText(const QTextBlock& block);

// Ticked items are struck through and greyed; both are formats the RTF keeps.
QColor tickedColor();

// Ticks or clears an item: swaps the box and formats the text after it, struck and grey
// when ticked, in `openColor` without strike when not. One undo step.
void setTicked(QTextCursor& edit, const QTextBlock& block, bool ticked, const QColor& openColor);

// Puts an open box in front of the paragraph (or takes the box away).
void makeItem(QTextCursor& edit, const QTextBlock& block);
void removeItem(QTextCursor& edit, const QTextBlock& block);

// Items nest by their left margin, one step per level.
inline constexpr double kNestStepPixels = 24.0;  // 360 twips, a list's indent
int nestLevel(const QTextBlock& block);
void setNestLevel(QTextCursor& edit, const QTextBlock& block, int level);

struct Progress {
    int ticked = 0;
    int total = 0;
    bool operator==(const Progress&) const = default;
};
Progress progressOf(const QTextDocument& document);
// "3/7", empty when the document holds no items.
QString progressText(const Progress& progress);

}  // namespace bp::checklist
