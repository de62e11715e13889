#include "ChecklistEditor.h"

#include "richtext/Checklist.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <utility>
#include <vector>

namespace bp {

namespace {

Qt::KeyboardModifiers plainModifiers(const QKeyEvent& key) {
    return key.modifiers() & ~Qt::KeypadModifier;
}

std::vector<QTextBlock> selectedBlocks(const QTextCursor& cursor) {
    std::vector<QTextBlock> blocks;
    QTextDocument* document = cursor.document();
    const QTextBlock last = document->findBlock(cursor.selectionEnd());
    for (QTextBlock b = document->findBlock(cursor.selectionStart()); b.isValid(); b = b.next()) {
        blocks.push_back(b);
        if (b == last) {
            break;
        }
    }
    return blocks;
}

}  // namespace

CChecklistEditor::CChecklistEditor(QTextEdit& body, std::function<QColor()> openColor)
    : body_(body), openColor_(std::move(openColor)) {}

bool CChecklistEditor::caretOnItem() const {
    return checklist::itemOf(body_.textCursor().block()) != checklist::Item::None;
}

bool CChecklistEditor::isToggleKey(const QKeyEvent& key) const {
    return key.key() == Qt::Key_Space && plainModifiers(key) == Qt::ControlModifier;
}

bool CChecklistEditor::wantsKey(const QKeyEvent& key) const {
    return !body_.isReadOnly() && isToggleKey(key) && caretOnItem();
}

bool CChecklistEditor::toggleItemAtCaret() {
    const QTextBlock block = body_.textCursor().block();
    const checklist::Item item = checklist::itemOf(block);
    if (body_.isReadOnly() || item == checklist::Item::None) {
        return false;
    }
    QTextCursor edit(body_.document());
    checklist::setTicked(edit, block, item == checklist::Item::Open, openColor_());
    return true;
}

void CChecklistEditor::toggleChecklist() {
    if (body_.isReadOnly()) {
        return;
    }
    QTextCursor cursor = body_.textCursor();
    const std::vector<QTextBlock> blocks = selectedBlocks(cursor);
    const bool allItems = std::all_of(blocks.begin(), blocks.end(), [](const QTextBlock& b) {
        return checklist::itemOf(b) != checklist::Item::None;
    });
    QTextCursor edit(body_.document());
    edit.beginEditBlock();
    for (const QTextBlock& block : blocks) {
        if (allItems) {
            checklist::removeItem(edit, block);
        } else {
            checklist::makeItem(edit, block);
        }
    }
    edit.endEditBlock();
}

bool CChecklistEditor::handleClick(const QPoint& viewportPos) {
    if (body_.isReadOnly()) {
        return false;
    }
    QTextCursor at = body_.cursorForPosition(viewportPos);
    const QTextBlock block = at.block();
    if (checklist::itemOf(block) == checklist::Item::None) {
        return false;
    }
    QTextCursor boxStart(block);
    QTextCursor boxEnd(block);
    boxEnd.setPosition(block.position() + 1);
    const QRect before = body_.cursorRect(boxStart);
    const QRect after = body_.cursorRect(boxEnd);
    // A box wrapped onto a line of its own still has its start's line.
    const QRect box(QPoint(before.left(), before.top()),
                    QPoint(std::max(after.left(), before.left() + 1), before.bottom()));
    if (!box.contains(viewportPos)) {
        return false;
    }
    QTextCursor edit(body_.document());
    checklist::setTicked(edit, block, checklist::itemOf(block) == checklist::Item::Open,
                         openColor_());
    return true;
}

bool CChecklistEditor::continueList() {
    QTextCursor cursor = body_.textCursor();
    const QTextBlock block = cursor.block();
    const int marker = checklist::markerLength(block);
    if (marker == 0 || cursor.hasSelection() || cursor.position() < block.position() + 1) {
        return false;
    }
    QTextCursor edit(body_.document());
    if (checklist::itemText(block).trimmed().isEmpty()) {
        // An empty item ends the list: the paragraph becomes a plain one at the list's left.
        edit.beginEditBlock();
        edit.setPosition(block.position());
        edit.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
        edit.removeSelectedText();
        checklist::setNestLevel(edit, block, 0);
        edit.endEditBlock();
        body_.setTextCursor(edit);
        return true;
    }
    QTextCursor boxAt(block);
    boxAt.setPosition(block.position() + 1);
    QTextCharFormat boxFormat = boxAt.charFormat();
    boxFormat.setFontStrikeOut(false);
    cursor.beginEditBlock();
    cursor.setPosition(std::max(cursor.position(), block.position() + marker));
    cursor.insertBlock();
    const QTextBlock added = cursor.block();
    cursor.setPosition(added.position());
    cursor.insertText(QString(QChar(checklist::kOpenBox)) + QLatin1Char(' '), boxFormat);
    // Text carried over from a ticked item is open again in the new one.
    const int textEnd = added.position() + added.length() - 1;
    if (cursor.position() < textEnd) {
        QTextCursor rest(body_.document());
        rest.setPosition(cursor.position());
        rest.setPosition(textEnd, QTextCursor::KeepAnchor);
        QTextCharFormat open;
        open.setFontStrikeOut(false);
        open.setForeground(openColor_());
        rest.mergeCharFormat(open);
    }
    cursor.endEditBlock();
    body_.setTextCursor(cursor);
    QTextCharFormat typing = boxFormat;
    typing.setForeground(openColor_());
    body_.setCurrentCharFormat(typing);
    return true;
}

bool CChecklistEditor::nest(int delta) {
    QTextCursor cursor = body_.textCursor();
    const std::vector<QTextBlock> blocks = selectedBlocks(cursor);
    if (!std::any_of(blocks.begin(), blocks.end(), [](const QTextBlock& b) {
            return checklist::itemOf(b) != checklist::Item::None;
        })) {
        return false;
    }
    QTextCursor edit(body_.document());
    edit.beginEditBlock();
    for (const QTextBlock& block : blocks) {
        if (checklist::itemOf(block) != checklist::Item::None) {
            checklist::setNestLevel(edit, block, checklist::nestLevel(block) + delta);
        }
    }
    edit.endEditBlock();
    return true;
}

bool CChecklistEditor::makeItemFromTyping(const QKeyEvent& key) {
    if (key.text() != QLatin1String(" ")) {
        return false;
    }
    QTextCursor cursor = body_.textCursor();
    const QTextBlock block = cursor.block();
    if (cursor.hasSelection() || checklist::itemOf(block) != checklist::Item::None) {
        return false;
    }
    const QString typed = block.text().left(cursor.position() - block.position());
    bool ticked = false;
    if (typed == QLatin1String("[ ]") || typed == QLatin1String("- [ ]")) {
        ticked = false;
    } else if (typed.compare(QLatin1String("[x]"), Qt::CaseInsensitive) == 0 ||
               typed.compare(QLatin1String("- [x]"), Qt::CaseInsensitive) == 0) {
        ticked = true;
    } else {
        return false;
    }
    // The blank goes in as typed first, so that an undo of the box gives back the brackets
    // and the blank, as they were typed.
    cursor.insertText(QStringLiteral(" "));
    QTextCursor edit(body_.document());
    edit.beginEditBlock();
    edit.setPosition(block.position());
    edit.setPosition(cursor.position(), QTextCursor::KeepAnchor);
    edit.removeSelectedText();
    checklist::makeItem(edit, block);
    if (ticked) {
        checklist::setTicked(edit, block, true, openColor_());
    }
    edit.endEditBlock();
    QTextCursor caret = body_.textCursor();
    caret.setPosition(block.position() + checklist::markerLength(block));
    body_.setTextCursor(caret);
    return true;
}

bool CChecklistEditor::handleKey(const QKeyEvent& key) {
    if (body_.isReadOnly()) {
        return false;
    }
    if (isToggleKey(key)) {
        return toggleItemAtCaret();
    }
    const Qt::KeyboardModifiers mods = plainModifiers(key);
    switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return mods == Qt::NoModifier && continueList();
        case Qt::Key_Tab:
            return mods == Qt::NoModifier && nest(1);
        case Qt::Key_Backtab:
            return nest(-1);
        case Qt::Key_Space:
            return mods == Qt::NoModifier && makeItemFromTyping(key);
        default:
            return false;
    }
}

}  // namespace bp
