#include "Clock.h"

#include <chrono>
#include <vector>

namespace bp {

std::int64_t SystemClock::now() const {
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::uint64_t SystemClock::tickCount() const {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::tm SystemClock::localTime(std::int64_t seconds) const {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm out{};
    localtime_r(&t, &out);
    return out;
}

std::int64_t SystemClock::makeTime(std::tm local) const {
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&local));
}

std::string SystemClock::format(const std::string& pattern, const std::tm& local,
                                std::size_t maxLength) const {
    if (pattern.empty()) {
        return {};
    }
    std::vector<char> buffer(maxLength + 1);
    std::size_t n = std::strftime(buffer.data(), buffer.size(), pattern.c_str(), &local);
    return std::string(buffer.data(), n);
}

}  // namespace bp
