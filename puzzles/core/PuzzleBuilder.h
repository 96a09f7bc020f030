// A source record checked against the rules and turned into a puzzle: the
// position the script sets up, the moves it plays, and the answers it accepts
// at each of the player's turns.
#pragma once

#include "board/core/San.h"
#include "puzzles/core/PuzzleRecord.h"

#include <string>
#include <vector>

namespace qv {

// A move with the texts the script needs.
struct PuzzleMove {
    ChessMove Move;
    std::string San;        // "Nxf7+": written in the .if lines
    std::string ScriptText; // "Ng5xf7+": what .m plays and shows
};

// One step of the script: a move the script plays (the opponent's, or a lead-in
// before the player's first turn), or a player's turn.
struct PuzzleStep {
    enum Kind { LeadIn, Opponent, Player } Role = Opponent;
    PuzzleMove Move; // for a player's turn: the solution (none when
                     // the record only names moves to avoid)
    bool HasMove = true;
    std::vector<PuzzleMove> Accepted;  // player's turn: every move that scores, solution first
    std::size_t FromSource = 0;        // how many of them the source named; the rest are
                                       // further mates found here
    std::vector<std::string> Avoided;  // player's turn: SAN of the moves to avoid
    std::vector<std::string> Comments; // shown after the step
};

struct Puzzle {
    long Label = 0;
    std::string Title;
    std::string Players;
    BoardState Start; // the position the script sets up, side to move included
    bool PlayerIsWhite = true;
    std::vector<std::string> Intro;
    std::vector<PuzzleStep> Steps;
};

// Builds the puzzle of a record, or returns false with the reason to skip it
// ("illegal move 3. Qxf7", "broken FEN: ...", "no solution" ...).
bool BuildPuzzle(const PuzzleRecord& record, Puzzle& puzzle, std::string& reason);

// Widens the answers of the player's turns beyond the moves in the source. Today:
// where the solution's last move mates, every other mating move there scores
// too. A mate solver can add every key of each turn here.
void AcceptAlternatives(Puzzle& puzzle);

// The .m text of a legal move: piece letter (none for a pawn), origin, "-" or
// "x", target, "=Q" for a promotion, "0-0"/"0-0-0" for castling, and the SAN's
// check or mate sign.
std::string ScriptMoveText(const BoardState& b, const ChessMove& m, const std::string& san);

} // namespace qv
