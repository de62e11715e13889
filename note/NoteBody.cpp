#include "NoteBody.h"

#include "WebAddressMarks.h"
#include "richtext/RichText.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPalette>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

namespace bp {

namespace {

// Squared lengths of the runs without a blank in text, summed: what laying out the text costs
// when a line may break inside a word only where the word does not fit.
double unbrokenRunCost(QStringView text) {
    double cost = 0;
    double run = 0;
    for (QChar c : text) {
        if (c.isSpace()) {
            cost += run * run;
            run = 0;
        } else {
            ++run;
        }
    }
    return cost + run * run;
}

// Past this cost a body would take longer than a blink to lay out: a word of about 8,000
// characters, or many of some hundreds.
constexpr double kWordWrapBudget = 1 << 26;

}  // namespace

QTextOption::WrapMode CNoteBody::wrapModeFor(QStringView text) {
    return unbrokenRunCost(text) > kWordWrapBudget ? QTextOption::WrapAnywhere
                                                   : QTextOption::WrapAtWordBoundaryOrAnywhere;
}

CNoteBody::CNoteBody(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    // The note paints its colour under the text.
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::transparent);
    p.setColor(QPalette::Window, Qt::transparent);
    setPalette(p);
    document()->setDocumentMargin(10);
    addresses_ = new WebAddressMarks(document());
}

void CNoteBody::setEdgeStyle(int border) {
    switch (border) {
        case 1:
            setFrameStyle(QFrame::NoFrame);
            break;
        case 2:
            setFrameStyle(QFrame::Box | QFrame::Plain);
            setLineWidth(1);
            break;
        case 3:
            setFrameStyle(QFrame::Panel | QFrame::Sunken);
            setLineWidth(2);
            break;
        default:
            setFrameStyle(QFrame::Panel | QFrame::Raised);
            setLineWidth(1);
            break;
    }
}

void CNoteBody::loadStored(std::string_view stored) {
    addresses_->pause();
    rtf::loadBody(stored, *document());
    addresses_->resume();
    // Chosen from the loaded text rather than by reading the body twice. A note is laid out
    // when it is first shown, so the text is laid out once, the cheap way; only a body that
    // needs the other mode pays for the change.
    if (const QTextOption::WrapMode mode = wrapModeFor(document()->toPlainText());
        mode != wordWrapMode()) {
        setWordWrapMode(mode);
    }
    document()->setModified(false);
    document()->clearUndoRedoStacks();
    // The text goes in at the caret, which travels along to its end; a note opens on its
    // first line instead.
    setTextCursor(QTextCursor(document()));
    verticalScrollBar()->setValue(0);
}

std::string CNoteBody::toStored() const {
    return rtf::writeRtf(*document());
}

int CNoteBody::textLength() const {
    return document()->characterCount() - 1;
}

int CNoteBody::room() const {
    const QTextCursor cursor = textCursor();
    return kTextLimit - (textLength() - (cursor.selectionEnd() - cursor.selectionStart()));
}

void CNoteBody::insertLimitedText(const QString& text) {
    if (isReadOnly()) {
        return;
    }
    const int allowed = std::max(0, room());
    QString kept = text.left(allowed);
    // A surrogate pair is never split in two.
    if (!kept.isEmpty() && kept.back().isHighSurrogate()) {
        kept.chop(1);
    }
    QTextCursor cursor = textCursor();
    cursor.insertText(kept);
    setTextCursor(cursor);
}

void CNoteBody::trimOverflow(int end, int lengthBefore) {
    // A stored body may already be longer than the limit; it may not grow, but what it had
    // before the insertion is never cut.
    const int excess = textLength() - std::max(kTextLimit, lengthBefore);
    if (excess <= 0) {
        return;
    }
    QTextCursor cut(document());
    cut.joinPreviousEditBlock();
    cut.setPosition(std::max(0, end - excess));
    cut.setPosition(std::max(0, end), QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    cut.endEditBlock();
}

void CNoteBody::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool typing =
        !text.isEmpty() && (text.front().unicode() >= 32 || text == "\r" || text == "\t");
    if (typing && !isReadOnly() && room() < text.size()) {
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void CNoteBody::showEvent(QShowEvent* event) {
    // When first shown, a text editor scrolls to its caret, which measures the caret's line
    // again. A caret at the very start of an unscrolled note is in view already, and that is
    // how every note opens; a caret put elsewhere before the note was shown (a find, a paste
    // into a new note) still gets its scroll.
    const QTextCursor cursor = textCursor();
    if (cursor.position() == 0 && !cursor.hasSelection() && verticalScrollBar()->value() == 0) {
        // Past QTextEdit on purpose: its showEvent is the scroll to the caret left out here.
        QAbstractScrollArea::showEvent(event);  // NOLINT(bugprone-parent-virtual-call)
        return;
    }
    QTextEdit::showEvent(event);
}

void CNoteBody::inputMethodEvent(QInputMethodEvent* event) {
    const int lengthBefore = textLength();
    QTextEdit::inputMethodEvent(event);
    trimOverflow(textCursor().position(), lengthBefore);
}

void CNoteBody::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || isReadOnly()) {
        return;
    }
    if (source->hasText() && wrapModeFor(source->text()) == QTextOption::WrapAnywhere) {
        setWordWrapMode(QTextOption::WrapAnywhere);
    }
    const int lengthBefore = textLength();
    QTextEdit::insertFromMimeData(source);
    trimOverflow(textCursor().position(), lengthBefore);
}

}  // namespace bp
