// The import pipeline: reader, builder, filters, writer.
#include "puzzles/core/PuzzleImport.h"

#include "engine/core/MateSolver.h"
#include "puzzles/core/EpdReader.h"
#include "puzzles/core/LichessReader.h"
#include "puzzles/core/PgnReader.h"
#include "puzzles/core/ProblemWriter.h"

#include <algorithm>
#include <chrono>
#include <memory>

namespace qv {

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

std::unique_ptr<RecordReader> MakeReader(PuzzleFormat format, std::istream& in) {
    switch (format) {
    case PuzzleFormat::Epd:
        return std::make_unique<EpdReader>(in);
    case PuzzleFormat::Lichess:
        return std::make_unique<LichessReader>(in);
    case PuzzleFormat::Pgn:
        break;
    }
    return std::make_unique<PgnReader>(in);
}

} // namespace

bool ParseFormatName(std::string_view name, PuzzleFormat& format) {
    const std::string n = Lower(name);
    if (n == "pgn")
        format = PuzzleFormat::Pgn;
    else if (n == "epd")
        format = PuzzleFormat::Epd;
    else if (n == "lichess")
        format = PuzzleFormat::Lichess;
    else
        return false;
    return true;
}

bool FormatFromFileName(std::string_view path, PuzzleFormat& format) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return false;
    const std::string ext = Lower(path.substr(dot + 1));
    if (ext == "pgn")
        format = PuzzleFormat::Pgn;
    else if (ext == "epd")
        format = PuzzleFormat::Epd;
    else if (ext == "csv")
        format = PuzzleFormat::Lichess;
    else
        return false;
    return true;
}

bool PassesFilters(const PuzzleRecord& record, const ImportOptions& options) {
    if (options.MinRating != INT_MIN || options.MaxRating != INT_MAX) {
        if (record.Rating < 0 || record.Rating < options.MinRating ||
            record.Rating > options.MaxRating)
            return false;
    }
    for (const std::string& theme : options.Themes)
        if (std::find(record.Themes.begin(), record.Themes.end(), theme) == record.Themes.end())
            return false;
    return true;
}

PuzzleImporter::PuzzleImporter() = default;
PuzzleImporter::~PuzzleImporter() = default;

ImportSummary PuzzleImporter::Run(std::istream& in, std::ostream& out,
                                  const ImportOptions& options) {
    ImportSummary summary;
    MateSearch mates;
    if (options.SolveMates) {
        mates.Solver = [this] {
            if (!solver_) solver_ = std::make_unique<engine::MateSolver>();
            return solver_.get();
        };
        mates.MaxNodes = options.MateNodes;
        mates.GoalNodes = options.GoalNodes;
    }
    const std::unique_ptr<RecordReader> reader = MakeReader(options.Format, in);
    using Clock = std::chrono::steady_clock;
    constexpr auto ProgressEvery = std::chrono::milliseconds(100);
    auto lastProgress = Clock::now();
    PuzzleRecord record;
    Puzzle puzzle;
    std::string reason, script;
    while (!(options.Limit > 0 && summary.Imported >= options.Limit) && reader->Next(record)) {
        ++summary.Records;
        // Progress every few thousand records, and at least every tenth of a second
        // while the solver works, so that a cancel is never kept waiting.
        if (OnProgress && (summary.Records % 4096 == 0 ||
                           (mates.Solver && Clock::now() - lastProgress > ProgressEvery))) {
            lastProgress = Clock::now();
            if (!OnProgress(reader->BytesRead())) {
                summary.Cancelled = true;
                break;
            }
        }
        if (record.Error.empty() && !PassesFilters(record, options)) continue;
        if (!BuildPuzzle(record, puzzle, reason, mates)) {
            if (OnSkip) OnSkip(record.Ordinal, reason);
            continue;
        }
        script.clear();
        WriteProblem(puzzle, options.Points, script);
        out.write(script.data(), static_cast<std::streamsize>(script.size()));
        ++summary.Imported;
        if (OnProblem) OnProblem(puzzle, script);
    }
    summary.Recognised = reader->Recognised();
    summary.ReadFailed = reader->Failed();
    if (OnProgress && !summary.Cancelled) OnProgress(reader->BytesRead());
    return summary;
}

} // namespace qv
