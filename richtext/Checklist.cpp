#include "richtext/Checklist.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace bp::checklist {

Item itemOf(const QTextBlock& block) {
    if (!block.isValid() || block.length() < 2) {
        return Item::None;
    }
    const QChar first = block.document()->characterAt(block.position());
    if (first == QChar(kOpenBox)) {
        return Item::Open;
    }
    return first == QChar(kTickedBox) ? Item::Ticked : Item::None;
}

int markerLength(const QTextBlock& block) {
    if (itemOf(block) == Item::None) {
        return 0;
    }
    return block.document()->characterAt(block.position() + 1) == QLatin1Char(' ') ? 2 : 1;
}

QString itemText(const QTextBlock& block) {
    return block.text().mid(markerLength(block));
}

QColor tickedColor() {
    return QColor(128, 128, 128);
}

void setTicked(QTextCursor& edit, const QTextBlock& block, bool ticked, const QColor& openColor) {
    if (itemOf(block) == Item::None) {
        return;
    }
    const int start = block.position();
    const int marker = markerLength(block);
    edit.beginEditBlock();
    edit.setPosition(start);
    edit.setPosition(start + 1, QTextCursor::KeepAnchor);
    // The box keeps the font it had.
    const QTextCharFormat boxFormat = edit.charFormat();
    edit.insertText(QString(QChar(ticked ? kTickedBox : kOpenBox)), boxFormat);
    const int textEnd = block.position() + block.length() - 1;
    if (start + marker < textEnd) {
        edit.setPosition(start + marker);
        edit.setPosition(textEnd, QTextCursor::KeepAnchor);
        QTextCharFormat change;
        change.setFontStrikeOut(ticked);
        change.setForeground(ticked ? tickedColor() : openColor);
        edit.mergeCharFormat(change);
    }
    edit.endEditBlock();
}

void makeItem(QTextCursor& edit, const QTextBlock& block) {
    if (itemOf(block) != Item::None) {
        return;
    }
    edit.setPosition(block.position());
    QTextCharFormat format = edit.charFormat();
    if (block.length() > 1) {
        // The format of the paragraph's first character rather than the one before it.
        QTextCursor first(block);
        first.setPosition(block.position() + 1);
        format = first.charFormat();
    }
    format.setFontStrikeOut(false);
    edit.insertText(QString(QChar(kOpenBox)) + QLatin1Char(' '), format);
}

void removeItem(QTextCursor& edit, const QTextBlock& block) {
    const int marker = markerLength(block);
    if (marker == 0) {
        return;
    }
    edit.setPosition(block.position());
    edit.setPosition(block.position() + marker, QTextCursor::KeepAnchor);
    edit.removeSelectedText();
}

int nestLevel(const QTextBlock& block) {
    return std::max(
        0, static_cast<int>(std::lround(block.blockFormat().leftMargin() / kNestStepPixels)));
}

void setNestLevel(QTextCursor& edit, const QTextBlock& block, int level) {
    QTextBlockFormat change;
    change.setLeftMargin(std::max(0, level) * kNestStepPixels);
    edit.setPosition(block.position());
    edit.mergeBlockFormat(change);
}

Progress progressOf(const QTextDocument& document) {
    Progress progress;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const Item item = itemOf(block);
        if (item != Item::None) {
            ++progress.total;
            progress.ticked += item == Item::Ticked ? 1 : 0;
        }
    }
    return progress;
}

QString progressText(const Progress& progress) {
    if (progress.total == 0) {
        return {};
    }
    return QStringLiteral("%1/%2").arg(progress.ticked).arg(progress.total);
}

}  // namespace bp::checklist
