#include "SaveSchedule.h"

#include <algorithm>

namespace bp {

std::int64_t SaveSchedule::changed(std::int64_t now) {
    if (!firstUnsaved_) {
        firstUnsaved_ = now;
    }
    lastChange_ = now;
    return *due();
}

void SaveSchedule::saveStarted() {
    firstUnsaved_.reset();
}

std::optional<std::int64_t> SaveSchedule::due() const {
    if (!firstUnsaved_) {
        return std::nullopt;
    }
    return std::min(lastChange_ + delays_.quietMs, *firstUnsaved_ + delays_.longestWaitMs);
}

}  // namespace bp
