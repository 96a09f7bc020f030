// A clock for tests: a fixed moment that the test moves, in a fixed time zone.
#pragma once

#include "progress/core/Calendar.h"

namespace qvtest {

class FakeClock : public qv::Clock {
public:
    std::int64_t Time = 1'700'000'000; // 2023-11-14 22:13:20 UTC
    int UtcOffsetSeconds = 2 * 3600;   // local time two hours ahead: already 2023-11-15

    std::int64_t Now() const override { return Time; }
    int DayOf(std::int64_t t) const override {
        const std::int64_t local = t + UtcOffsetSeconds;
        return static_cast<int>((local >= 0 ? local : local - 86399) / 86400);
    }
};

} // namespace qvtest
