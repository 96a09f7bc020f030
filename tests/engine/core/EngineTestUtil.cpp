// Helpers shared by the engine tests.
#include "tests/engine/core/EngineTestUtil.h"

#include "board/core/BoardModel.h"

#include <gtest/gtest.h>

namespace qv::engine::test {

BoardState FromFen(std::string_view fen) {
    BoardModel board;
    std::string error;
    EXPECT_TRUE(board.SetFen(fen, &error)) << fen << ": " << error;
    return board.State();
}

std::unique_ptr<Searcher> LoadedSearcher(std::string_view fen) {
    auto s = std::make_unique<Searcher>();
    s->LoadPosition(FromFen(fen));
    return s;
}

MoveWord FindMove(const Searcher& s, std::string_view text) {
    for (int i = s.ListBegin(); i < s.ListEnd(); ++i)
        if (MoveText(s.ListMove(i)) == text) return s.ListMove(i);
    return 0;
}

} // namespace qv::engine::test
