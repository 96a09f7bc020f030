// qvn import SOURCE [--format pgn|epd|lichess] [--points N] [--min-rating A]
// [--max-rating B] [--themes T1,T2] [--limit K] [-o OUT]: a puzzle collection
// converted into a problem file.
#include "tools/qvn/Command.h"

#include "puzzles/core/PuzzleImport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
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

int RunImport(const std::vector<std::string>& args) {
    std::string source, output, formatName;
    qv::ImportOptions options;
    bool filters = false;
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
    // (A mate solver's check of every generated problem would run here, per problem.)
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
    std::cerr << "imported " << summary.Imported << " of " << summary.Records << " records\n";
    return qvn::ExitOk;
}

qvn::Registrar reg{
    {Name,
     "SOURCE [--format pgn|epd|lichess] [--points N] [--min-rating A] [--max-rating B] "
     "[--themes T1,T2] [--limit K] [-o OUT]",
     "converts a PGN, EPD or Lichess puzzle file into a problem file", RunImport}};

} // namespace
