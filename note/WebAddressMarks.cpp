#include "WebAddressMarks.h"

#include "richtext/WebAddresses.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace bp {

WebAddressMarks::WebAddressMarks(QTextDocument* document) : QObject(document), document_(document) {
    // A document reports changes only once it has a layout; a note's body has one anyway.
    document->documentLayout();
    connect(document, &QTextDocument::contentsChange, this, &WebAddressMarks::onContentsChange);
}

void WebAddressMarks::pause() {
    paused_ = true;
}

void WebAddressMarks::resume() {
    paused_ = false;
    onContentsChange(0, 0, document_->characterCount());
}

void WebAddressMarks::onContentsChange(int from, int /*removed*/, int added) {
    if (paused_ || marking_) {
        return;
    }
    marking_ = true;
    // A removal leaves at most the paragraph at from changed; an insertion, every paragraph it
    // reaches.
    const int end = from + added;
    for (QTextBlock block = document_->findBlock(from); block.isValid() && block.position() <= end;
         block = block.next()) {
        mark(block);
    }
    marking_ = false;
}

void WebAddressMarks::mark(const QTextBlock& block) {
    QTextLayout* layout = block.layout();
    // Text being composed in an input method sits in the layout but not in the paragraph, and
    // carries the input method's own formats, which stay.
    const int composingAt = layout->preeditAreaPosition();
    const int composingLength = static_cast<int>(layout->preeditAreaText().size());
    QList<QTextLayout::FormatRange> formats;
    if (composingLength > 0) {
        for (const QTextLayout::FormatRange& range : layout->formats()) {
            if (range.start >= composingAt &&
                range.start + range.length <= composingAt + composingLength) {
                formats.append(range);
            }
        }
    }
    for (const rtf::TextRange& address : rtf::findWebAddresses(block.text())) {
        QTextLayout::FormatRange range;
        range.start = static_cast<int>(address.start);
        range.length = static_cast<int>(address.length);
        if (composingLength > 0) {
            if (range.start >= composingAt) {
                range.start += composingLength;
            } else if (range.start + range.length >= composingAt) {
                range.length += composingLength;
            }
        }
        range.format.setFontUnderline(true);
        range.format.setForeground(QColor(0, 0, 238));
        formats.append(range);
    }
    if (layout->formats() == formats) {
        return;
    }
    layout->setFormats(formats);
    document_->markContentsDirty(block.position(), block.length());
}

}  // namespace bp
