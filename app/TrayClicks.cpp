#include "TrayClicks.h"

namespace bp {

namespace {

constexpr int kSecondClickWaitMs = 300;

}  // namespace

TrayClicks::TrayClicks(QObject* parent) : QObject(parent) {
    connect(&wait_, &PacedTimer::fired, this, &TrayClicks::waited);
}

void TrayClicks::clicked() {
    wait_.start(kSecondClickWaitMs);
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
