#include "NoteBody.h"

#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"
#include "platform/rtf/WebAddresses.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPalette>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <QTextCursor>
#include <QTextDocument>

namespace bp {

namespace {

// Draws web addresses as links. It changes only how the text is shown: the document's own
// formats, and so the stored body, stay as they are.
class WebAddressHighlighter : public QSyntaxHighlighter {
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString& text) override {
        for (const rtf::TextRange& range : rtf::findWebAddresses(text)) {
            QTextCharFormat link = format(static_cast<int>(range.start));
            link.setFontUnderline(true);
            link.setForeground(QColor(0, 0, 238));
            setFormat(static_cast<int>(range.start), static_cast<int>(range.length), link);
        }
    }
};

}  // namespace

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
    addresses_ = new WebAddressHighlighter(document());
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
    rtf::loadBody(stored, *document());
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

void CNoteBody::trimOverflow(int end) {
    const int excess = textLength() - kTextLimit;
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

void CNoteBody::inputMethodEvent(QInputMethodEvent* event) {
    QTextEdit::inputMethodEvent(event);
    trimOverflow(textCursor().position());
}

void CNoteBody::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || isReadOnly()) {
        return;
    }
    QTextEdit::insertFromMimeData(source);
    trimOverflow(textCursor().position());
}

}  // namespace bp
