// The SM-2 arithmetic.
#include "progress/core/ReviewSchedule.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr double MaximumInterval = 36500; // a hundred years keeps the day numbers small

double NextEase(double ease, int quality) {
    const int miss = 5 - quality;
    return std::max(MinimumEase, ease + (0.1 - miss * (0.08 + miss * 0.02)));
}

} // namespace

ReviewState NextReview(const ReviewState& before, bool solved, int day) {
    if (solved && !before.Scheduled) return before;
    ReviewState s = before;
    if (!solved) {
        s.Scheduled = true;
        s.Repetitions = 0;
        s.IntervalDays = 0;
        s.DueDay = day;
        s.Ease = NextEase(before.Ease, FailedQuality);
        return s;
    }
    s.Ease = NextEase(before.Ease, SolvedQuality);
    if (before.Repetitions == 0)
        s.IntervalDays = 1;
    else if (before.Repetitions == 1)
        s.IntervalDays = 6;
    else
        s.IntervalDays = static_cast<int>(
            std::min(MaximumInterval, std::ceil(before.IntervalDays * before.Ease - 1e-9)));
    s.Repetitions = before.Repetitions + 1;
    s.DueDay = day + s.IntervalDays;
    return s;
}

} // namespace qv
