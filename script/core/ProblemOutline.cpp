// Outlines, script hashes and digests of problems.
#include "script/core/ProblemOutline.h"

#include "script/core/ScriptInterpreter.h"
#include "script/core/ScriptWords.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace qv {

int ProblemOutline::BestScore() const {
    int sum = 0;
    for (const TurnAnswers& t : Turns) sum = AddPoints(sum, t.BestPoints());
    return sum;
}

namespace {

std::size_t NextIndexLine(const ProblemTextFile& file, std::size_t from) {
    std::size_t i = from;
    while (i < file.LineCount() && !IsIndexLine(file.Line(i))) ++i;
    return i;
}

} // namespace

std::string ScriptTextHash(const ProblemTextFile& file, std::size_t first, std::size_t end) {
    std::uint64_t h = 14695981039346656037ULL;
    const auto add = [&h](unsigned char c) {
        h ^= c;
        h *= 1099511628211ULL;
    };
    for (std::size_t i = first; i < end && i < file.LineCount(); ++i) {
        for (char c : file.Line(i)) add(static_cast<unsigned char>(c));
        add('\n');
    }
    static constexpr char hex[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int k = 15; k >= 0; --k, h >>= 4) text[static_cast<std::size_t>(k)] = hex[h & 15];
    return text;
}

ProblemOutline OutlineProblem(const ProblemTextFile& file, std::size_t first) {
    ProblemOutline outline;
    outline.FirstLine = first;
    outline.EndLine = NextIndexLine(file, first);
    outline.ScriptHash = ScriptTextHash(file, first, outline.EndLine);
    for (std::size_t i = first; i < outline.EndLine; ++i) {
        const std::string& line = file.Line(i);
        if (line.empty() || line[0] != '.') continue;
        const std::string cmd = CommandWord(line);
        if (cmd == "end") break;
        if (cmd == "position")
            i += 8;
        else if (cmd == "*w" || cmd == "*b")
            outline.Turns.push_back(ReadTurnAhead(file, i + 1));
    }
    return outline;
}

std::vector<ProblemDigest> DigestProblems(const ProblemTextFile& file) {
    std::vector<ProblemDigest> digests;
    std::unordered_map<std::string_view, std::size_t> firstOfLine; // index line -> digest
    const std::size_t n = file.LineCount();
    std::size_t i = NextIndexLine(file, 0);
    while (i < n) {
        const std::string& line = file.Line(i);
        const std::size_t end = NextIndexLine(file, i + 1);
        ProblemDigest d;
        d.Entry = IndexEntry(line);
        d.Label = Word(d.Entry, 1);
        d.Title = RestFrom(d.Entry, 2);
        // The problem lookup finds the first line equal to the entry's key.
        const auto found = firstOfLine.find(ProblemKey(d.Entry));
        d.ScriptHash = found != firstOfLine.end() ? digests[found->second].ScriptHash
                                                  : ScriptTextHash(file, i + 1, end);
        firstOfLine.emplace(line, digests.size());
        digests.push_back(std::move(d));
        i = end;
    }
    return digests;
}

} // namespace qv
