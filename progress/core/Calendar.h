// Calendar days as plain numbers, and the clock the progress code reads.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// Days are numbered from 1970-01-01 (day 0) in the proleptic Gregorian calendar.
int DayNumber(int year, int month, int day);
// "YYYY-MM-DD".
std::string DayText(int day);

// Where the progress code gets the time from; tests replace it with a fake.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since 1970-01-01 UTC.
    virtual std::int64_t Now() const = 0;
    // The local calendar day of a moment.
    virtual int DayOf(std::int64_t time) const = 0;
    int Today() const { return DayOf(Now()); }
};

// The system's clock and time zone.
class SystemClock : public Clock {
public:
    std::int64_t Now() const override;
    int DayOf(std::int64_t time) const override;
};

} // namespace qv
