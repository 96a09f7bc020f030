// qvn legal FEN: every legal move of the side to move, sorted.
#include "tools/qvn/Command.h"

#include "board/core/BoardModel.h"
#include "tools/qvn/PositionArg.h"

#include <algorithm>
#include <iostream>

namespace {

int RunLegal(const std::vector<std::string>& args) {
    if (args.size() != 1) return qvn::UsageError("legal", "expects one FEN (quote it)");
    qv::BoardModel board;
    if (!qvn::LoadPlayableFen(board, args[0], "legal")) return qvn::ExitFailure;
    std::vector<std::string> moves;
    for (int o = 1; o <= 64; ++o)
        for (int t = 1; t <= 64; ++t)
            if (board.IsLegalMove(o, t)) moves.push_back(qv::SquareName(o) + qv::SquareName(t));
    std::sort(moves.begin(), moves.end());
    for (const auto& m : moves) std::cout << m << "\n";
    return qvn::ExitOk;
}

qvn::Registrar reg{
    {"legal", "FEN", "every legal move of the side to move, one per line, sorted", RunLegal}};

} // namespace
