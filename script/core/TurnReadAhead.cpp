// The read-ahead of a turn's .if lines.
#include "script/core/TurnReadAhead.h"

#include "script/core/ScriptInterpreter.h"
#include "script/core/ScriptWords.h"

#include <algorithm>
#include <array>

namespace qv {

int TurnAnswers::PointsFor(Square from, Square to) const {
    int sum = 0;
    for (const ScriptAnswer& a : Lines)
        if (a.From == from && a.To == to) sum = AddPoints(sum, a.Points);
    return sum;
}

int TurnAnswers::BestPoints() const {
    int best = 0;
    for (const ScriptAnswer& a : Lines) best = std::max(best, PointsFor(a.From, a.To));
    return best;
}

bool TurnAnswers::IsBest(Square from, Square to) const {
    return PointsFor(from, to) == BestPoints();
}

bool TurnAnswers::Scores(Square from, Square to) const {
    return PointsFor(from, to) > 0;
}

const ScriptAnswer* TurnAnswers::BestAnswer() const {
    const int best = BestPoints();
    if (best <= 0) return nullptr;
    for (const ScriptAnswer& a : Lines)
        if (PointsFor(a.From, a.To) == best) return &a;
    return nullptr;
}

bool ReadsOn(std::string_view command) {
    static constexpr std::array<std::string_view, 17> readOn = {
        "position", "plays", "players", "rem", "ontop", "back", "forward",    "popup",    "memo",
        "both",     "//",    "if",      "1-0", "0-1",   "draw", "clearscore", "addpoints"};
    return std::find(readOn.begin(), readOn.end(), command) != readOn.end();
}

TurnAnswers ReadTurnAhead(const ProblemTextFile& file, std::size_t first) {
    TurnAnswers turn;
    for (std::size_t i = first; i < file.LineCount(); ++i) {
        const std::string& line = file.Line(i);
        if (line.empty()) continue;
        if (line[0] != '.') break; // a plain line stops the run
        const std::string cmd = CommandWord(line);
        if (!ReadsOn(cmd)) break;
        if (cmd == "position") {
            i += 8; // the row lines are never dispatched
            continue;
        }
        if (cmd != "if") continue;
        ScriptAnswer answer;
        if (!ExpectedMove(Word(line, 2), answer.From, answer.To)) continue;
        try {
            answer.Points = StrToInt(Word(line, 4));
        } catch (const ConvertError&) {
            continue;
        }
        answer.Comment = AfterWord(line, 4);
        answer.Line = i;
        turn.Lines.push_back(std::move(answer));
    }
    return turn;
}

} // namespace qv
