// Turns the problem flow's finished plays into attempts in the progress store.
#pragma once

#include "progress/core/Attempt.h"
#include "progress/core/Calendar.h"
#include "progress/core/ProgressStore.h"
#include "script/core/ProblemPlay.h"

#include <cstdint>
#include <string>

namespace qv {

// The path under which a problem file's attempts are kept: absolute, with "."
// and ".." and symbolic links resolved as far as the path exists.
std::string ProblemFilePath(const std::string& path);

// The attempt a finished play makes, started at `startTime`.
Attempt MakeAttempt(const ProblemPlay& play, std::int64_t startTime, const Clock& clock);

// A PlayListener for ProblemFlow: notes when each play starts and records it
// when it finishes, if it was attempted at all (a move or a hint on a turn, or
// its end reached; a problem only looked at is not an attempt). The store and the
// clock are not owned.
class AttemptRecorder : public PlayListener {
public:
    AttemptRecorder(ProgressStore& store, const Clock& clock) : store_(store), clock_(clock) {}

    void PlayStarted(const ProblemPlay& play) override;
    void PlayFinished(const ProblemPlay& play) override;

    // What became of the last finished play.
    enum class Outcome { None, NotAttempted, Recorded, NotStored };
    Outcome LastOutcome() const { return outcome_; }

private:
    ProgressStore& store_;
    const Clock& clock_;
    std::int64_t started_ = 0;
    Outcome outcome_ = Outcome::None;
};

} // namespace qv
