#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace bp {

// Wall-clock time and the C library's local-time conversions. Alarms, backups and titles
// all go through it, so tests can set the time.
class IClock {
public:
    virtual ~IClock() = default;

    // Seconds since 1970-01-01 00:00:00 UTC.
    virtual std::int64_t now() const = 0;
    // Milliseconds since some fixed start (a monotonic counter; used to seed random choices).
    virtual std::uint64_t tickCount() const = 0;

    virtual std::tm localTime(std::int64_t seconds) const = 0;
    // mktime with tm_isdst = -1: the local-time calendar value back to seconds.
    virtual std::int64_t makeTime(std::tm local) const = 0;
    // strftime of a local time; the result is cut to at most maxLength bytes.
    virtual std::string format(const std::string& pattern, const std::tm& local,
                               std::size_t maxLength = 255) const = 0;

    std::string formatNow(const std::string& pattern, std::size_t maxLength = 255) const {
        return format(pattern, localTime(now()), maxLength);
    }
};

// The C library's clock: what the program uses outside tests.
class SystemClock final : public IClock {
public:
    std::int64_t now() const override;
    std::uint64_t tickCount() const override;
    std::tm localTime(std::int64_t seconds) const override;
    std::int64_t makeTime(std::tm local) const override;
    std::string format(const std::string& pattern, const std::tm& local,
                       std::size_t maxLength = 255) const override;
};

}  // namespace bp
