#include "EditTitle.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace bp {

CEditTitle::CEditTitle(const QString& text, QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(text, this)) {
    edit_->setObjectName(QStringLiteral("titleEdit"));
    edit_->setAccessibleName(QStringLiteral("Title"));
    edit_->setFrame(false);
    edit_->selectAll();
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::returnPressed, this, &CEditTitle::commit);
}

QString CEditTitle::text() const {
    return edit_->text();
}

void CEditTitle::commit() {
    if (done_) {
        return;
    }
    done_ = true;
    emit finished(edit_->text());
}

bool CEditTitle::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        commit();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CEditTitle::resizeEvent(QResizeEvent*) {
    edit_->setGeometry(rect());
}

}  // namespace bp
