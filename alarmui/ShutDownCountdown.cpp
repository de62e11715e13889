#include "ShutDownCountdown.h"

#include "platform/Messages.h"
#include "ui/DialogLayout.h"
#include "ui/MessageBoxes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace bp {

CShutDownCountdown::CShutDownCountdown(std::function<void()> shutDown)
    // Not a child of the note: the note hides and shows itself while it flashes, and the
    // warning must stay on screen meanwhile.
    : QDialog(nullptr), shutDown_(std::move(shutDown)) {
    setWindowTitle(QStringLiteral("Shutting Down"));
    setWindowIcon(boxIcon(res::ICON_ERROR));
    setAttribute(Qt::WA_DeleteOnClose);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("countdownMessage"));
    message_->setWordWrap(true);
    message_->setMinimumWidth(340);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    now_ = new QPushButton(QStringLiteral("&Shut Down Now"), this);
    // Enter and Escape both keep the computer on: only a deliberate press switches it off.
    cancel_->setDefault(true);
    now_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(now_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_);
    layout->addLayout(buttons);
    connect(cancel_, &QPushButton::clicked, this, &CShutDownCountdown::reject);
    connect(now_, &QPushButton::clicked, this, [this] { finish(true); });
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &CShutDownCountdown::tick);
    timer_->start(1000);
    showLeft();
    cancel_->setFocus();
    fixDialogSize(*this);
}

void CShutDownCountdown::tick() {
    if (finished_) {
        return;
    }
    --left_;
    if (left_ <= 0) {
        finish(true);
        return;
    }
    showLeft();
}

void CShutDownCountdown::reject() {
    finish(false);
}

void CShutDownCountdown::finish(bool shutDown) {
    if (finished_) {
        return;
    }
    finished_ = true;
    timer_->stop();
    // Hides, and deletes the window later.
    QDialog::done(shutDown ? Accepted : Rejected);
    if (shutDown && shutDown_) {
        shutDown_();
    }
}

void CShutDownCountdown::showLeft() {
    message_->setText(QStringLiteral("An alarm shuts the computer down in %1 %2.\n"
                                     "Save your work, or press Cancel to keep the computer on.")
                          .arg(left_)
                          .arg(left_ == 1 ? QStringLiteral("second") : QStringLiteral("seconds")));
}

}  // namespace bp
