// The puzzle import on fuzzed sources: the first byte picks the format (PGN, EPD or a
// puzzle CSV), the rest is the source. Whatever it reads, the import must end, count what
// it wrote, and write one index line for each problem it says it imported.
#include "puzzles/core/PuzzleImport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static constexpr qv::PuzzleFormat formats[] = {qv::PuzzleFormat::Pgn, qv::PuzzleFormat::Epd,
                                                   qv::PuzzleFormat::Lichess};
    qv::ImportOptions options;
    options.Format = formats[data[0] % 3];
    // Mate puzzles are searched too, within budgets that keep every input quick.
    options.MateNodes = 20000;
    options.GoalNodes = 20000;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    std::ostringstream out;
    qv::PuzzleImporter importer;
    long skipped = 0;
    importer.OnSkip = [&](long, const std::string&) { ++skipped; };
    const qv::ImportSummary summary = importer.Run(in, out, options);
    if (summary.Imported < 0 || summary.Imported + skipped > summary.Records) std::abort();

    // Each problem starts with an index line at the start of a CR LF line.
    const std::string text = out.str();
    long indexLines = 0;
    for (std::size_t at = 0; at < text.size(); at = text.find("\r\n", at) + 2) {
        if (text.compare(at, 3, ".# ") == 0) ++indexLines;
        if (text.find("\r\n", at) == std::string::npos) break;
    }
    if (indexLines != summary.Imported) std::abort();
    return 0;
}
