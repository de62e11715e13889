#include "FakePlatform.h"

#include <vector>

namespace bp::fake {

std::tm FakeClock::localTime(std::int64_t s) const {
    std::time_t t = static_cast<std::time_t>(s);
    std::tm out{};
    gmtime_r(&t, &out);
    return out;
}

std::int64_t FakeClock::makeTime(std::tm local) const {
    local.tm_isdst = 0;
    return static_cast<std::int64_t>(timegm(&local));
}

std::string FakeClock::format(const std::string& pattern, const std::tm& local,
                              std::size_t maxLength) const {
    if (pattern.empty()) {
        return {};
    }
    std::vector<char> buffer(maxLength + 1);
    std::size_t n = std::strftime(buffer.data(), buffer.size(), pattern.c_str(), &local);
    return std::string(buffer.data(), n);
}

void FakeClock::set(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    seconds = makeTime(t);
}

}  // namespace bp::fake
