// Day numbers, their text form, and the system clock.
#include "progress/core/Calendar.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace qv {

namespace {

std::chrono::year_month_day Civil(int day) {
    return std::chrono::year_month_day{std::chrono::sys_days{std::chrono::days{day}}};
}

} // namespace

int DayNumber(int year, int month, int day) {
    const std::chrono::year_month_day ymd{std::chrono::year{year},
                                          std::chrono::month{static_cast<unsigned>(month)},
                                          std::chrono::day{static_cast<unsigned>(day)}};
    return static_cast<int>(std::chrono::sys_days{ymd}.time_since_epoch().count());
}

std::string DayText(int day) {
    const auto ymd = Civil(day);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return buf;
}

std::int64_t SystemClock::Now() const {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

int SystemClock::DayOf(std::int64_t time) const {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    localtime_r(&t, &local);
    return DayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

} // namespace qv
