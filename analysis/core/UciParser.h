// Reading the lines a UCI engine prints: id, uciok, readyok, info and bestmove.
#pragma once

#include "analysis/core/AnalysisEngine.h"

#include <string>
#include <string_view>

namespace qv::analysis {

// Is the text a move in coordinate form: two squares and an optional promotion letter
// ("e2e4", "e7e8q")? Syntax only.
bool IsCoordinateMove(std::string_view text);

// The first word of a line ("info", "bestmove", "uciok", ...), empty for a blank line.
std::string_view FirstWord(std::string_view line);

// Reads an "info" line that reports a line of play: it needs "depth", an exact score
// ("score cp X" or "score mate N", not a lowerbound or upperbound) and a "pv" of at least
// one move; "multipv" and "nodes" are read when present, other fields are skipped. Returns
// false (leaving out unchanged) for any other line, including malformed numbers.
bool ParseInfoLine(std::string_view line, AnalysisInfo& out);

// Reads "bestmove MOVE [ponder MOVE]": the move, or an empty one for "bestmove (none)" or
// "bestmove 0000". False for any other line.
bool ParseBestMoveLine(std::string_view line, std::string& move);

// Reads "id name NAME": the name (the rest of the line). False for any other line.
bool ParseIdName(std::string_view line, std::string& name);

} // namespace qv::analysis
