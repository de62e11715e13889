#include "NumberField.h"

#include "SettingsRules.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace bp {

namespace {

// Up and Down in the edit step the number, as they do in a spin box. Enter on a number the
// field refuses stays in the field, so that the dialog does not close over the refusal.
class FieldKeys : public QObject {
public:
    explicit FieldKeys(CNumberField& field) : QObject(&field), field_(field) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                field_.stepBy(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                return !field_.commit();
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

// Nine digits at most: every number they make fits an int.
constexpr int kMostDigits = 9;

}  // namespace

CNumberField::CNumberField(QWidget* parent) : QWidget(parent) {
    edit_ = new QLineEdit(this);
    edit_->setFixedWidth(60);
    edit_->setMaxLength(kMostDigits);
    edit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kMostDigits)), edit_));
    edit_->installEventFilter(new FieldKeys(*this));
    up_ = arrowButton(Qt::UpArrow, this);
    down_ = arrowButton(Qt::DownArrow, this);
    range_ = new QLabel(this);
    range_->setObjectName(QStringLiteral("range"));
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(edit_);
    layout->addLayout(arrows);
    layout->addSpacing(4);
    layout->addWidget(range_);
    setFocusProxy(edit_);
    connect(up_, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
    // A refused key leaves the text as it was; only the reason is new.
    connect(edit_, &QLineEdit::inputRejected, this, [this] { tellRefusal(); });
    connect(edit_, &QLineEdit::editingFinished, this, [this] {
        if (commit()) {
            emit editingFinished();
        }
    });
    showRange();
}

int CNumberField::value() const {
    return settings::readNumber(edit_->text().toStdString());
}

void CNumberField::setValue(int value) {
    taken_ = value;
    edit_->setText(QString::number(value));
}

void CNumberField::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    taken_ = std::clamp(taken_, minimum_, maximum_);
    showRange();
}

int CNumberField::position() const {
    return std::clamp(value(), minimum_, maximum_);
}

void CNumberField::stepBy(int steps) {
    setValue(std::clamp(position() + steps, minimum_, maximum_));
}

bool CNumberField::commit() {
    // The text may have been set without the keyboard, so it is checked for digits here too.
    const QString text = edit_->text();
    const bool digitsOnly = !text.isEmpty() && edit_->hasAcceptableInput();
    const int number = value();
    if (!digitsOnly || number < minimum_ || number > maximum_) {
        refuse();
        return false;
    }
    taken_ = number;
    return true;
}

QString CNumberField::refusalText() const {
    const QString name = edit_->accessibleName().trimmed();
    return QStringLiteral("%1 must be a number from %2 to %3.")
        .arg(name.isEmpty() ? QStringLiteral("This field") : name)
        .arg(minimum_)
        .arg(maximum_);
}

void CNumberField::refuse() {
    edit_->setText(QString::number(taken_));
    tellRefusal();
}

void CNumberField::tellRefusal() {
    const QString reason = refusalText();
    QToolTip::showText(edit_->mapToGlobal(QPoint(0, edit_->height())), reason, edit_);
    emit refused(reason);
}

void CNumberField::showRange() {
    range_->setText(QStringLiteral("(%1\u2013%2)").arg(minimum_).arg(maximum_));
    const QString takes = QStringLiteral("A number from %1 to %2").arg(minimum_).arg(maximum_);
    edit_->setToolTip(takes);
    edit_->setAccessibleDescription(takes);
}

}  // namespace bp
