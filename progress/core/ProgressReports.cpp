// Index marks, weekly statistics and the CSV export.
#include "progress/core/ProgressReports.h"

#include "progress/core/Calendar.h"

#include <cstdio>
#include <string_view>
#include <unordered_map>

namespace qv {

namespace {

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

std::vector<const ProblemRecord*> MatchRecords(const std::vector<ProblemDigest>& digests,
                                               const std::vector<ProblemRecord>& records) {
    std::unordered_map<std::uint64_t, const ProblemRecord*> byKey;
    byKey.reserve(records.size());
    for (const ProblemRecord& r : records)
        byKey.emplace(ProblemIdentityKey(r.Problem.Label, r.Problem.Title, r.Problem.ScriptHash),
                      &r);
    std::vector<const ProblemRecord*> matched;
    matched.reserve(digests.size());
    for (const ProblemDigest& d : digests) {
        const auto it = byKey.find(d.Key);
        matched.push_back(it == byKey.end() ? nullptr : it->second);
    }
    return matched;
}

std::vector<ProblemMark> MarkProblems(const std::vector<ProblemDigest>& digests,
                                      const std::vector<MarkRecord>& records) {
    std::unordered_map<std::uint64_t, bool> solved;
    solved.reserve(records.size());
    for (const MarkRecord& r : records) solved.emplace(r.Key, r.LastSolved);
    std::vector<ProblemMark> marks;
    marks.reserve(digests.size());
    for (const ProblemDigest& d : digests) {
        const auto it = solved.find(d.Key);
        marks.push_back(it == solved.end() ? ProblemMark::Untried
                        : it->second       ? ProblemMark::Solved
                                           : ProblemMark::Failed);
    }
    return marks;
}

ProblemMark MarkOf(const ProblemRecord* record) {
    if (!record || record->Attempts == 0) return ProblemMark::Untried;
    return record->LastSolved ? ProblemMark::Solved : ProblemMark::Failed;
}

std::vector<WeekRecord> WeeklyRecords(const std::vector<DayRecord>& days, int today, int weeks) {
    std::vector<WeekRecord> out(static_cast<std::size_t>(weeks > 0 ? weeks : 0));
    const int first = today - 7 * weeks + 1;
    for (std::size_t w = 0; w < out.size(); ++w) out[w].FirstDay = first + 7 * static_cast<int>(w);
    for (const DayRecord& d : days) {
        if (d.Day < first || d.Day > today) continue;
        WeekRecord& w = out[static_cast<std::size_t>((d.Day - first) / 7)];
        w.Attempts += d.Attempts;
        w.Solved += d.Solved;
        w.ThinkingSeconds += d.ThinkingSeconds;
    }
    return out;
}

void WriteAttemptsCsv(std::ostream& out, const std::vector<Attempt>& attempts) {
    out << "file,label,title,script_hash,day,start_time,thinking_seconds,points,best_score,"
           "tries,hints,solved\n";
    char seconds[32];
    for (const Attempt& a : attempts) {
        std::snprintf(seconds, sizeof seconds, "%.2f", a.ThinkingSeconds);
        out << CsvField(a.Problem.File) << ',' << CsvField(a.Problem.Label) << ','
            << CsvField(a.Problem.Title) << ',' << a.Problem.ScriptHash << ',' << DayText(a.Day)
            << ',' << a.StartTime << ',' << seconds << ',' << a.Points << ',' << a.BestScore << ','
            << a.Tries << ',' << a.Hints << ',' << (a.Solved ? 1 : 0) << '\n';
    }
}

} // namespace qv
