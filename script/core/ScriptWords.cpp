// Words of a problem-file line, command words, index entries and position rows.
#include "script/core/ScriptWords.h"

#include "script/core/ScriptInterpreter.h"

#include <cctype>

namespace qv {

namespace {

struct Span {
    std::size_t Begin = std::string_view::npos; // first character of the word
    std::size_t End = std::string_view::npos;   // one past its last character
};

// The span of word n (1-based); Begin is npos when the line has fewer words.
Span FindWord(std::string_view line, int n) {
    if (n < 1) return {};
    std::size_t i = 0;
    int count = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        if (i >= line.size()) break;
        const std::size_t b = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (++count == n) return {b, i};
    }
    return {};
}

} // namespace

std::string Word(std::string_view line, int n) {
    const Span s = FindWord(line, n);
    if (s.Begin == std::string_view::npos) return {};
    return std::string(line.substr(s.Begin, s.End - s.Begin));
}

std::string RestFrom(std::string_view line, int n) {
    const Span s = FindWord(line, n);
    if (s.Begin == std::string_view::npos) return {};
    return std::string(line.substr(s.Begin));
}

std::string Words(std::string_view line, int n, int m) {
    const Span first = FindWord(line, n);
    if (first.Begin == std::string_view::npos) return {};
    const Span last = FindWord(line, m);
    if (last.Begin == std::string_view::npos || m < n) return std::string(line.substr(first.Begin));
    return std::string(line.substr(first.Begin, last.End - first.Begin));
}

int WordCount(std::string_view line) {
    int count = 0;
    bool inWord = false;
    for (char c : line) {
        if (c == ' ')
            inWord = false;
        else if (!inWord) {
            inWord = true;
            ++count;
        }
    }
    return count;
}

std::string AfterWord(std::string_view line, int n) {
    const Span s = FindWord(line, n);
    if (s.Begin == std::string_view::npos) return {};
    return std::string(line.substr(s.End));
}

std::string CommandWord(std::string_view line) {
    std::string w = Word(line, 1);
    for (char& c : w)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    const auto b = w.find_first_not_of('.');
    if (b == std::string::npos) return {};
    const auto e = w.find_last_not_of('.');
    return w.substr(b, e - b + 1);
}

bool IsIndexLine(std::string_view line) {
    return line.substr(0, 2) == ".#";
}

std::string IndexEntry(std::string_view line) {
    return Word(line, 2) + " " + RestFrom(line, 3);
}

std::string ProblemKey(std::string_view entry) {
    const std::string label = Word(entry, 1);
    const std::string title = RestFrom(entry, 2);
    if (title.empty()) return ".# " + label;
    return ".# " + label + " " + title;
}

std::vector<std::string_view> Utf8Chars(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t len = 1;
        if (c >= 0xF0)
            len = 4;
        else if (c >= 0xE0)
            len = 3;
        else if (c >= 0xC0)
            len = 2;
        // Only take continuation bytes that are really there.
        std::size_t k = 1;
        while (k < len && i + k < text.size() &&
               (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80)
            ++k;
        out.push_back(text.substr(i, k));
        i += k;
    }
    return out;
}

std::string RowToPosition(std::string_view rowLine) {
    std::string out;
    int taken = 0;
    for (std::string_view ch : Utf8Chars(rowLine)) {
        if (taken++ == 8) break;
        if (ch.size() != 1) {
            out += '?';
            continue;
        }
        switch (ch[0]) {
        case '1':
            out += ' ';
            break;
        case 'R':
            out += 'K';
            break;
        case 'r':
            out += 'k';
            break;
        case 'D':
            out += 'Q';
            break;
        case 'd':
            out += 'q';
            break;
        case 'T':
            out += 'R';
            break;
        case 't':
            out += 'r';
            break;
        case 'A':
            out += 'B';
            break;
        case 'a':
            out += 'b';
            break;
        case 'C':
            out += 'N';
            break;
        case 'c':
            out += 'n';
            break;
        default:
            out += ch[0];
            break; // space, P/p and any other character as written
        }
    }
    return out;
}

DiagramSquare ParseDiagramSquare(std::string_view word) {
    DiagramSquare sq;
    const auto chars = Utf8Chars(word);
    if (chars.size() < 2) return sq;
    const int rank = StrToInt(chars[1]); // throws for a character that is not a digit
    const char file = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
    if (file < 'A' || file > 'H' || rank < 1 || rank > 8) return sq;
    sq.File = file - 'A' + 1;
    sq.Rank = rank;
    sq.Valid = true;
    return sq;
}

} // namespace qv
