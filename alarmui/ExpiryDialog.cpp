#include "ExpiryDialog.h"

#include "alarm/LocalDateTime.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "platform/ModalDialogs.h"
#include "store/NotesDatabase.h"
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

namespace {

// The stored time is 32 bits of seconds: nothing beyond early 2106 can be written.
constexpr int kLastYear = 2105;

QDateTime shownAs(const LocalDateTime& t) {
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
}

LocalDateTime nextWholeMinute(const IClock& clock) {
    const LocalDateTime now = localNow(clock);
    return now.plusSeconds(60 - now.second);
}

}  // namespace

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
    const LocalDateTime earliest = nextWholeMinute(clock);
    moment_->setMinimumDateTime(shownAs(earliest));
    moment_->setMaximumDateTime(QDateTime(QDate(kLastYear, 12, 31), QTime(23, 59, 59)));
    moment_->setDateTime(
        shownAs(expireTime != 0 ? toLocal(clock, expireTime) : earliest.plusSeconds(24 * 3600)));
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
    LocalDateTime local{chosen.date().year(), chosen.date().month(),  chosen.date().day(),
                        chosen.time().hour(), chosen.time().minute(), chosen.time().second()};
    // A moment that passed while the dialog stood open would remove the note at once: the
    // next minute is taken instead.
    if (const LocalDateTime soonest = nextWholeMinute(clock_); local.earlier(soonest)) {
        local = soonest;
    }
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

bool editNoteExpiry(QWidget* parent, CNotesDatabase& store, std::int32_t nid,
                    const Platform& platform) {
    const std::uint32_t stored = store.GetNote(kLiveSource, nid, note::expireTime);
    const std::optional<std::uint32_t> chosen = AskExpiry(parent, platform, stored);
    if (!chosen || *chosen == stored) {
        return false;
    }
    return store.SetNote(nid, *chosen, note::expireTime);
}

}  // namespace bp
