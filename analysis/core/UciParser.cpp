// UCI line parsing: words separated by spaces or tabs, numbers checked in full.
#include "analysis/core/UciParser.h"

#include <charconv>
#include <vector>

namespace qv::analysis {

namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (i < line.size()) {
        while (i < line.size() && blank(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !blank(line[i])) ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

template <typename T> bool Number(std::string_view text, T& value) {
    if (text.empty()) return false;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && p == text.data() + text.size();
}

} // namespace

bool IsCoordinateMove(std::string_view t) {
    auto file = [](char c) { return c >= 'a' && c <= 'h'; };
    auto rank = [](char c) { return c >= '1' && c <= '8'; };
    if (t.size() != 4 && t.size() != 5) return false;
    if (!file(t[0]) || !rank(t[1]) || !file(t[2]) || !rank(t[3])) return false;
    return t.size() == 4 || std::string_view("qrbn").find(t[4]) != std::string_view::npos;
}

std::string_view FirstWord(std::string_view line) {
    const auto words = Words(line);
    return words.empty() ? std::string_view() : words.front();
}

bool ParseInfoLine(std::string_view line, AnalysisInfo& out) {
    const auto w = Words(line);
    if (w.empty() || w[0] != "info") return false;
    AnalysisInfo info;
    bool depth = false, score = false;
    for (std::size_t i = 1; i < w.size(); ++i) {
        const std::string_view key = w[i];
        const bool hasNext = i + 1 < w.size();
        if (key == "depth") {
            if (!hasNext || !Number(w[++i], info.Depth) || info.Depth < 0) return false;
            depth = true;
        } else if (key == "multipv") {
            if (!hasNext || !Number(w[++i], info.MultiPv) || info.MultiPv < 1) return false;
        } else if (key == "nodes") {
            if (!hasNext || !Number(w[++i], info.Nodes)) return false;
        } else if (key == "score") {
            if (i + 2 >= w.size()) return false;
            const std::string_view kind = w[i + 1];
            if (kind != "cp" && kind != "mate") return false;
            info.Score.Mate = kind == "mate";
            if (!Number(w[i + 2], info.Score.Value)) return false;
            i += 2;
            if (i + 1 < w.size() && (w[i + 1] == "lowerbound" || w[i + 1] == "upperbound"))
                return false; // not the line's final score
            score = true;
        } else if (key == "pv") {
            while (i + 1 < w.size() && IsCoordinateMove(w[i + 1])) info.Pv.emplace_back(w[++i]);
        } else if (key == "string") {
            break; // free text to the end of the line
        }
        // Other keys (seldepth, time, nps, hashfull, tbhits, currmove, ...) are skipped with
        // their values: a value is never a key, so skipping word by word is enough.
    }
    if (!depth || !score || info.Pv.empty()) return false;
    out = std::move(info);
    return true;
}

bool ParseBestMoveLine(std::string_view line, std::string& move) {
    const auto w = Words(line);
    if (w.size() < 2 || w[0] != "bestmove") return false;
    if (w[1] == "(none)" || w[1] == "0000") {
        move.clear();
        return true;
    }
    if (!IsCoordinateMove(w[1])) return false;
    move = std::string(w[1]);
    return true;
}

bool ParseIdName(std::string_view line, std::string& name) {
    const auto w = Words(line);
    if (w.size() < 3 || w[0] != "id" || w[1] != "name") return false;
    const std::size_t start = line.find(w[2]);
    std::string_view rest = line.substr(start);
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t' || rest.back() == '\r'))
        rest.remove_suffix(1);
    name = std::string(rest);
    return true;
}

} // namespace qv::analysis
