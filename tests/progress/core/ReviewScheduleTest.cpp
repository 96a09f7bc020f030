// The review schedule's arithmetic and the calendar it counts in.
#include "progress/core/ReviewSchedule.h"
#include "progress/core/Calendar.h"

#include <gtest/gtest.h>

namespace {

using qv::NextReview;
using qv::ReviewState;

TEST(Calendar, DayNumbersAndTheirText) {
    EXPECT_EQ(qv::DayNumber(1970, 1, 1), 0);
    EXPECT_EQ(qv::DayNumber(2000, 3, 1) - qv::DayNumber(2000, 2, 28), 2); // leap year
    EXPECT_EQ(qv::DayText(qv::DayNumber(2024, 2, 29)), "2024-02-29");
    EXPECT_EQ(qv::DayText(-1), "1969-12-31");
}

TEST(Schedule, FailureThenTheLadderOfSolves) {
    const int day = qv::DayNumber(2024, 5, 1);
    ReviewState s = NextReview({}, false, day);
    EXPECT_TRUE(s.Scheduled);
    EXPECT_EQ(s.DueDay, day); // due again the same day
    EXPECT_TRUE(qv::IsDue(s, day));
    EXPECT_NEAR(s.Ease, 2.18, 1e-9);

    s = NextReview(s, true, day);
    EXPECT_EQ(s.IntervalDays, 1);
    EXPECT_EQ(s.DueDay, day + 1);
    EXPECT_FALSE(qv::IsDue(s, day));
    s = NextReview(s, true, day + 1);
    EXPECT_EQ(s.IntervalDays, 6);
    EXPECT_EQ(s.DueDay, day + 7);
    // Then the last interval times the ease held before the solve, rounded up.
    EXPECT_NEAR(s.Ease, 2.38, 1e-9);
    s = NextReview(s, true, day + 7);
    EXPECT_EQ(s.IntervalDays, 15); // 6 * 2.38 = 14.28
    EXPECT_EQ(s.DueDay, day + 22);
    s = NextReview(s, true, day + 30); // reviewed late: counted from the review
    EXPECT_EQ(s.IntervalDays, 38);     // 15 * 2.48 = 37.2
    EXPECT_EQ(s.DueDay, day + 68);

    // A failure sends it back to the first rung; the next solve resumes the ladder.
    s = NextReview(s, false, day + 70);
    EXPECT_EQ(s.DueDay, day + 70);
    EXPECT_EQ(s.Repetitions, 0);
    s = NextReview(s, true, day + 70);
    EXPECT_EQ(s.IntervalDays, 1);
}

TEST(Schedule, EaseNeverFallsUnderItsMinimumAndSolvesOfUnfailedProblemsChangeNothing) {
    ReviewState s;
    EXPECT_EQ(NextReview(s, true, 10), s); // never failed: not on the schedule
    for (int i = 0; i < 10; ++i) s = NextReview(s, false, 10);
    EXPECT_NEAR(s.Ease, qv::MinimumEase, 1e-9);
    s = NextReview(s, true, 10);
    s = NextReview(s, true, 11);
    s = NextReview(s, true, 17);
    EXPECT_EQ(s.IntervalDays, 9); // 6 * 1.5: each solve raised the ease by 0.1
}

} // namespace
