#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace bp {

class IClock;

namespace sync {

// A hybrid logical clock reading: wall seconds, a counter for events within one second or
// after a reading from a clock that is ahead, and the device that made it, which breaks the
// last ties. Ordered in that order, so every device ranks two stamps alike.
struct Stamp {
    std::int64_t wall = 0;
    std::uint32_t counter = 0;
    std::string device;

    auto operator<=>(const Stamp&) const = default;
    bool operator==(const Stamp&) const = default;
};

// Gives this device's stamps. It never goes back, and once it has seen another device's
// stamp, everything it stamps afterwards ranks above it even if this machine's clock is hours
// behind: an edit made after seeing another wins over it, whatever the two clocks say.
class HybridClock {
public:
    HybridClock(const IClock& clock, std::string device);

    Stamp tick();
    void observe(const Stamp& seen);
    const std::string& device() const { return device_; }

private:
    const IClock& clock_;
    std::string device_;
    std::int64_t wall_ = 0;
    std::uint32_t counter_ = 0;
};

}  // namespace sync
}  // namespace bp
