#include "NumberedTimers.h"

#include <QTimer>

#include <set>
#include <utility>
#include <vector>

namespace bp {

namespace {

// One system timer for every shared numbered timer of one period.
class SharedTicker {
public:
    using Subscriber = std::pair<NumberedTimers*, int>;

    static SharedTicker& forPeriod(int milliseconds) {
        static std::map<int, SharedTicker*> tickers;
        SharedTicker*& ticker = tickers[milliseconds];
        if (ticker == nullptr) {
            // Kept for the life of the program: a handful of periods at most.
            ticker = new SharedTicker(milliseconds);
        }
        return *ticker;
    }

    void add(NumberedTimers* timers, int id) {
        subscribers_.insert({timers, id});
        if (!timer_.isActive()) {
            timer_.start();
        }
    }

    void remove(NumberedTimers* timers, int id) {
        subscribers_.erase({timers, id});
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
        const std::vector<Subscriber> due(subscribers_.begin(), subscribers_.end());
        for (const Subscriber& subscriber : due) {
            if (subscribers_.count(subscriber) != 0) {
                emit subscriber.first->fired(subscriber.second);
            }
        }
    }

    QTimer timer_;
    std::set<Subscriber> subscribers_;
};

}  // namespace

NumberedTimers::~NumberedTimers() {
    // The shared ticker must not tell an owner that is gone.
    stopAll();
}

void NumberedTimers::leaveShared(int id) {
    if (auto it = shared_.find(id); it != shared_.end()) {
        SharedTicker::forPeriod(it->second).remove(this, id);
        shared_.erase(it);
    }
}

void NumberedTimers::startShared(int id, int milliseconds) {
    stop(id);
    if (milliseconds > 0) {
        shared_[id] = milliseconds;
        SharedTicker::forPeriod(milliseconds).add(this, id);
    }
}

void NumberedTimers::start(int id, int milliseconds) {
    leaveShared(id);
    QTimer*& timer = timers_[id];
    if (timer == nullptr) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] { emit fired(id); });
    }
    if (milliseconds > 0) {
        timer->start(milliseconds);
    } else {
        timer->stop();
    }
}

void NumberedTimers::stop(int id) {
    leaveShared(id);
    if (auto it = timers_.find(id); it != timers_.end()) {
        it->second->stop();
    }
}

void NumberedTimers::stopAll() {
    while (!shared_.empty()) {
        leaveShared(shared_.begin()->first);
    }
    for (auto& [id, timer] : timers_) {
        timer->stop();
    }
}

bool NumberedTimers::isActive(int id) const {
    if (shared_.count(id) != 0) {
        return true;
    }
    auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

int NumberedTimers::interval(int id) const {
    if (auto it = shared_.find(id); it != shared_.end()) {
        return it->second;
    }
    return isActive(id) ? timers_.at(id)->interval() : 0;
}

}  // namespace bp
