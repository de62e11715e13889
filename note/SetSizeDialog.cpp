#include "SetSizeDialog.h"

#include "platform/Messages.h"
#include "ui/DialogLayout.h"
#include "ui/MessageBoxes.h"

#include <QFormLayout>
#include <QSpinBox>

namespace bp {

CSetSize::CSetSize(QWidget* parent, QSize stored) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Set note's size"));
    setWindowIcon(boxIcon(res::ICON_PROGRAM));
    // Spin boxes take digits only and keep every value within its range. A number typed below
    // the smallest note is raised to it when the typing ends, rather than thrown away.
    width_ = new QSpinBox(this);
    width_->setRange(kMinWidth, kMaximum);
    width_->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    height_ = new QSpinBox(this);
    height_->setRange(kMinHeight, kMaximum);
    height_->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Width (pixels)"), width_);
    form->addRow(QStringLiteral("Height (pixels)"), height_);
    layOutFormWithOkCancel(*this, form);
    setValues(stored.width(), stored.height());
    fixDialogSize(*this);
}

void CSetSize::setValues(int width, int height) {
    width_->setValue(width);
    height_->setValue(height);
}

void CSetSize::accept() {
    // OK may come while a number is still being typed.
    width_->interpretText();
    height_->interpretText();
    QDialog::accept();
}

QSize CSetSize::chosenSize() const {
    return {width_->value(), height_->value()};
}

}  // namespace bp
