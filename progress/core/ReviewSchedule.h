// When a failed problem comes back: a spaced-repetition schedule (SM-2) kept as
// plain arithmetic on calendar days.
#pragma once

namespace qv {

// A problem's place on the schedule. A problem enters the schedule when an
// attempt at it fails and stays on it from then on, coming back at growing
// intervals while it is solved.
struct ReviewState {
    bool Scheduled = false; // failed at least once
    int Repetitions = 0;    // solves since the last failure
    int IntervalDays = 0;   // the last interval given
    double Ease = 2.5;      // the factor by which intervals grow, never under MinimumEase
    int DueDay = 0;         // the day it is due again (DayNumber), when Scheduled

    friend bool operator==(const ReviewState&, const ReviewState&) = default;
};

inline constexpr double InitialEase = 2.5;
inline constexpr double MinimumEase = 1.3;
// The answer qualities (0..5) of SM-2 that a solve and a failure count as: a
// solve is a perfect answer and raises the ease by 0.1, a failure lowers it by 0.32.
inline constexpr int SolvedQuality = 5;
inline constexpr int FailedQuality = 2;

// The state after an attempt on `day`:
// - a failure puts the problem on the schedule (or back to its first rung), due
//   again the same day;
// - a solve of a scheduled problem climbs the ladder: 1 day after the failure's
//   review, then 6 days, then the last interval times the ease (rounded up);
// - a solve of a problem that has never failed changes nothing;
// - after each attempt at a scheduled problem the ease moves by SM-2's rule for
//   the answer's quality, the interval being computed with the ease from before.
ReviewState NextReview(const ReviewState& before, bool solved, int day);

// Is a problem in this state due on `today`?
inline bool IsDue(const ReviewState& s, int today) {
    return s.Scheduled && s.DueDay <= today;
}

} // namespace qv
