#include "alarm/LocalDateTime.h"

#include "platform/Clock.h"

#include <cstdlib>

namespace bp {

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

// Howard Hinnant's days-from-civil: exact for every year an int holds.
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

}  // namespace

std::int64_t LocalDateTime::dayNumber() const {
    return daysFromCivil(year, month, day);
}

int LocalDateTime::dayOfWeek() const {
    // 1970-01-01 was a Thursday (5).
    const std::int64_t d = dayNumber();
    return static_cast<int>(((d % 7) + 7 + 4) % 7) + 1;
}

std::int64_t LocalDateTime::serial() const {
    return dayNumber() * kMsPerDay +
           ((static_cast<std::int64_t>(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
}

LocalDateTime LocalDateTime::fromSerial(std::int64_t milliseconds) {
    LocalDateTime t;
    const std::int64_t days = floorDiv(milliseconds, kMsPerDay);
    std::int64_t rest = milliseconds - days * kMsPerDay;
    civilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3'600'000);
    rest %= 3'600'000;
    t.minute = static_cast<int>(rest / 60'000);
    rest %= 60'000;
    t.second = static_cast<int>(rest / 1000);
    t.millisecond = static_cast<int>(rest % 1000);
    return t;
}

LocalDateTime LocalDateTime::plusSeconds(std::int64_t seconds) const {
    return fromSerial(serial() + seconds * 1000);
}

LocalDateTime LocalDateTime::withTimeOf(const LocalDateTime& timeOfDay) const {
    LocalDateTime t = *this;
    t.hour = timeOfDay.hour;
    t.minute = timeOfDay.minute;
    t.second = timeOfDay.second;
    t.millisecond = timeOfDay.millisecond;
    return t;
}

LocalDateTime LocalDateTime::nextDayAt(const LocalDateTime& timeOfDay) const {
    LocalDateTime t = timeOfDay;
    civilFromDays(dayNumber() + 1, t.year, t.month, t.day);
    return t;
}

bool LocalDateTime::sameAs(const LocalDateTime& other) const {
    return std::llabs(serial() - other.serial()) < 500;
}

namespace {

LocalDateTime fromTm(const std::tm& tm) {
    LocalDateTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    return t;
}

}  // namespace

LocalDateTime toLocal(const IClock& clock, std::uint32_t stored) {
    return fromTm(clock.localTime(static_cast<std::int64_t>(stored)));
}

std::tm calendarOf(const LocalDateTime& t) {
    std::tm out{};
    out.tm_year = t.year - 1900;
    out.tm_mon = t.month - 1;
    out.tm_mday = t.day;
    out.tm_hour = t.hour;
    out.tm_min = t.minute;
    out.tm_sec = t.second;
    out.tm_wday = t.dayOfWeek() - 1;
    out.tm_yday = static_cast<int>(t.dayNumber() - LocalDateTime{t.year, 1, 1}.dayNumber());
    out.tm_isdst = -1;
    return out;
}

std::uint32_t toStored(const IClock& clock, const LocalDateTime& local) {
    std::tm tm = calendarOf(local);
    return static_cast<std::uint32_t>(clock.makeTime(tm));
}

LocalDateTime localNow(const IClock& clock) {
    return fromTm(clock.localTime(clock.now()));
}

}  // namespace bp
