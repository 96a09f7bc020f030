// Helpers shared by the engine tests: positions from FEN, moves from text.
#pragma once

#include "board/core/Rules.h"
#include "engine/core/Search.h"

#include <memory>
#include <string>
#include <string_view>

namespace qv::engine::test {

// The position of a FEN text; the test fails when it cannot be read.
BoardState FromFen(std::string_view fen);

// A fresh searcher (on the heap: its tables are large) loaded with a FEN position.
std::unique_ptr<Searcher> LoadedSearcher(std::string_view fen);

// The generated move of the current ply written as text ("e2e4", "a7a8q"), or 0 if absent.
MoveWord FindMove(const Searcher& s, std::string_view text);

inline constexpr const char* StartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
inline constexpr const char* KiwipeteFen =
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";

} // namespace qv::engine::test
