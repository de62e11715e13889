#pragma once

#include <QString>

#include <initializer_list>

class QCheckBox;
class QWidget;

namespace bp {

class CNumberField;

// Controls of the settings dialogs, named like the settings they edit so that tests and
// code find them by name.

QCheckBox* settingCheckBox(const QString& text, const char* name, int checked);
// A stored value out of range shows as the up-down holds it, at the nearer end.
CNumberField* settingNumberField(const char* name, int minimum, int maximum, int value);
// Widgets side by side, left-aligned.
QWidget* controlRow(std::initializer_list<QWidget*> widgets);

}  // namespace bp
