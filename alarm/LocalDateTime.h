#pragma once

#include <cstdint>
#include <ctime>

namespace bp {

class IClock;

// A calendar date and time without a time zone. Alarms compare and step these rather than
// seconds since 1970, so a change of daylight saving time never moves an alarm's time of day.
struct LocalDateTime {
    int year = 1970;
    int month = 1;  // 1-12
    int day = 1;    // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    // Days since 1970-01-01 in the proleptic Gregorian calendar.
    std::int64_t dayNumber() const;
    // 1 = Sunday ... 7 = Saturday.
    int dayOfWeek() const;
    // Milliseconds on a zone-free time line, used only to compare and to add.
    std::int64_t serial() const;
    static LocalDateTime fromSerial(std::int64_t milliseconds);

    LocalDateTime plusSeconds(std::int64_t seconds) const;
    // The next calendar day at the given time of day.
    LocalDateTime nextDayAt(const LocalDateTime& timeOfDay) const;
    // This date at the given time of day.
    LocalDateTime withTimeOf(const LocalDateTime& timeOfDay) const;

    // Within half a second counts as the same moment; earlier() has no tolerance.
    bool sameAs(const LocalDateTime& other) const;
    bool earlier(const LocalDateTime& other) const { return serial() < other.serial(); }
    bool notLater(const LocalDateTime& other) const { return earlier(other) || sameAs(other); }

    bool operator==(const LocalDateTime&) const = default;
};

// Stored times are 32-bit seconds since 1970 UTC, read back unsigned.
LocalDateTime toLocal(const IClock& clock, std::uint32_t stored);
// mktime with daylight saving decided by the C library; the low 32 bits are kept.
std::uint32_t toStored(const IClock& clock, const LocalDateTime& local);
// The present moment in whole seconds.
LocalDateTime localNow(const IClock& clock);
// The calendar fields of a local time, weekday and day of the year included, for formatting and
// for mktime (daylight saving left to the C library).
std::tm calendarOf(const LocalDateTime& t);

}  // namespace bp
