// CSV rows of the Lichess puzzle database.
#include "puzzles/core/LichessReader.h"

#include "puzzles/core/TextClean.h"

#include <algorithm>
#include <charconv>

namespace qv {

namespace {

constexpr std::size_t MaxLine = 1 << 16;

// Splits a CSV line; fields in double quotes may hold commas and doubled quotes
// (their text is kept in unquoted, which the views then point into).
void SplitCsv(std::string_view line, std::vector<std::string_view>& fields,
              std::vector<std::string>& unquoted) {
    fields.clear();
    unquoted.clear();
    std::vector<int> quoted; // per field: index into unquoted, or -1
    std::size_t i = 0;
    while (true) {
        if (i < line.size() && line[i] == '"') {
            std::string value;
            ++i;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        value += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += line[i++];
            }
            quoted.push_back(static_cast<int>(unquoted.size()));
            unquoted.push_back(std::move(value));
            fields.emplace_back();
            while (i < line.size() && line[i] != ',') ++i;
        } else {
            const std::size_t comma = line.find(',', i);
            const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
            quoted.push_back(-1);
            fields.push_back(line.substr(i, end - i));
            i = end;
        }
        if (i >= line.size()) break;
        ++i; // the comma
    }
    for (std::size_t k = 0; k < fields.size(); ++k)
        if (quoted[k] >= 0) fields[k] = unquoted[static_cast<std::size_t>(quoted[k])];
}

void SplitSpaces(std::string_view s, std::vector<std::string>& out) {
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && s[i] == ' ') ++i;
        std::size_t j = i;
        while (j < s.size() && s[j] != ' ') ++j;
        if (j > i) out.emplace_back(s.substr(i, j - i));
        i = j;
    }
}

} // namespace

LichessReader::LichessReader(std::istream& in) : lines_(in, MaxLine) {}

bool LichessReader::Next(PuzzleRecord& record) {
    std::string_view line;
    bool tooLong = false;
    std::vector<std::string_view> fields;
    std::vector<std::string> unquoted;
    for (;;) {
        if (!lines_.Next(line, tooLong)) return false;
        if (!tooLong && line.find_first_not_of(" \t") == std::string_view::npos) continue;
        bool header = false;
        if (first_ && !tooLong) {
            SplitCsv(line, fields, unquoted);
            header = std::find(fields.begin(), fields.end(), "FEN") != fields.end() &&
                     std::find(fields.begin(), fields.end(), "Moves") != fields.end();
        }
        if (header) {
            first_ = false;
            id_ = fen_ = moves_ = rating_ = themes_ = -1;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                const std::string_view f = fields[i];
                const int n = static_cast<int>(i);
                if (f == "PuzzleId") id_ = n;
                if (f == "FEN") fen_ = n;
                if (f == "Moves") moves_ = n;
                if (f == "Rating") rating_ = n;
                if (f == "Themes") themes_ = n;
            }
            continue;
        }
        first_ = false;
        break;
    }
    record = PuzzleRecord();
    record.Ordinal = ++ordinal_;
    if (tooLong) {
        record.Error = "line too long";
        return true;
    }
    SplitCsv(line, fields, unquoted);
    const auto field = [&](int i) {
        return i >= 0 && static_cast<std::size_t>(i) < fields.size() ? fields[i]
                                                                     : std::string_view();
    };
    if (fields.size() < 3 || field(fen_).empty()) {
        record.Error = "not a puzzle row";
        return true;
    }
    ++recognised_;
    record.Fen.assign(field(fen_));
    record.CoordinateMoves = true;
    record.PlayerStarts = 1;
    std::vector<std::string> moves;
    SplitSpaces(field(moves_), moves);
    for (auto& m : moves) record.Moves.push_back({std::move(m), {}});
    const std::string_view rating = field(rating_);
    int r = -1;
    const auto [p, ec] = std::from_chars(rating.data(), rating.data() + rating.size(), r);
    if (ec == std::errc() && p == rating.data() + rating.size()) record.Rating = r;
    SplitSpaces(field(themes_), record.Themes);

    const std::string id = CleanText(field(id_));
    std::string title = "Puzzle " + (id.empty() ? std::to_string(record.Ordinal) : id);
    if (record.Rating >= 0) title += ", rating " + std::to_string(record.Rating);
    if (!record.Themes.empty()) {
        title += ':';
        for (std::size_t i = 0; i < record.Themes.size(); ++i)
            title += (i ? ", " : " ") + CleanText(record.Themes[i]);
    }
    record.Title = std::move(title);
    return true;
}

} // namespace qv
