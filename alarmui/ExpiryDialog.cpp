#include "ExpiryDialog.h"

#include "alarm/LocalDateTime.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "platform/ModalDialogs.h"
#include "ui/DialogLayout.h"
#include "ui/MessageBoxes.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace bp {

CExpiryDialog::CExpiryDialog(QWidget* parent, const IClock& clock, std::uint32_t expireTime)
    : QDialog(parent), clock_(clock) {
    setWindowTitle(QStringLiteral("Expiry Date"));
    setWindowIcon(boxIcon(res::ICON_PROGRAM));
    noExpiry_ = new QCheckBox(QStringLiteral("&No expiry"), this);
    noExpiry_->setAccessibleName(QStringLiteral("No expiry"));
    moment_ = new QDateTimeEdit(this);
    moment_->setCalendarPopup(true);
    moment_->setDisplayFormat(QStringLiteral("MMM d, yyyy hh:mm:ss AP"));
    moment_->setAccessibleName(QStringLiteral("Expires on"));
    // A note without expiry offers a day from now, so OK after ticking the box off is not a
    // moment that has already passed and removes the note at once.
    const LocalDateTime shown =
        expireTime != 0 ? toLocal(clock, expireTime) : localNow(clock).plusSeconds(24 * 3600);
    moment_->setDateTime(QDateTime(QDate(shown.year, shown.month, shown.day),
                                   QTime(shown.hour, shown.minute, shown.second)));
    noExpiry_->setChecked(expireTime == 0);

    auto* form = new QFormLayout;
    auto* label = new QLabel(QStringLiteral("&Expires on"), this);
    label->setBuddy(moment_);
    form->addRow(noExpiry_);
    form->addRow(label, moment_);
    auto* hint = new QLabel(
        QStringLiteral("When this moment passes the note is deleted as if you had deleted it."),
        this);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(noExpiry_, &QCheckBox::toggled, this, &CExpiryDialog::updateEnabled);
    updateEnabled();
    fixDialogSize(*this);
}

std::uint32_t CExpiryDialog::expireTime() const {
    if (noExpiry_->isChecked()) {
        return 0;
    }
    const QDateTime chosen = moment_->dateTime();
    const LocalDateTime local{chosen.date().year(), chosen.date().month(),  chosen.date().day(),
                              chosen.time().hour(), chosen.time().minute(), chosen.time().second()};
    const std::uint32_t stored = toStored(clock_, local);
    // 0 is "never": a moment that happens to convert to it must still expire.
    return stored == 0 ? 1 : stored;
}

void CExpiryDialog::updateEnabled() {
    moment_->setEnabled(!noExpiry_->isChecked());
}

std::optional<std::uint32_t> AskExpiry(QWidget* parent, const Platform& platform,
                                       std::uint32_t expireTime) {
    CExpiryDialog dialog(parent, *platform.clock, expireTime);
    const int result =
        platform.modalDialogs != nullptr ? platform.modalDialogs->run(dialog) : dialog.exec();
    if (result != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.expireTime();
}

}  // namespace bp
