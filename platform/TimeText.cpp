#include "TimeText.h"

#include "Clock.h"

namespace bp {

std::string displayTime(const IClock& clock, const std::tm& local, TimeStyle style) {
    switch (style) {
        case TimeStyle::MomentWithWeekday:
            return clock.format("%A, %B %d, %Y %I:%M:%S %p", local);
        case TimeStyle::Moment:
            break;
    }
    return clock.format("%b %d, %Y - %I:%M:%S %p", local);
}

std::string displayTime(const IClock& clock, std::int64_t seconds, TimeStyle style) {
    return displayTime(clock, clock.localTime(seconds), style);
}

}  // namespace bp
