#include "ExpiryDialog.h"

#include "platform/ModalDialogs.h"
#include "platform/Platform.h"
#include "store/NotesDatabase.h"
#include "ui/DialogLayout.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace bp {

namespace {

// The stored time is 32 bits of seconds: nothing beyond early 2106 can be written.
constexpr int kLastYear = 2105;
// A new expiry starts a day ahead: far enough that OK at once does not remove the note.
constexpr std::int64_t kSuggestedDelaySeconds = 24 * 60 * 60;

QDateTime shown(const LocalDateTime& t) {
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute));
}

LocalDateTime fromShown(const QDateTime& t) {
    LocalDateTime local;
    local.year = t.date().year();
    local.month = t.date().month();
    local.day = t.date().day();
    local.hour = t.time().hour();
    local.minute = t.time().minute();
    return local;
}

}  // namespace

ExpiryDialog::ExpiryDialog(QWidget* parent, const std::optional<LocalDateTime>& expires,
                           const LocalDateTime& earliest)
    : QDialog(parent) {
    setObjectName(QStringLiteral("expiryDialog"));
    setWindowTitle(QStringLiteral("Expiry date"));

    noExpiry_ = new QCheckBox(QStringLiteral("&No expiry"));
    noExpiry_->setObjectName(QStringLiteral("noExpiry"));
    noExpiry_->setAccessibleName(QStringLiteral("No expiry"));
    moment_ = new QDateTimeEdit;
    moment_->setObjectName(QStringLiteral("expiryMoment"));
    moment_->setAccessibleName(QStringLiteral("Expires on"));
    moment_->setCalendarPopup(true);
    moment_->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    moment_->setMinimumDateTime(shown(earliest));
    moment_->setMaximumDateTime(QDateTime(QDate(kLastYear, 12, 31), QTime(23, 59)));
    moment_->setDateTime(shown(expires.value_or(earliest.plusSeconds(kSuggestedDelaySeconds))));
    // Opened to set an expiry: a note without one is offered the suggested moment, and the
    // line above says that it has none so far.
    moment_->setEnabled(true);
    connect(noExpiry_, &QCheckBox::toggled, moment_,
            [this](bool none) { moment_->setEnabled(!none); });

    auto* now = new QLabel(expires ? QStringLiteral("The note expires on %1.")
                                         .arg(shown(*expires).toString(moment_->displayFormat()))
                                   : QStringLiteral("The note does not expire."));
    now->setObjectName(QStringLiteral("expiryNow"));
    auto* label = new QLabel(QStringLiteral("The note removes itself &at:"));
    label->setBuddy(moment_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(now);
    layout->addWidget(label);
    layout->addWidget(moment_);
    layout->addWidget(noExpiry_);
    layout->addWidget(buttons);
    fixDialogSize(*this);
}

std::optional<LocalDateTime> ExpiryDialog::chosen() const {
    if (noExpiry_->isChecked()) {
        return std::nullopt;
    }
    return fromShown(moment_->dateTime());
}

bool editNoteExpiry(QWidget* parent, CNotesDatabase& store, std::int32_t nid,
                    const Platform& platform) {
    const IClock& clock = *platform.clock;
    const std::uint32_t stored = store.GetNote(kLiveSource, nid, note::expireTime);
    std::optional<LocalDateTime> expires;
    if (stored != 0) {
        expires = toLocal(clock, stored);
    }
    // The next whole minute: the edit shows no seconds.
    const LocalDateTime now = localNow(clock);
    const LocalDateTime earliest = now.plusSeconds(60 - now.second);
    ExpiryDialog dialog(parent, expires, earliest);
    if (platform.modalDialogs->run(dialog) != QDialog::Accepted) {
        return false;
    }
    const std::optional<LocalDateTime> chosen = dialog.chosen();
    // A moment that passed while the dialog stood open would remove the note at once: the
    // next minute is taken instead.
    const LocalDateTime closed = localNow(clock);
    const LocalDateTime soonest = closed.plusSeconds(60 - closed.second);
    const std::uint32_t value =
        chosen ? toStored(clock, chosen->earlier(soonest) ? soonest : *chosen) : 0;
    if (value == stored) {
        return false;
    }
    return store.SetNote(nid, value, note::expireTime);
}

}  // namespace bp
