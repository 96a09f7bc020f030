// From a finished play to a stored attempt.
#include "progress/core/AttemptRecorder.h"

#include <filesystem>
#include <system_error>

namespace qv {

std::string ProblemFilePath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec) return path;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, ec);
    return (ec ? absolute : canonical).lexically_normal().string();
}

Attempt MakeAttempt(const ProblemPlay& play, std::int64_t startTime, const Clock& clock) {
    Attempt a;
    a.Problem = {ProblemFilePath(play.File), play.Label, play.Title, play.Outline.ScriptHash};
    a.StartTime = startTime;
    a.Day = clock.DayOf(startTime);
    a.ThinkingSeconds = play.ThinkingSeconds;
    a.Points = play.Points;
    a.BestScore = play.Outline.BestScore();
    a.Tries = play.Tries();
    a.Hints = play.Hints();
    a.Solved = play.Solved();
    return a;
}

void AttemptRecorder::PlayStarted(const ProblemPlay&) {
    started_ = clock_.Now();
}

void AttemptRecorder::PlayFinished(const ProblemPlay& play) {
    if (started_ == 0) started_ = clock_.Now();
    const std::int64_t start = started_;
    started_ = 0;
    if (!play.Attempted()) {
        outcome_ = Outcome::NotAttempted;
        return;
    }
    outcome_ =
        store_.Record(MakeAttempt(play, start, clock_)) ? Outcome::Recorded : Outcome::NotStored;
}

} // namespace qv
