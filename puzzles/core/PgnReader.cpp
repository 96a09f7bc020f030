// PGN records: tag pairs, then movetext read as a main line with comments.
#include "puzzles/core/PgnReader.h"

#include "puzzles/core/TextClean.h"

#include <cctype>

namespace qv {

namespace {

constexpr std::size_t MaxLine = 1 << 20;
constexpr std::size_t MaxRecord = 1 << 20;

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

bool IsBlank(std::string_view s) {
    for (char c : s)
        if (c != ' ' && c != '\t') return false;
    return true;
}

struct Tags {
    std::string Fen, White, Black, Event, Date, Termination;
};

// Reads every tag pair of the line; false when one is malformed.
bool ReadTagLine(std::string_view line, Tags& tags) {
    std::string_view s = TrimLeft(line);
    while (!s.empty()) {
        if (s.front() != '[') return false;
        s.remove_prefix(1);
        s = TrimLeft(s);
        std::size_t n = 0;
        while (n < s.size() && (std::isalnum(static_cast<unsigned char>(s[n])) || s[n] == '_')) ++n;
        if (n == 0) return false;
        const std::string name(s.substr(0, n));
        s = TrimLeft(s.substr(n));
        if (s.empty() || s.front() != '"') return false;
        s.remove_prefix(1);
        std::string value;
        bool closed = false;
        while (!s.empty()) {
            const char c = s.front();
            s.remove_prefix(1);
            if (c == '\\' && !s.empty()) {
                value += s.front();
                s.remove_prefix(1);
            } else if (c == '"') {
                closed = true;
                break;
            } else {
                value += c;
            }
        }
        if (!closed) return false;
        s = TrimLeft(s);
        if (s.empty() || s.front() != ']') return false;
        s = TrimLeft(s.substr(1));
        if (name == "FEN")
            tags.Fen = value;
        else if (name == "White")
            tags.White = value;
        else if (name == "Black")
            tags.Black = value;
        else if (name == "Event")
            tags.Event = value;
        else if (name == "Date")
            tags.Date = value;
        else if (name == "Termination")
            tags.Termination = value;
    }
    return true;
}

// "?" and "" say that a tag is unknown.
std::string Known(const std::string& value) {
    std::string v = CleanText(value);
    return v == "?" || v == "-" ? std::string() : v;
}

std::string MakeTitle(const Tags& t, std::string& players) {
    const std::string white = Known(t.White), black = Known(t.Black);
    players.clear();
    if (!white.empty() || !black.empty())
        players = (white.empty() ? "?" : white) + " - " + (black.empty() ? "?" : black);
    std::string event = Known(t.Event);
    const std::string date = CleanText(t.Date);
    if (date.size() >= 4 && std::isdigit(static_cast<unsigned char>(date[0])) &&
        std::isdigit(static_cast<unsigned char>(date[1])) &&
        std::isdigit(static_cast<unsigned char>(date[2])) &&
        std::isdigit(static_cast<unsigned char>(date[3]))) {
        const std::string year = date.substr(0, 4);
        if (event.find(year) == std::string::npos) event += event.empty() ? year : " " + year;
    }
    std::string title = players;
    for (const std::string& part : {event, Known(t.Termination)}) {
        if (part.empty()) continue;
        if (!title.empty()) title += ", ";
        title += part;
    }
    return title;
}

bool IsResult(std::string_view t) {
    return t == "1-0" || t == "0-1" || t == "1/2-1/2" || t == "*";
}

// Tracks comments across the lines of a record, so that a "[" inside a comment
// does not begin a new record.
void TrackComment(std::string_view line, bool& inComment) {
    for (char c : line) {
        if (inComment) {
            if (c == '}') inComment = false;
        } else if (c == '{') {
            inComment = true;
        } else if (c == ';') {
            return;
        }
    }
}

} // namespace

PgnReader::PgnReader(std::istream& in) : lines_(in, MaxLine) {}

bool PgnReader::Next(PuzzleRecord& record) {
    record = PuzzleRecord();
    std::string_view line;
    bool tooLong = false;
    // The record's first line: a pending tag line, or the next line that begins with "[".
    std::string first;
    if (havePending_) {
        first = std::move(pending_);
        havePending_ = false;
    } else {
        for (;;) {
            if (!lines_.Next(line, tooLong)) return false;
            if (!tooLong && !TrimLeft(line).empty() && TrimLeft(line).front() == '[') {
                first.assign(line);
                break;
            }
        }
    }
    record.Ordinal = ++ordinal_;

    Tags tags;
    bool tagsOk = ReadTagLine(first, tags);
    bool anyTag = tagsOk;
    bool inMovetext = false, inComment = false, tooBig = false;
    std::string movetext;
    while (lines_.Next(line, tooLong)) {
        if (tooLong) {
            tooBig = true;
            inMovetext = true;
            continue;
        }
        if (!inMovetext) {
            if (IsBlank(line)) {
                inMovetext = true; // a blank line ends the tag section
                continue;
            }
            if (TrimLeft(line).front() == '[') {
                if (ReadTagLine(line, tags))
                    anyTag = true;
                else
                    tagsOk = false;
                continue;
            }
            inMovetext = true;
        }
        if (!inComment && !line.empty() && line.front() == '[') {
            pending_.assign(line);
            havePending_ = true;
            break;
        }
        if (!line.empty() && line.front() == '%' && !inComment) continue; // escape line
        TrackComment(line, inComment);
        if (movetext.size() + line.size() + 1 > MaxRecord) {
            tooBig = true;
            continue;
        }
        movetext.append(line);
        movetext += '\n';
    }

    if (anyTag) ++recognised_;
    record.Title = MakeTitle(tags, record.Players);
    record.Fen = tags.Fen;
    ParseMateGoal(tags.Termination, record.MateIn, record.MateSide);
    if (tooBig) {
        record.Error = "record too long";
    } else if (!tagsOk) {
        record.Error = "broken tag pair";
    } else {
        ReadPgnMovetext(movetext, record);
    }
    return true;
}

void ReadPgnMovetext(std::string_view text, PuzzleRecord& record) {
    int depth = 0; // variation nesting
    auto addComment = [&](std::string_view raw) {
        if (depth > 0) return;
        std::string c = CleanText(raw);
        if (c.empty()) return;
        if (record.Moves.empty())
            record.Intro.push_back(std::move(c));
        else
            record.Moves.back().Comments.push_back(std::move(c));
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            ++i;
        } else if (c == '{') {
            const std::size_t close = text.find('}', i + 1);
            const std::size_t end = close == std::string_view::npos ? text.size() : close;
            addComment(text.substr(i + 1, end - i - 1));
            i = end + 1;
        } else if (c == ';') {
            const std::size_t nl = text.find('\n', i + 1);
            const std::size_t end = nl == std::string_view::npos ? text.size() : nl;
            addComment(text.substr(i + 1, end - i - 1));
            i = end;
        } else if (c == '(') {
            ++depth;
            ++i;
        } else if (c == ')') {
            if (depth > 0) --depth;
            ++i;
        } else {
            std::size_t j = i;
            while (j < text.size() && text[j] != ' ' && text[j] != '\t' && text[j] != '\n' &&
                   text[j] != '\r' && text[j] != '{' && text[j] != '}' && text[j] != '(' &&
                   text[j] != ')' && text[j] != ';')
                ++j;
            std::string_view token = text.substr(i, j - i);
            i = j == i ? i + 1 : j;
            if (depth > 0 || token.empty()) continue;
            if (IsResult(token)) break;
            if (token[0] == '$') continue; // NAG
            // A move number, possibly glued to its move: "12.", "38...", "12.e4".
            std::size_t k = 0;
            while (k < token.size() && std::isdigit(static_cast<unsigned char>(token[k]))) ++k;
            if (k > 0 && k < token.size() && token[k] == '.') {
                while (k < token.size() && token[k] == '.') ++k;
                token.remove_prefix(k);
            } else if (k == token.size()) {
                continue; // a bare number
            }
            if (token.empty()) continue;
            // Glyphs standing on their own ("!", "?!").
            if (token.find_first_not_of("!?") == std::string_view::npos) continue;
            record.Moves.push_back({std::string(token), {}});
        }
    }
}

bool ParseMateGoal(std::string_view text, int& moves, char& side) {
    std::string t;
    for (char c : text) t += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string_view s = t;
    auto skipSpaces = [&s] {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    };
    auto take = [&s, &skipSpaces](std::string_view word) {
        skipSpaces();
        if (s.substr(0, word.size()) != word) return false;
        s.remove_prefix(word.size());
        return true;
    };
    char named = 0;
    if (take("white"))
        named = 'w';
    else if (take("black"))
        named = 'b';
    if (named && !take("to play and") && !take("to move and")) take("to");
    if (!take("#") && !take("mates in") && !take("mate in")) return false;
    skipSpaces();
    int n = 0;
    std::size_t digits = 0;
    while (digits < s.size() && digits < 3 && std::isdigit(static_cast<unsigned char>(s[digits])))
        n = n * 10 + (s[digits++] - '0');
    if (digits > 0) {
        s.remove_prefix(digits);
    } else {
        static constexpr std::string_view Words[] = {"one", "two",   "three", "four", "five",
                                                     "six", "seven", "eight", "nine", "ten"};
        for (int i = 0; i < 10 && n == 0; ++i)
            if (s.substr(0, Words[i].size()) == Words[i]) {
                n = i + 1;
                s.remove_prefix(Words[i].size());
            }
    }
    if (n < 1 || n > 30) return false;
    // Nothing may follow but "move(s)" and punctuation.
    if (!take("moves")) take("move");
    skipSpaces();
    if (s.find_first_not_of(".!) ") != std::string_view::npos) return false;
    moves = n;
    side = named;
    return true;
}

} // namespace qv
