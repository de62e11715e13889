#include "NumberField.h"

#include "SettingsRules.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace bp {

namespace {

// Up and Down in the edit step the number, as they do in a spin box.
class StepKeys : public QObject {
public:
    explicit StepKeys(CNumberField& field) : QObject(&field), field_(field) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                field_.stepBy(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
        return false;
    }

private:
    CNumberField& field_;
};

QToolButton* arrowButton(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(16, 11);
    return button;
}

}  // namespace

CNumberField::CNumberField(QWidget* parent) : QWidget(parent) {
    edit_ = new QLineEdit(this);
    edit_->setFixedWidth(60);
    edit_->installEventFilter(new StepKeys(*this));
    up_ = arrowButton(Qt::UpArrow, this);
    down_ = arrowButton(Qt::DownArrow, this);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(edit_);
    layout->addLayout(arrows);
    setFocusProxy(edit_);
    connect(up_, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
    connect(edit_, &QLineEdit::editingFinished, this, &CNumberField::editingFinished);
}

int CNumberField::value() const {
    return settings::readNumber(edit_->text().toStdString());
}

void CNumberField::setValue(int value) {
    edit_->setText(QString::number(value));
}

void CNumberField::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
}

int CNumberField::position() const {
    return std::clamp(value(), minimum_, maximum_);
}

void CNumberField::stepBy(int steps) {
    setValue(std::clamp(position() + steps, minimum_, maximum_));
}

}  // namespace bp
