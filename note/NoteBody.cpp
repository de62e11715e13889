#include "NoteBody.h"

#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QPalette>

namespace bp {

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
}

std::string CNoteBody::toStored() const {
    return rtf::writeRtf(*document());
}

}  // namespace bp
