#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace bp {

class IClock;

enum class TimeStyle {
    // "Nov 25, 2017 - 10:34:06 AM": creation and alarm times in the lists, a note's title tip,
    // its printed header and the delete question.
    Moment,
    // "Saturday, November 25, 2017 10:34:06 AM": the next ringing of an alarm, where the
    // weekday helps the user plan.
    MomentWithWeekday,
};

// The program's one way of showing a local time to the user: the month always by its name, so
// that no reader has to guess which of two numbers is the month.
std::string displayTime(const IClock& clock, const std::tm& local,
                        TimeStyle style = TimeStyle::Moment);
std::string displayTime(const IClock& clock, std::int64_t seconds,
                        TimeStyle style = TimeStyle::Moment);

}  // namespace bp
