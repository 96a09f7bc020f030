// What an engine is given and what the user is shown: the position as an engine takes it,
// whether it can be analysed at all, scores and principal lines as text.
#pragma once

#include "analysis/core/AnalysisEngine.h"

#include <string>
#include <vector>

namespace qv::analysis {

// The position as an engine is given it: the same squares and side to move, castling
// rights only where the king and that rook stand on their home squares, and the
// en-passant square only where a pawn of the side that just moved stands in front of it
// with both squares behind empty. (A board keeps whatever rights it was given; an engine
// trusts them and would castle a king that is not there.)
BoardState EnginePosition(const BoardState& b);

// The FEN of EnginePosition(b), with a half-move clock of 0.
std::string EngineFen(const BoardState& b);

// Why no engine can analyse the position, as a sentence for the user ("" when it can): the
// position must be playable (one king per side, the side not to move not in check, no pawn
// on the first or last rank). Engines are not built for other positions and some stop
// working on them.
std::string WhyNotAnalysable(const BoardState& b);

// The built-in search's score (for the side to move; a mate in p plies is 10000 - p,
// being mated in p plies -10000 + p) in engine terms.
EngineScore ScoreFromSearch(int score);

// A score for the user, from White's point of view: pawns with a sign and two decimals
// ("+1.25", "-0.40", "0.00"), or "mate in N" when White mates and "-mate in N" when Black
// does ("mate in 0" or "-mate in 0" when the side to move is mated already).
std::string ScoreText(const EngineScore& score, bool whiteToMove);

// A principal line (coordinate moves) for the user in standard algebraic notation, with
// move numbers from the position's own ("12. e4 e5 13. Nf3", "12... e5 13. Nf3"). The line
// is played out on the position and ends before the first move that is not legal there,
// and after maxMoves moves when maxMoves > 0.
std::string LineText(const BoardState& b, const std::vector<std::string>& pv, int maxMoves = 0);

// One line of qvn analyse: "depth D [multipv K] score cp X|mate N pv MOVE MOVE ...", the
// score from the side to move's point of view as engines give it.
std::string AnalysisLine(const AnalysisInfo& info, bool withMultiPv);

} // namespace qv::analysis
