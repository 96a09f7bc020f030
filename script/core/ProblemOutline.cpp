// Outlines, script hashes and digests of problems.
#include "script/core/ProblemOutline.h"

#include "script/core/ScriptInterpreter.h"
#include "script/core/ScriptWords.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace qv {

int ProblemOutline::BestScore() const {
    int sum = 0;
    for (const TurnAnswers& t : Turns) sum = AddPoints(sum, t.BestPoints());
    return sum;
}

namespace {

std::size_t NextIndexLine(const ProblemTextFile& file, std::size_t from) {
    std::size_t i = from;
    while (i < file.LineCount() && !IsIndexLine(file.LineView(i))) ++i;
    return i;
}

} // namespace

namespace {

constexpr std::uint64_t K1 = 0x9e3779b97f4a7c15ULL;
constexpr std::uint64_t K2 = 0xbf58476d1ce4e5b9ULL;

std::uint64_t Finish(std::uint64_t h) {
    h ^= h >> 31;
    h *= K2;
    h ^= h >> 29;
    h *= 0x94d049bb133111ebULL;
    return h ^ (h >> 32);
}

// Eight bytes as a little-endian number, whatever the machine's byte order.
std::uint64_t Load(const unsigned char* p, std::size_t n) {
    std::uint64_t w = 0;
    for (std::size_t i = 0; i < n; ++i) w |= std::uint64_t(p[i]) << (8 * i);
    return w;
}

} // namespace

void TextHash::Add(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t n = text.size();
    std::uint64_t h = K1 ^ (n * K2);
    for (; n >= 8; n -= 8, p += 8) h = (h ^ Load(p, 8) * K1) * K2 + (h >> 29);
    h = (h ^ Load(p, n) * K1) * K2;
    h_ = Finish(h_ ^ Finish(h)) + K1;
}

std::uint64_t TextHash::Value() const {
    return Finish(h_);
}

namespace {

std::string HashText(std::uint64_t h) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int k = 15; k >= 0; --k, h >>= 4) text[static_cast<std::size_t>(k)] = hex[h & 15];
    return text;
}

} // namespace

std::string ScriptTextHash(const ProblemTextFile& file, std::size_t first, std::size_t end) {
    TextHash hash;
    for (std::size_t i = first; i < end && i < file.LineCount(); ++i) hash.Add(file.LineView(i));
    return HashText(hash.Value());
}

std::uint64_t ProblemIdentityKey(std::string_view label, std::string_view title,
                                 std::string_view scriptHash) {
    TextHash hash;
    hash.Add(label);
    hash.Add(title);
    hash.Add(scriptHash);
    return hash.Value();
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
    // Entries listed more than once, by a number for label and title.
    struct Listing {
        std::uint64_t Entry;
        std::size_t Index;
        bool Canonical; // the line is ".# LABEL TITLE", the key the problem lookup seeks
    };
    std::vector<Listing> listings;
    const std::size_t n = file.LineCount();
    std::size_t i = NextIndexLine(file, 0);
    while (i < n) {
        const std::string_view line = file.LineView(i);
        // The script's lines are hashed on the way to the next index line (one pass;
        // the same value as ScriptTextHash over them).
        TextHash script;
        std::size_t end = i + 1;
        for (; end < n; ++end) {
            const std::string_view scriptLine = file.LineView(end);
            if (IsIndexLine(scriptLine)) break;
            script.Add(scriptLine);
        }
        ProblemDigest d;
        d.Entry = IndexEntry(line);
        d.Label = Word(d.Entry, 1);
        d.Title = RestFrom(d.Entry, 2);
        d.ScriptHash = HashText(script.Value());
        TextHash entry;
        entry.Add(d.Label);
        entry.Add(d.Title);
        const bool canonical =
            line.substr(0, 3) == ".# " && line.substr(3) == (d.Title.empty() ? d.Label : d.Entry);
        listings.push_back({entry.Value(), digests.size(), canonical});
        digests.push_back(std::move(d));
        i = end;
    }
    // Selecting an entry runs the problem after the first line equal to its key, so
    // every listing of an entry gets the script of its first canonical listing.
    std::sort(listings.begin(), listings.end(), [](const Listing& a, const Listing& b) {
        return a.Entry != b.Entry ? a.Entry < b.Entry : a.Index < b.Index;
    });
    for (std::size_t run = 0; run < listings.size();) {
        std::size_t next = run + 1;
        while (next < listings.size() && listings[next].Entry == listings[run].Entry) ++next;
        for (std::size_t m = run; next - run > 1 && m < next; ++m) {
            ProblemDigest& member = digests[listings[m].Index];
            for (std::size_t c = run; c < next; ++c) {
                const ProblemDigest& first = digests[listings[c].Index];
                if (listings[c].Canonical && first.Entry == member.Entry) {
                    member.ScriptHash = first.ScriptHash;
                    break;
                }
            }
        }
        run = next;
    }
    for (ProblemDigest& d : digests) d.Key = ProblemIdentityKey(d.Label, d.Title, d.ScriptHash);
    return digests;
}

} // namespace qv
