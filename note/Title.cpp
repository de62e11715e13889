#include "Title.h"

#include "Note.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace bp {

CTitle::CTitle(CNote& note) : QWidget(&note), note_(note) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CTitle::setTitleText(const QString& text) {
    titleText_ = text;
    update();
}

void CTitle::setTitleFont(const QFont& font) {
    setFont(font);
    update();
}

void CTitle::setColors(const QColor& text, const QColor& back) {
    textColor_ = text;
    backColor_ = back;
    update();
}

void CTitle::layoutButtons() {
    update();
}

QRect CTitle::textRect() const {
    QRect r = rect();
    r.setRight(r.right() - 39);
    return r;
}

void CTitle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), backColor_);
    painter.setPen(textColor_);
    painter.setFont(font());
    const QRect text = textRect();
    painter.setClipRect(text);
    // One line, clipped at the edge: a long title is cut, never shortened with an ellipsis.
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, titleText_);
}

void CTitle::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && event->buttons() == Qt::LeftButton &&
        event->modifiers() == Qt::NoModifier) {
        note_.beginDrag();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void CTitle::resizeEvent(QResizeEvent*) {
    layoutButtons();
}

}  // namespace bp
