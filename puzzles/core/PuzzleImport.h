// The whole conversion of a puzzle source into a problem file: read records one
// at a time, build each puzzle, filter, write its script. Shared by qvn import
// and the trainer.
#pragma once

#include "puzzles/core/PuzzleBuilder.h"

#include <climits>
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class PuzzleFormat { Pgn, Epd, Lichess };

// "pgn", "epd", "lichess"; false for anything else.
bool ParseFormatName(std::string_view name, PuzzleFormat& format);
// By extension (".pgn", ".epd", ".csv", any case); false when it says nothing.
bool FormatFromFileName(std::string_view path, PuzzleFormat& format);

struct ImportOptions {
    PuzzleFormat Format = PuzzleFormat::Pgn;
    int Points = 1;          // for each accepted move
    int MinRating = INT_MIN; // Lichess rating filter, inclusive
    int MaxRating = INT_MAX;
    std::vector<std::string> Themes; // Lichess: a puzzle must have every one
    long Limit = 0;                  // stop after this many problems; 0: no limit
    // The mate solver: every key of each turn of a mate puzzle scores, and records
    // that give a mate goal without moves are solved. Only puzzles whose last move
    // mates are searched for further keys, each within MateNodes positions (about a
    // tenth of a second); a goal must be proven within GoalNodes.
    bool SolveMates = true;
    long long MateNodes = DefaultMateNodes;
    long long GoalNodes = DefaultGoalNodes;
    static constexpr long long DefaultMateNodes = 1'000'000;
    static constexpr long long DefaultGoalNodes = 20'000'000;
};

struct ImportSummary {
    long Records = 0;    // records read (skipped and filtered ones included)
    long Imported = 0;   // problems written
    long Recognised = 0; // records that looked like the format
    bool ReadFailed = false;
    bool Cancelled = false;
};

class PuzzleImporter {
public:
    PuzzleImporter();
    ~PuzzleImporter();
    PuzzleImporter(const PuzzleImporter&) = delete;
    PuzzleImporter& operator=(const PuzzleImporter&) = delete;

    // A record that cannot be used: its ordinal and the reason.
    std::function<void(long ordinal, const std::string& reason)> OnSkip;
    // Called every few thousand records with the bytes read so far (and at least every
    // tenth of a second while the mate solver works); returning false cancels the import.
    std::function<bool(std::uint64_t bytesRead)> OnProgress;
    // Each problem as written, after it is written (its label is the record's ordinal).
    std::function<void(const Puzzle& puzzle, const std::string& script)> OnProblem;

    ImportSummary Run(std::istream& in, std::ostream& out, const ImportOptions& options);

private:
    std::unique_ptr<engine::MateSolver> solver_; // made when first needed, then reused
};

// Does a record pass the rating and theme filters?
bool PassesFilters(const PuzzleRecord& record, const ImportOptions& options);

} // namespace qv
