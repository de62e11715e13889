#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <string>
#include <string_view>

class QCheckBox;
class QDialog;
class QDialogButtonBox;
class QWidget;

namespace bp {

class CNumberField;
class IUserMessages;

// Controls of the settings dialogs, named like the settings they edit so that tests and
// code find them by name.

// The object name of a control that edits the setting of that name.
QString settingControlName(std::string_view name);
QCheckBox* settingCheckBox(const QString& text, std::string_view name, int checked);
// A stored value out of range shows as the up-down holds it, at the nearer end.
CNumberField* settingNumberField(std::string_view name, int minimum, int maximum, int value);
// Widgets side by side, left-aligned.
QWidget* controlRow(std::initializer_list<QWidget*> widgets);

// OK and Cancel. A click on them leaves the focus in the field it is in, so that OK finds a
// number the field would refuse still there and can say so before the dialog closes.
QDialogButtonBox* okCancelButtons(QDialog& dialog);

// The number fields OK reads, checked one by one; the numbers they refuse are told in one box.
class NumberCheck {
public:
    // Takes the field's number; a disabled field is not read and passes.
    void take(CNumberField& field);
    // True when every field took its number; otherwise shows the box (when there are boxes)
    // and puts the focus in the first field that refused.
    bool passed(IUserMessages* messages, const std::string& caption);

private:
    QStringList reasons_;
    CNumberField* firstRefused_ = nullptr;
};

}  // namespace bp
