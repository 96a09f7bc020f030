// qvn import SOURCE [--format pgn|epd|lichess] [--points N] [--min-rating A]
// [--max-rating B] [--themes T1,T2] [--limit K] [--no-mates] [--check] [-o OUT]: a
// puzzle collection converted into a problem file.
#include "tools/qvn/Command.h"

#include "check/core/ProblemChecker.h"
#include "puzzles/core/PuzzleImport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <system_error>

namespace {

namespace fs = std::filesystem;

const char* const Name = "import";

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty()) out.push_back(item);
    return out;
}

bool IntArgument(const std::string& text, long long low, long long high, long long& value) {
    return qvn::ParseInt(text, value) && value >= low && value <= high;
}

int Failure(const std::string& message) {
    std::cerr << "qvn import: " << message << "\n";
    return qvn::ExitFailure;
}

// Budget of the mate search per position for --check: enough for the mates of
// collections, small enough that a hard one costs seconds, not minutes.
constexpr long long CheckNodes = 10'000'000;

int RunImport(const std::vector<std::string>& args) {
    std::string source, output, formatName;
    qv::ImportOptions options;
    bool filters = false, check = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        long long v = 0;
        if (a == "--format" && hasValue) {
            formatName = args[++i];
            if (!qv::ParseFormatName(formatName, options.Format))
                return qvn::UsageError(Name, "--format takes pgn, epd or lichess");
        } else if (a == "--points" && hasValue) {
            if (!IntArgument(args[++i], 1, 999, v))
                return qvn::UsageError(Name, "--points takes a number from 1 to 999");
            options.Points = static_cast<int>(v);
        } else if ((a == "--min-rating" || a == "--max-rating") && hasValue) {
            if (!IntArgument(args[++i], 0, 100000, v))
                return qvn::UsageError(Name, a + " takes a rating from 0 to 100000");
            (a == "--min-rating" ? options.MinRating : options.MaxRating) = static_cast<int>(v);
            filters = true;
        } else if (a == "--themes" && hasValue) {
            options.Themes = SplitCommas(args[++i]);
            filters = true;
        } else if (a == "--limit" && hasValue) {
            if (!IntArgument(args[++i], 1, 1000000000, v))
                return qvn::UsageError(Name, "--limit takes a positive number");
            options.Limit = static_cast<long>(v);
        } else if (a == "--no-mates") {
            options.SolveMates = false;
        } else if (a == "--check") {
            check = true;
        } else if ((a == "-o" || a == "--output") && hasValue) {
            output = args[++i];
        } else if (a.rfind("-", 0) == 0 || !source.empty()) {
            return qvn::UsageError(Name, "unexpected argument '" + a + "'");
        } else {
            source = a;
        }
    }
    if (source.empty()) return qvn::UsageError(Name, "expects a puzzle file");
    if (formatName.empty() && !qv::FormatFromFileName(source, options.Format))
        return qvn::UsageError(Name, "cannot tell the format of " + source +
                                         " from its name; say --format pgn, epd or lichess");
    if (filters && options.Format != qv::PuzzleFormat::Lichess)
        return qvn::UsageError(
            Name, "--min-rating, --max-rating and --themes filter Lichess puzzles only");
    if (options.MinRating > options.MaxRating)
        return qvn::UsageError(Name, "--min-rating is above --max-rating");

    std::error_code ec;
    if (fs::is_directory(source, ec)) return Failure(source + ": is a folder, not a file");
    std::ifstream in(source, std::ios::binary);
    if (!in) return Failure(source + ": cannot be read");

    // The problem file is written beside its final name and moved there at the
    // end, so a failed import leaves no half-written file (and never overwrites
    // its own source while reading it).
    std::ofstream file;
    fs::path partPath;
    std::ostream* out = &std::cout;
    if (!output.empty()) {
        partPath = fs::path(output);
        partPath += ".part";
        file.open(partPath, std::ios::binary | std::ios::trunc);
        if (!file) return Failure(output + ": cannot be written");
        out = &file;
    } else {
        std::ios::sync_with_stdio(false);
    }
    auto discard = [&] {
        if (file.is_open()) {
            file.close();
            fs::remove(partPath, ec);
        }
    };

    qv::PuzzleImporter importer;
    importer.OnSkip = [](long ordinal, const std::string& reason) {
        std::cerr << "skipped record " << ordinal << ": " << reason << "\n";
    };
    // --check: each problem as written goes through the checker's tests; its findings
    // (the cooks above all) go to standard error with the problem's label first.
    std::unique_ptr<qv::check::ProblemChecker> checker;
    long findings = 0;
    if (check) {
        qv::check::CheckOptions checkOptions;
        checkOptions.MaxNodes = CheckNodes;
        checkOptions.ReportAcceptedCooks = true;
        checker = std::make_unique<qv::check::ProblemChecker>(checkOptions);
        importer.OnProblem = [&](const qv::Puzzle&, const std::string& script) {
            checker->OpenFromBytes(script);
            const qv::check::CheckReport report = checker->Check();
            for (const auto& f : report.Findings) std::cerr << f.Text() << "\n";
            for (const auto& note : report.Notes) std::cerr << note << "\n";
            findings += static_cast<long>(report.Findings.size());
        };
    }
    const qv::ImportSummary summary = importer.Run(in, *out, options);
    out->flush();
    if (summary.ReadFailed) {
        discard();
        return Failure(source + ": read error");
    }
    if (summary.Recognised == 0) {
        discard();
        return Failure("no puzzle found in " + source);
    }
    if (!*out) {
        discard();
        return Failure((output.empty() ? std::string("standard output") : output) +
                       ": write error");
    }
    if (file.is_open()) {
        file.close();
        fs::rename(partPath, output, ec);
        if (ec) {
            fs::remove(partPath, ec);
            return Failure(output + ": cannot be written");
        }
    }
    std::cerr << "imported " << summary.Imported << " of " << summary.Records << " records";
    if (check) std::cerr << "; " << findings << (findings == 1 ? " finding" : " findings");
    std::cerr << "\n";
    return qvn::ExitOk;
}

qvn::Registrar reg{
    {Name,
     "SOURCE [--format pgn|epd|lichess] [--points N] [--min-rating A] [--max-rating B] "
     "[--themes T1,T2] [--limit K] [--no-mates] [--check] [-o OUT]",
     "converts a PGN, EPD or Lichess puzzle file into a problem file; every key of a mate\n"
     "      scores (--no-mates: only the source's), --check reports cooks on standard error",
     RunImport}};

} // namespace
