// EPD lines: the four position fields and the operations after them.
#include "puzzles/core/EpdReader.h"

#include "puzzles/core/TextClean.h"

#include <algorithm>
#include <cctype>

namespace qv {

namespace {

constexpr std::size_t MaxLine = 1 << 16;

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

// The next whitespace-separated field, or "" at the end.
std::string_view NextField(std::string_view& s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    std::size_t n = 0;
    while (n < s.size() && !IsSpace(s[n])) ++n;
    const std::string_view f = s.substr(0, n);
    s.remove_prefix(n);
    return f;
}

bool IsNumber(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
    });
}

} // namespace

EpdReader::EpdReader(std::istream& in) : lines_(in, MaxLine) {}

bool EpdReader::Next(PuzzleRecord& record) {
    std::string_view line;
    bool tooLong = false;
    for (;;) {
        if (!lines_.Next(line, tooLong)) return false;
        if (tooLong || line.find_first_not_of(" \t") != std::string_view::npos) break;
    }
    record = PuzzleRecord();
    record.Ordinal = ++ordinal_;
    if (tooLong) {
        record.Error = "line too long";
        return true;
    }
    if (ReadEpdLine(line, record)) ++recognised_;
    return true;
}

bool ReadEpdLine(std::string_view line, PuzzleRecord& record) {
    std::string_view s = line;
    const std::string_view placement = NextField(s);
    if (std::count(placement.begin(), placement.end(), '/') != 7) {
        record.Error = "not an EPD record";
        return false;
    }
    std::string fen(placement);
    for (int i = 0; i < 3; ++i) {
        const std::string_view f = NextField(s);
        if (f.empty()) {
            record.Error = "broken FEN: missing fields";
            return true;
        }
        fen += ' ';
        fen += f;
    }
    // A full FEN's clock and move number may stand before the operations.
    std::string_view probe = s;
    const std::string_view clock = NextField(probe);
    const std::string_view number = NextField(probe);
    if (IsNumber(clock) && IsNumber(number)) s = probe;
    record.Fen = fen;

    // Operations: opcode, operands (quoted strings may hold ";" and spaces), ";".
    std::string id;
    while (true) {
        const std::string_view opcode = NextField(s);
        if (opcode.empty()) break;
        std::string op(opcode);
        bool ended = false;
        if (!op.empty() && op.back() == ';') {
            op.pop_back();
            ended = true;
        }
        std::vector<std::string> operands;
        while (!ended) {
            while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
            if (s.empty()) break;
            if (s.front() == ';') {
                s.remove_prefix(1);
                break;
            }
            if (s.front() == '"') {
                const std::size_t close = s.find('"', 1);
                const std::size_t end = close == std::string_view::npos ? s.size() : close;
                operands.emplace_back(s.substr(1, end - 1));
                s.remove_prefix(std::min(s.size(), end + 1));
                continue;
            }
            std::size_t n = 0;
            while (n < s.size() && !IsSpace(s[n]) && s[n] != ';') ++n;
            operands.emplace_back(s.substr(0, n));
            s.remove_prefix(n);
        }
        if (op == "bm")
            record.BestMoves.insert(record.BestMoves.end(), operands.begin(), operands.end());
        else if (op == "am")
            record.AvoidMoves.insert(record.AvoidMoves.end(), operands.begin(), operands.end());
        else if (op == "id" && !operands.empty())
            id = operands.front();
        else if (op == "c0" && !operands.empty()) {
            std::string c;
            for (const auto& o : operands) c += (c.empty() ? "" : " ") + o;
            c = CleanText(c);
            if (!c.empty()) record.Closing.push_back(std::move(c));
        }
    }
    record.Title = CleanText(id);
    return true;
}

} // namespace qv
