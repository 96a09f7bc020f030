// What the windows and qvn make of the store's summaries: index marks, weekly
// statistics and the CSV export.
#pragma once

#include "progress/core/ProgressStore.h"
#include "script/core/ProblemOutline.h"

#include <ostream>
#include <vector>

namespace qv {

enum class ProblemMark { Untried, Solved, Failed };

// The store's record of each listed problem (same label, title and script hash),
// in the digests' order; nullptr for a problem without attempts.
std::vector<const ProblemRecord*> MatchRecords(const std::vector<ProblemDigest>& digests,
                                               const std::vector<ProblemRecord>& records);

// Solved or failed by the latest attempt; untried without a record.
ProblemMark MarkOf(const ProblemRecord* record);

// The mark of each listed problem, in the digests' order.
std::vector<ProblemMark> MarkProblems(const std::vector<ProblemDigest>& digests,
                                      const std::vector<MarkRecord>& records);

// Seven days of attempts from FirstDay on.
struct WeekRecord {
    int FirstDay = 0;
    int Attempts = 0;
    int Solved = 0;
    double ThinkingSeconds = 0;
    double Accuracy() const { return Attempts ? double(Solved) / Attempts : 0.0; }
    double MeanThinkingSeconds() const { return Attempts ? ThinkingSeconds / Attempts : 0.0; }
};

// The last `weeks` weeks up to and including `today`, oldest first, the last one
// ending on `today`; weeks without attempts are present with zero counts.
std::vector<WeekRecord> WeeklyRecords(const std::vector<DayRecord>& days, int today, int weeks);

// Writes a header line and one line per attempt, comma-separated, with fields
// quoted where they need it: file, label, title, script hash, day (local,
// YYYY-MM-DD), start time (seconds since 1970 UTC), thinking seconds, points,
// best score, tries, hints, solved (1 or 0).
void WriteAttemptsCsv(std::ostream& out, const std::vector<Attempt>& attempts);

} // namespace qv
