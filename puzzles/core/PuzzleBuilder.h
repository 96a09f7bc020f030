// A source record checked against the rules and turned into a puzzle: the
// position the script sets up, the moves it plays, and the answers it accepts
// at each of the player's turns.
#pragma once

#include "board/core/San.h"
#include "puzzles/core/PuzzleRecord.h"

#include <functional>
#include <string>
#include <vector>

namespace qv {

namespace engine {
class MateSolver;
}

// The exact mate solver as the builder uses it: for the other keys of mate puzzles and
// for records that give a mate goal instead of moves.
struct MateSearch {
    // Gives the solver when a search is needed (so that it can be made only then);
    // empty: no solving.
    std::function<engine::MateSolver*()> Solver;
    // Positions the solver may visit for one puzzle's further keys, all its turns
    // together (0: no limit). Past it the keys found so far are still accepted.
    long long MaxNodes = 0;
    // Positions it may visit to prove a goal given without moves (0: no limit).
    long long GoalNodes = 0;
};

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
// ("illegal move 3. Qxf7", "broken FEN: ...", "no solution" ...). With a solver, a
// record that gives a mate goal and no moves is solved: its script plays the main line
// of the key that mates soonest (the first such key in coordinate order; when the
// budget ends the search early, of the keys found by then).
bool BuildPuzzle(const PuzzleRecord& record, Puzzle& puzzle, std::string& reason,
                 const MateSearch& mates = {});

// Widens the answers of the player's turns beyond the moves in the source. Where the
// solution's last move mates, every other mating move there scores too; with a solver,
// at each earlier turn every move that still forces mate in the player's moves left
// (the turn's own included) scores as well. Moves are told apart by origin and target,
// as .if lines are.
void AcceptAlternatives(Puzzle& puzzle, const MateSearch& mates = {});

// The .m text of a legal move: piece letter (none for a pawn), origin, "-" or
// "x", target, "=Q" for a promotion, "0-0"/"0-0-0" for castling, and the SAN's
// check or mate sign.
std::string ScriptMoveText(const BoardState& b, const ChessMove& m, const std::string& san);

} // namespace qv
