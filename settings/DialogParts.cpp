#include "DialogParts.h"

#include "NumberField.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace bp {

QCheckBox* settingCheckBox(const QString& text, const char* name, int checked) {
    auto* box = new QCheckBox(text);
    box->setObjectName(QString::fromUtf8(name));
    box->setChecked(checked != 0);
    return box;
}

CNumberField* settingNumberField(const char* name, int minimum, int maximum, int value) {
    auto* field = new CNumberField;
    field->setObjectName(QString::fromUtf8(name));
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

}  // namespace bp
