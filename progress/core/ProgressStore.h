// The progress store as the problem flow, the windows, qvn and the tests see it:
// attempts go in, summaries for marks, reviews and statistics come out. No SQL here.
#pragma once

#include "progress/core/Attempt.h"
#include "progress/core/ReviewSchedule.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// What the store knows of one problem: its history in brief and its schedule.
struct ProblemRecord {
    ProblemId Problem;
    int Attempts = 0;
    int SolvedAttempts = 0;
    bool LastSolved = false; // the latest attempt was solved
    int LastPoints = 0;      // points and best score of the latest attempt
    int LastBest = 0;
    std::int64_t LastTime = 0; // start time of the latest attempt
    ReviewState Review;
};

// The little that an index mark needs of a problem.
struct MarkRecord {
    std::uint64_t Key = 0; // ProblemIdentityKey of label, title and script hash
    bool LastSolved = false;
};

// One problem file's counts of problems: attempted, and solved at the latest
// attempt. An edited problem counts once, by the version attempted last.
struct FileRecord {
    std::string File;
    int Attempted = 0;
    int Solved = 0;
};

// One calendar day's attempts.
struct DayRecord {
    int Day = 0;
    int Attempts = 0;
    int Solved = 0;
    double ThinkingSeconds = 0; // summed over the day's attempts
};

// Implemented over SQLite (progress/store); tests may implement it in memory.
// No call throws: a store that cannot be read answers with empty lists, one that
// cannot be written answers false, and either way TakeNotice says why, once.
class ProgressStore {
public:
    virtual ~ProgressStore() = default;

    // Stores the attempts (oldest first) and moves each problem's review schedule
    // on (NextReview), all in one go. Recording a problem retires the schedule of
    // its earlier versions (same file, label and title, another script hash).
    // False when they are not stored now; attempts refused only because the store
    // was busy are kept and written with the next Record.
    virtual bool Record(const std::vector<Attempt>& attempts) = 0;
    bool Record(const Attempt& attempt) { return Record(std::vector<Attempt>{attempt}); }

    // Every problem of a file that has attempts, all versions, in one query.
    virtual std::vector<ProblemRecord> ProblemsOfFile(const std::string& file) = 0;
    // The same, reduced to what index marks need (fast for files of any size).
    virtual std::vector<MarkRecord> MarksOfFile(const std::string& file) = 0;
    // Every file with attempts, by path.
    virtual std::vector<FileRecord> Files() = 0;
    // The problems due on `today` in every file, most overdue first (then the
    // longest unseen); at most `limit` of them, all when limit is 0.
    virtual std::vector<ProblemRecord> DueProblems(int today, int limit) = 0;
    // The days from `fromDay` on that have attempts, in order.
    virtual std::vector<DayRecord> Days(int fromDay) = 0;
    // Every attempt, oldest first.
    virtual std::vector<Attempt> Attempts() = 0;

    // A one-line text about the fault met since the last call, for the caller to
    // show; "" when there is nothing new to say. A fault that persists is told once.
    virtual std::string TakeNotice() = 0;
};

} // namespace qv
