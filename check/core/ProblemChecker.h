// Checking a problem file the way an editor checks a manuscript: playable positions,
// script faults, and mates that are cooked, unaccepted or unsound.
#pragma once

#include "board/core/Rules.h"
#include "script/core/TurnReadAhead.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace qv::engine {
class MateSolver;
}

namespace qv::check {

// One fault of one problem. Text() is the line qvn check prints: the label, a colon,
// and what is wrong ("7: line 12: .m e2e5 is not a legal move here").
struct Finding {
    std::string Label;
    std::size_t Line = 0; // 1-based line of the file the fault is on; 0 for the problem as a whole
    std::string What;
    std::string Text() const;
};

// A player's turn as the play-through reaches it, for reviewers of turns that the mate
// test does not judge.
struct TurnContext {
    std::string Label;
    int Turn = 0;               // 1-based
    BoardState Position;        // the board when it is handed to the player
    const TurnAnswers* Answers; // the turn's scoring lines
};

// Judges the turns of problems that do not end in mate (an engine that finds a second
// move about as good as the scripted one, for example). Called once per turn, in order.
class TurnReviewer {
public:
    virtual ~TurnReviewer() = default;
    // Adds the turn's faults, each as the text after "LABEL: ".
    virtual void ReviewTurn(const TurnContext& turn, std::vector<std::string>& faults) = 0;
};

struct CheckOptions {
    bool Mates = true;                // run the mate tests (the solver)
    long long MaxNodes = 100'000'000; // solver budget per position; past it, a note
    TurnReviewer* Reviewer = nullptr; // not owned; may be null
    // A second key at the first turn (a cook) is a finding even when an .if line
    // accepts it: for collections whose scripts accept every key.
    bool ReportAcceptedCooks = false;
};

struct CheckReport {
    std::vector<Finding> Findings; // problem by problem in file order
    // What could not be decided (a mate search over its budget), as lines for the user.
    std::vector<std::string> Notes;
    int ProblemsChecked = 0;
};

// Checks problems of one file. The file is read once; each problem is played through
// with the same problem flow as the trainer, the player answering each turn with the
// best-scoring .if move.
class ProblemChecker {
public:
    explicit ProblemChecker(CheckOptions options = {});
    ~ProblemChecker();
    ProblemChecker(const ProblemChecker&) = delete;
    ProblemChecker& operator=(const ProblemChecker&) = delete;

    // Reads the file; throws qv::FileError when it cannot be read.
    void Open(const std::string& path);
    // Reads a file's bytes already in memory (tests, tools).
    void OpenFromBytes(const std::string& bytes, const std::string& name = {});

    // The list entries of the file's index lines, in file order.
    const std::vector<std::string>& Entries() const;

    // Checks every problem, or only the problems whose entry (as listed, or its label)
    // is `only` when it is not empty.
    CheckReport Check(const std::string& only = {});

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace qv::check
