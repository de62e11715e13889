#include "Note.h"
#include "NoteBody.h"
#include "Title.h"

#include <QTextDocument>

namespace bp {

void CNote::repaintForOutput() {
    repaint();
    body_->repaint();
}

QString CNote::outputTitle() const {
    return title_->titleText();
}

const QTextDocument& CNote::outputBody() const {
    return *body_->document();
}

}  // namespace bp
