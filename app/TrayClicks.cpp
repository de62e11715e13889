#include "TrayClicks.h"

namespace bp {

namespace {

constexpr int kSecondClickWaitMs = 300;

}  // namespace

TrayClicks::TrayClicks(QObject* parent) : QObject(parent) {
    connect(&wait_, &PacedTimer::fired, this, &TrayClicks::waited);
}

void TrayClicks::clicked() {
    if (wait_.isActive() && !doubled_) {
        // The wait keeps running, so that a third press in it is swallowed too.
        countDouble();
        return;
    }
    wait_.start(kSecondClickWaitMs);
}

void TrayClicks::doubleClicked() {
    if (doubled_) {
        return;
    }
    // The mark ends with a wait, even where the click before it never reached us.
    if (!wait_.isActive()) {
        wait_.start(kSecondClickWaitMs);
    }
    countDouble();
}

void TrayClicks::countDouble() {
    doubled_ = true;
    emit doubleClick();
}

void TrayClicks::waited() {
    wait_.stop();
    if (!doubled_) {
        emit singleClick();
    }
    // Only after what the click does: a double click while its menu is open stays swallowed
    // by this click, not by the next.
    doubled_ = false;
}

}  // namespace bp
