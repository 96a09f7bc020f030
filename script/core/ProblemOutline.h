// A problem seen as a whole before it is played: its turns with their scoring
// lines, the best score it offers, and a hash of its script text that tells an
// edited problem from the one played before.
#pragma once

#include "script/core/ProblemTextFile.h"
#include "script/core/TurnReadAhead.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The turns of one problem's script, read without running it.
struct ProblemOutline {
    std::size_t FirstLine = 0;      // the first line of the script (after its index line)
    std::size_t EndLine = 0;        // the next index line, or the line count
    std::vector<TurnAnswers> Turns; // one per .*w/.*b before .end, in script order
    std::string ScriptHash;         // ScriptTextHash of the lines FirstLine..EndLine-1

    // The sum over the turns of each turn's BestPoints().
    int BestScore() const;
};

// Outlines the problem whose script starts at line `first` (the read position
// that SeekProblem leaves). Its turns end at .end or at the next index line; its
// text, for the hash, runs to the next index line or the end of the file.
ProblemOutline OutlineProblem(const ProblemTextFile& file, std::size_t first);

// 16 hexadecimal digits of a 64-bit hash (TextHash) of the lines first..end-1.
// Taken over the decoded lines, so line ends and the file's 8-bit encoding do not
// change it; any edit of the script text does.
std::string ScriptTextHash(const ProblemTextFile& file, std::size_t first, std::size_t end);

// A 64-bit hash of a sequence of texts, each counted with its length. Stored
// hashes depend on it: it never changes. Not for security.
class TextHash {
public:
    void Add(std::string_view text);
    std::uint64_t Value() const;

private:
    std::uint64_t h_ = 0x6a09e667f3bcc908ULL;
};

// One number for a problem's identity (label, title, script hash), so that the
// marks of a large file can be matched without comparing texts.
std::uint64_t ProblemIdentityKey(std::string_view label, std::string_view title,
                                 std::string_view scriptHash);

// The identity of one listed problem: its list entry, label, title and the hash
// of the script that selecting the entry runs.
struct ProblemDigest {
    std::string Entry; // as the index list shows it
    std::string Label; // word 1 of the entry
    std::string Title; // the rest of the entry from word 2
    std::string ScriptHash;
    std::uint64_t Key = 0; // ProblemIdentityKey of the three
};

// One digest per index line, in file order, in one pass over the file. An entry
// that is listed twice runs the problem after the first line equal to its key,
// so every listing of it gets that problem's hash.
std::vector<ProblemDigest> DigestProblems(const ProblemTextFile& file);

} // namespace qv
