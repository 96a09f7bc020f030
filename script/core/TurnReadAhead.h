// Reading a turn's scoring lines ahead: which moves the script will reward at
// the player's turn, known as soon as the board is handed over.
#pragma once

#include "board/core/Square.h"
#include "script/core/ProblemTextFile.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// One .if line of a turn, read without being run.
struct ScriptAnswer {
    Square From = None;
    Square To = None;
    int Points = 0;
    std::string Comment;  // what the line would show (the text after its word 4)
    std::size_t Line = 0; // index of the line in the file (0-based)
};

// What the script makes of the player's move at one turn. The .if lines that
// follow a .*w or .*b up to the next stopping command all judge that move; each
// line that names the move adds its points, and a move that no line names earns
// nothing. Lines whose expected move names no two squares, or whose points are
// not a decimal integer, can never award anything and are left out.
class TurnAnswers {
public:
    std::vector<ScriptAnswer> Lines; // in file order

    // The points the move earns: the sum over the lines that name it.
    int PointsFor(Square from, Square to) const;
    // The most any move earns at this turn; 0 when no named move earns more than
    // an unnamed one (no lines, or only lines with points of 0 or less).
    int BestPoints() const;
    // Does the move earn BestPoints()? With BestPoints() 0 every move that earns 0,
    // any unnamed move included, is a best answer.
    bool IsBest(Square from, Square to) const;
    // Does the move earn more than 0 points?
    bool Scores(Square from, Square to) const;
    // The first line that names a move earning BestPoints() > 0 (what a hint
    // points at); nullptr when no move earns anything.
    const ScriptAnswer* BestAnswer() const;
};

// Does the interpreter read on after the command (a command word as CommandWord
// gives it)? False for the stopping commands (.m, .pause, .*w, .*b, .end, the
// diagram commands) and for every command word it does not know.
bool ReadsOn(std::string_view command);

// The turn whose .*w or .*b line ends just before line `first` (the file's read
// position when the interpreter handed the board over): its .if lines from
// `first` up to the next stopping command, the next plain line or the end of the
// file. Nothing is run and the file's read position is not moved; the row lines
// of a .position block are skipped as the interpreter skips them.
TurnAnswers ReadTurnAhead(const ProblemTextFile& file, std::size_t first);

} // namespace qv
