#include "NumberedTimers.h"

#include <QTimer>

namespace bp {

void NumberedTimers::start(int id, int milliseconds) {
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
    if (auto it = timers_.find(id); it != timers_.end()) {
        it->second->stop();
    }
}

void NumberedTimers::stopAll() {
    for (auto& [id, timer] : timers_) {
        timer->stop();
    }
}

bool NumberedTimers::isActive(int id) const {
    auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

int NumberedTimers::interval(int id) const {
    return isActive(id) ? timers_.at(id)->interval() : 0;
}

}  // namespace bp
