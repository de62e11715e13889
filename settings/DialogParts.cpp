#include "DialogParts.h"

#include "NumberField.h"
#include "platform/Messages.h"
#include "platform/UserMessages.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace bp {

QString settingControlName(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QCheckBox* settingCheckBox(const QString& text, std::string_view name, int checked) {
    auto* box = new QCheckBox(text);
    box->setObjectName(settingControlName(name));
    box->setChecked(checked != 0);
    return box;
}

CNumberField* settingNumberField(std::string_view name, int minimum, int maximum, int value) {
    auto* field = new CNumberField;
    field->setObjectName(settingControlName(name));
    field->setRange(minimum, maximum);
    field->setValue(std::clamp(value, field->minimum(), field->maximum()));
    return field;
}

QWidget* controlRow(std::initializer_list<QWidget*> widgets) {
    auto* box = new QWidget;
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    // A field is read by the text before it (a label, or the check box that switches it on),
    // as a sighted user reads the row.
    QString lastText;
    for (QWidget* widget : widgets) {
        layout->addWidget(widget);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            lastText = label->text();
            continue;
        }
        if (auto* check = qobject_cast<QAbstractButton*>(widget)) {
            lastText = check->text();
            continue;
        }
        QWidget* target = widget;
        if (auto* field = qobject_cast<CNumberField*>(widget)) {
            target = field->edit();
        }
        if (!lastText.isEmpty() && target->accessibleName().isEmpty()) {
            target->setAccessibleName(QString(lastText).remove(QLatin1Char('&')));
        }
    }
    layout->addStretch(1);
    return box;
}

QDialogButtonBox* okCancelButtons(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    for (QAbstractButton* button : buttons->buttons()) {
        button->setFocusPolicy(Qt::TabFocus);
    }
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

void NumberCheck::take(CNumberField& field) {
    if (!field.isEnabled() || field.commit()) {
        return;
    }
    reasons_.append(field.refusalText());
    if (firstRefused_ == nullptr) {
        firstRefused_ = &field;
    }
}

bool NumberCheck::passed(IUserMessages* messages, const std::string& caption) {
    if (firstRefused_ == nullptr) {
        return true;
    }
    const QString back = reasons_.size() == 1
                             ? QStringLiteral("The field is back at its number from before.")
                             : QStringLiteral("The fields are back at their numbers from before.");
    if (messages != nullptr) {
        messages->showMessage(
            caption, "",
            (reasons_.join(QLatin1Char('\n')) + QLatin1Char('\n') + back).toStdString(),
            res::ICON_WARNING);
    }
    firstRefused_->edit()->setFocus();
    firstRefused_->edit()->selectAll();
    return false;
}

}  // namespace bp
