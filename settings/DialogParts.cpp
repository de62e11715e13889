#include "DialogParts.h"

#include "NumberField.h"

#include <QCheckBox>
#include <QHBoxLayout>

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
    for (QWidget* widget : widgets) {
        layout->addWidget(widget);
    }
    layout->addStretch(1);
    return box;
}

}  // namespace bp
