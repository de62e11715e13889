#include "PacedTimer.h"

#include <QTimer>

#include <map>
#include <set>
#include <vector>

namespace bp {

namespace {

// One system timer for every shared timer of one period.
class SharedTicker {
public:
    static SharedTicker& forPeriod(int milliseconds) {
        // Never destroyed, like the tickers: they live as long as the program, and a map that
        // went away at exit would leave them unreachable (a leak to the leak checker).
        static auto* tickers = new std::map<int, SharedTicker*>;
        SharedTicker*& ticker = (*tickers)[milliseconds];
        if (ticker == nullptr) {
            // Kept for the life of the program: a handful of periods at most.
            ticker = new SharedTicker(milliseconds);
        }
        return *ticker;
    }

    void add(PacedTimer* timer) {
        subscribers_.insert(timer);
        if (!timer_.isActive()) {
            timer_.start();
        }
    }

    void remove(PacedTimer* timer) {
        subscribers_.erase(timer);
        if (subscribers_.empty()) {
            timer_.stop();
        }
    }

private:
    explicit SharedTicker(int milliseconds) {
        timer_.setInterval(milliseconds);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    }

    void tick() {
        // A handler may stop timers or end their owners (a note that expires): each one is
        // looked up again before it is told.
        const std::vector<PacedTimer*> due(subscribers_.begin(), subscribers_.end());
        for (PacedTimer* subscriber : due) {
            if (subscribers_.count(subscriber) != 0) {
                emit subscriber->fired();
            }
        }
    }

    QTimer timer_;
    std::set<PacedTimer*> subscribers_;
};

}  // namespace

PacedTimer::~PacedTimer() {
    // The shared ticker must not tell a timer that is gone.
    leaveShared();
}

void PacedTimer::leaveShared() {
    if (sharedPeriod_ > 0) {
        SharedTicker::forPeriod(sharedPeriod_).remove(this);
        sharedPeriod_ = 0;
    }
}

void PacedTimer::startShared(int milliseconds) {
    stop();
    if (milliseconds > 0) {
        sharedPeriod_ = milliseconds;
        SharedTicker::forPeriod(milliseconds).add(this);
    }
}

void PacedTimer::start(int milliseconds) {
    leaveShared();
    if (timer_ == nullptr) {
        timer_ = new QTimer(this);
        connect(timer_, &QTimer::timeout, this, &PacedTimer::fired);
    }
    if (milliseconds > 0) {
        timer_->start(milliseconds);
    } else {
        timer_->stop();
    }
}

void PacedTimer::stop() {
    leaveShared();
    if (timer_ != nullptr) {
        timer_->stop();
    }
}

bool PacedTimer::isActive() const {
    return sharedPeriod_ > 0 || (timer_ != nullptr && timer_->isActive());
}

int PacedTimer::interval() const {
    if (sharedPeriod_ > 0) {
        return sharedPeriod_;
    }
    return isActive() ? timer_->interval() : 0;
}

}  // namespace bp
