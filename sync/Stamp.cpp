#include "sync/Stamp.h"

#include "platform/Clock.h"

#include <limits>
#include <utility>

namespace bp::sync {

HybridClock::HybridClock(const IClock& clock, std::string device)
    : clock_(clock), device_(std::move(device)) {}

Stamp HybridClock::tick() {
    const std::int64_t now = clock_.now();
    if (now > wall_) {
        wall_ = now;
        counter_ = 0;
    } else if (counter_ < std::numeric_limits<std::uint32_t>::max()) {
        ++counter_;
    } else {
        ++wall_;
        counter_ = 0;
    }
    return Stamp{wall_, counter_, device_};
}

void HybridClock::observe(const Stamp& seen) {
    if (seen.wall > wall_ || (seen.wall == wall_ && seen.counter > counter_)) {
        wall_ = seen.wall;
        counter_ = seen.counter;
    }
}

}  // namespace bp::sync
