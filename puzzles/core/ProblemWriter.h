// A puzzle written as a problem script that uses only the trainer's commands.
#pragma once

#include "puzzles/core/PuzzleBuilder.h"

#include <string>

namespace qv {

// Appends the script of a puzzle to out, each line ended by CR LF:
//   .# LABEL Title
//   .position + eight rows, .plays white|black, .players, .rem (comments)
//   .m for each lead-in (then .plays again for the player's side)
//   per player's turn: .*w or .*b, an .if line for each accepted move (points
//   each), .back, .m with the solution (or .rem naming the moves to avoid)
//   .m for each reply of the opponent, .rem for the comments after a move
//   .end
void WriteProblem(const Puzzle& puzzle, int points, std::string& out);

} // namespace qv
