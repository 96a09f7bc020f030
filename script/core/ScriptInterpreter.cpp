// The script interpreter: the command table, move text, answer checking and scoring.
#include "script/core/ScriptInterpreter.h"

#include "script/core/ScriptWords.h"

#include <charconv>
#include <climits>
#include <cstdio>

namespace qv {

namespace {

// The error box shows run-time messages with a full stop at the end.
std::string WithFullStop(std::string message) {
    if (message.empty() || message.back() != '.') message += '.';
    return message;
}

std::string SquareText(const std::vector<std::string_view>& chars, std::size_t first) {
    std::string s;
    for (std::size_t i = first; i < first + 2 && i < chars.size(); ++i) s += chars[i];
    return s;
}

} // namespace

int StrToInt(std::string_view text) {
    const auto fail = [&] {
        return ConvertError("'" + std::string(text) + "' is not a valid integer value");
    };
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty()) throw fail();
    for (char c : digits)
        if (c < '0' || c > '9') throw fail();
    long long value = 0;
    auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || p != digits.data() + digits.size()) throw fail();
    if (negative) value = -value;
    if (value < INT_MIN || value > INT_MAX) throw fail();
    return static_cast<int>(value);
}

int AddPoints(int a, int b) {
    const long long sum = static_cast<long long>(a) + b;
    if (sum > INT_MAX) return INT_MAX;
    if (sum < INT_MIN) return INT_MIN;
    return static_cast<int>(sum);
}

std::string PointsDigits(int total) {
    char buf[8];
    if (total > 999) return "EEE";
    if (total < -99) return "-EE";
    if (total < 0)
        std::snprintf(buf, sizeof buf, "-%02d", -total);
    else
        std::snprintf(buf, sizeof buf, "%03d", total);
    return buf;
}

std::string NormaliseMoveText(std::string_view written, bool whiteToMove) {
    std::vector<std::string_view> chars;
    std::string s;
    for (std::string_view ch : Utf8Chars(written)) {
        if (ch == " " || ch == "+" || ch == "#") continue;
        chars.push_back(ch);
        s += ch;
    }
    if (s == "0-0") return whiteToMove ? "e1g1" : "e8g8";
    if (s == "0-0-0") return whiteToMove ? "e1c1" : "e8c8";
    if (!s.empty() && s[0] == '0') return s;
    // Promotions: square, optional separator, square, optional "=", piece letter.
    // No text of this shape named two squares before, so none changes meaning.
    const auto isSquare = [&](std::size_t i) {
        return i + 1 < chars.size() &&
               StrToSquare(std::string(chars[i]) + std::string(chars[i + 1])) != None;
    };
    const auto promotionLetter = [&](std::string_view c) -> char {
        if (c.size() != 1) return 0;
        const char l = static_cast<char>(c[0] | 32);
        return (l == 'q' || l == 'r' || l == 'b' || l == 'n') ? l : 0;
    };
    if (chars.size() >= 5 && chars.size() <= 7 && isSquare(0) && promotionLetter(chars.back())) {
        const std::size_t n = chars.size();
        const bool equals = chars[n - 2] == "=";
        const std::size_t target = n - (equals ? 4 : 3); // where the target square begins
        if ((target == 2 || (target == 3 && chars[2] != "=")) && isSquare(target)) {
            std::string out = std::string(chars[0]) + std::string(chars[1]) +
                              std::string(chars[target]) + std::string(chars[target + 1]);
            for (char& c : out)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
            return out + promotionLetter(chars.back());
        }
    }
    const auto pick = [&](std::size_t a, std::size_t b, std::size_t c, std::size_t d) {
        return std::string(chars[a]) + std::string(chars[b]) + std::string(chars[c]) +
               std::string(chars[d]);
    };
    if (chars.size() == 5) return pick(0, 1, 3, 4);
    if (chars.size() >= 6) return pick(1, 2, 4, 5);
    return s;
}

bool ExpectedMove(std::string_view word, Square& from, Square& to) {
    const auto chars = Utf8Chars(word);
    if (chars.size() < 4) return false;
    from = StrToSquare(SquareText(chars, 0));
    to = StrToSquare(SquareText(chars, 2));
    return from != None && to != None;
}

void ScriptInterpreter::ClearScore() {
    g_.TotalPoints = 0;
    host_.SetPointsDigits("000");
}

void ScriptInterpreter::ShowTotal() {
    host_.SetPointsDigits(PointsDigits(g_.TotalPoints));
}

void ScriptInterpreter::BoardIdle() {
    host_.SetBoardEnabled(false);
    host_.ShowYourTurn(false);
    host_.SetBoardBorderColor(BorderSilver);
}

void ScriptInterpreter::LabelIdle() {
    host_.ShowYourTurn(false);
    host_.SetBoardBorderColor(BorderSilver);
}

void ScriptInterpreter::Comment(const std::string& text) {
    if (g_.OutputToMemo) host_.AddMemoLine(text);
    if (g_.OutputToLabel) host_.SetLabelText(ScriptLabel::Label6, text);
}

ScriptStop ScriptInterpreter::RunScript() {
    if (!g_.ProblemFileOpen) return ScriptStop::NotOpen;
    bool readOne = false;
    for (;;) {
        // A run that reaches the end of the file stops there; the next run starts
        // again at the first line. So every run reads each line at most once and a
        // file without a stopping line cannot keep the interpreter going.
        if (g_.ProblemFile.AtEnd()) {
            if (readOne) return ScriptStop::EndOfFile;
            g_.ProblemFile.Rewind();
            if (g_.ProblemFile.AtEnd()) return ScriptStop::EndOfFile;
        }
        g_.ProblemFile.ReadLine(g_.CurrentLine);
        readOne = true;
        const std::string& line = g_.CurrentLine;
        if (line.empty()) {
            host_.AddMemoLine({});
            continue;
        }
        if (line[0] != '.') return ScriptStop::WaitingForNext; // a plain line
        ScriptStop stop = ScriptStop::WaitingForNext;
        try {
            if (!Execute(CommandWord(line), stop)) return stop;
        } catch (const ConvertError& e) {
            host_.ShowError(WithFullStop(e.what()));
            return ScriptStop::Error;
        }
    }
}

// Executes one command line; returns true when reading goes on, otherwise sets stop.
bool ScriptInterpreter::Execute(const std::string& cmd, ScriptStop& stop) {
    const std::string& line = g_.CurrentLine;
    if (cmd == "position") {
        ReadPosition();
        BoardIdle();
    } else if (cmd == "plays") {
        CmdPlays();
    } else if (cmd == "players") {
        host_.SetLabelText(ScriptLabel::Label6, {});
        host_.SetLabelVisible(ScriptLabel::Label3, true);
        host_.SetLabelText(ScriptLabel::Label3, RestFrom(line, 2));
        LabelIdle();
    } else if (cmd == "rem") {
        host_.AddMemoLine(RestFrom(line, 2));
        BoardIdle();
    } else if (cmd == "ontop") {
        const std::string arg = RestFrom(line, 2);
        if (arg == "white")
            host_.SetBoardWhiteOnTop(true);
        else if (arg == "black")
            host_.SetBoardWhiteOnTop(false);
    } else if (cmd == "back") {
        host_.BoardMoveBack();
    } else if (cmd == "forward") {
        host_.BoardMoveForward();
    } else if (cmd == "popup") {
        g_.OutputToLabel = true;
        g_.OutputToMemo = false;
    } else if (cmd == "memo") {
        g_.OutputToLabel = false;
        g_.OutputToMemo = true;
    } else if (cmd == "both") {
        g_.OutputToLabel = true;
        g_.OutputToMemo = true;
    } else if (cmd == "//") {
        // a comment
    } else if (cmd == "if") {
        CmdIf();
    } else if (cmd == "1-0") {
        CmdResult("Black resigns (1-0)");
    } else if (cmd == "0-1") {
        CmdResult("White resigns (0-1)");
    } else if (cmd == "draw") {
        CmdResult("Draw (1/2)");
    } else if (cmd == "clearscore") {
        ClearScore();
    } else if (cmd == "addpoints") {
        CmdAddPoints();
    } else if (cmd == "m") {
        CmdMove();
        stop = ScriptStop::WaitingForNext;
        return false;
    } else if (cmd == "pause") {
        stop = ScriptStop::WaitingForNext;
        return false;
    } else if (cmd == "*w" || cmd == "*b") {
        UserTurn(cmd == "*w");
        stop = ScriptStop::UserTurn;
        return false;
    } else if (cmd == "end") {
        host_.SetNextEnabled(false);
        stop = ScriptStop::ProblemEnded;
        return false;
    } else if (cmd == "board" || cmd == "struct" || cmd == "quitboard" || cmd == "arrow" ||
               cmd == "circle" || cmd == "square") {
        if (cmd == "struct") g_.StructureOnly = true;
        if (cmd == "quitboard") g_.StructureOnly = false;
        std::vector<std::string> args;
        const int last = cmd == "arrow" ? 4 : (cmd == "circle" || cmd == "square") ? 3 : 1;
        for (int n = 2; n <= last; ++n) {
            std::string w = Word(line, n);
            if (w.empty()) break;
            args.push_back(std::move(w));
        }
        const std::string error = host_.DiagramCommand(cmd, args);
        if (!error.empty()) {
            host_.ShowError(WithFullStop(error));
            stop = ScriptStop::Error;
        } else {
            stop = ScriptStop::WaitingForNext;
        }
        return false;
    } else {
        // Unrecognised (also "#", the next problem's index line, and a word of dots).
        stop = IsIndexLine(line) ? ScriptStop::IndexLine : ScriptStop::WaitingForNext;
        return false;
    }
    return true;
}

void ScriptInterpreter::ReadPosition() {
    // Eight row lines; a short row shifts the squares after it, as the rows are
    // joined as read. The file may end inside the block.
    std::string position;
    std::string row;
    for (int i = 0; i < 8 && g_.ProblemFile.ReadLine(row); ++i) position += RowToPosition(row);
    host_.SetBoardPosition(position);
}

void ScriptInterpreter::CmdPlays() {
    const std::string arg = RestFrom(g_.CurrentLine, 2);
    host_.SetLabelVisible(ScriptLabel::Label2, true);
    if (arg == "white") {
        host_.SetLabelText(ScriptLabel::Label2, "White to play");
        host_.SetBoardWhiteOnTop(false);
        host_.SetBoardWhiteToMove(true);
    } else if (arg == "black") {
        host_.SetLabelText(ScriptLabel::Label2, "Black to play");
        host_.SetBoardWhiteOnTop(true);
        host_.SetBoardWhiteToMove(false);
    }
    BoardIdle();
}

bool ScriptInterpreter::UserTurn(bool whiteAtBottom) {
    host_.ShowYourTurn(true);
    host_.SetBoardEnabled(true);
    host_.SetNextEnabled(false);
    host_.SetBoardBorderColor(BorderWhite);
    std::string error;
    if (!host_.PlayPop(error)) {
        // The turn stands, but the clock does not run and the orientation stays.
        host_.ShowError(
            WithFullStop(error.empty() ? std::string("The sound could not be played") : error));
        return false;
    }
    host_.StartClock();
    host_.SetBoardWhiteOnTop(!whiteAtBottom);
    return true;
}

void ScriptInterpreter::CmdMove() {
    const std::string written = RestFrom(g_.CurrentLine, 2);
    const std::string move = NormaliseMoveText(written, host_.BoardWhiteToMove());
    const auto chars = Utf8Chars(move);
    // A text without two squares (an empty one included) is refused by the board.
    Square from = StrToSquare(SquareText(chars, 0));
    Square to = StrToSquare(SquareText(chars, 2));
    char promotion = 0;
    if (chars.size() == 5 && from != None && to != None) {
        // A promotion letter fits only a pawn that reaches its last rank; on any
        // other move the text names no move and is refused like an illegal one.
        promotion = chars[4][0];
        const std::string position = host_.BoardPosition();
        const char piece = position.size() >= static_cast<std::size_t>(from)
                               ? position[static_cast<std::size_t>(from) - 1]
                               : ' ';
        if (!((piece == 'P' && RankOf(to) == 8) || (piece == 'p' && RankOf(to) == 1))) {
            from = to = None;
            promotion = 0;
        }
    }
    host_.BoardMakeMove(from, to, promotion);
    host_.AuxMakeMove(from, to, promotion);
    host_.SetBoardBorderColor(BorderSilver);
    host_.AddMemoLine(host_.BoardWhiteToMove() ? "...      " + written : written);
}

void ScriptInterpreter::CmdIf() {
    const std::string& line = g_.CurrentLine;
    Square from = None;
    Square to = None;
    if (!ExpectedMove(Word(line, 2), from, to)) return;
    if (from != g_.LastMoveFrom || to != g_.LastMoveTo) return;
    const std::string comment = AfterWord(line, 4);
    const std::string points = Word(line, 4);
    g_.TotalPoints = AddPoints(g_.TotalPoints, StrToInt(points));
    ShowTotal();
    Comment(comment);
    host_.AddMemoLine(points + " point(s).");
}

void ScriptInterpreter::CmdAddPoints() {
    const std::string& line = g_.CurrentLine;
    g_.AddPointsValue = StrToInt(Word(line, 2));
    g_.AddPointsText = RestFrom(line, 3);
    if (host_.AskAddPoints(g_.AddPointsText, g_.AddPointsValue)) g_.AddPointsAccepted = true;
    if (g_.AddPointsAccepted) {
        g_.TotalPoints = AddPoints(g_.TotalPoints, g_.AddPointsValue);
        ShowTotal();
    }
    g_.AddPointsAccepted = false;
}

void ScriptInterpreter::CmdResult(const char* text) {
    Comment(text);
    host_.SetBoardEnabled(true);
    host_.ShowYourTurn(false);
    host_.SetBoardBorderColor(BorderSilver);
}

} // namespace qv
