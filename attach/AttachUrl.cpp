#include "AttachUrl.h"

#include "ui/DialogLayout.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace bp {

CAttachUrl::CAttachUrl(QWidget* owner) : QDialog(owner), field_(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Add url"));
    field_->setObjectName(QStringLiteral("url"));
    field_->setAccessibleName(QStringLiteral("Address"));
    field_->setText(QStringLiteral("http://"));
    field_->setCursorPosition(7);
    field_->setMinimumWidth(300);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* add = buttons->addButton(QStringLiteral("Add"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    add->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* label = new QLabel(QStringLiteral("&Address:"), this);
    label->setBuddy(field_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(field_);
    layout->addWidget(buttons);
    fixDialogSize(*this);
    field_->setFocus(Qt::OtherFocusReason);
}

QString CAttachUrl::url() const {
    return field_->text();
}

}  // namespace bp
