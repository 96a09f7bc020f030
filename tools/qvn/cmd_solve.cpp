// qvn solve FEN N [--lines]: every key of a mate in at most N moves, proven exactly.
#include "tools/qvn/Command.h"

#include "board/core/BoardModel.h"
#include "engine/core/MateSolver.h"
#include "tools/qvn/PositionArg.h"

#include <iostream>
#include <memory>

namespace {

int RunSolve(const std::vector<std::string>& args) {
    std::vector<std::string> plain;
    bool lines = false;
    for (const auto& a : args) {
        if (a == "--lines")
            lines = true;
        else if (a.rfind("--", 0) == 0)
            return qvn::UsageError("solve", "unknown option '" + a + "'");
        else
            plain.push_back(a);
    }
    if (plain.size() != 2) return qvn::UsageError("solve", "expects a FEN (quoted) and N");
    long long n = 0;
    if (!qvn::ParseInt(plain[1], n) || n < 1 || n > qv::engine::MateSolver::MaxMoves)
        return qvn::UsageError("solve", "N must be a whole number from 1 to " +
                                            std::to_string(qv::engine::MateSolver::MaxMoves));
    qv::BoardModel board;
    if (!qvn::LoadPlayableFen(board, plain[0], "solve")) return qvn::ExitFailure;
    auto solver = std::make_unique<qv::engine::MateSolver>();
    const auto solution = solver->Solve(board.State(), static_cast<int>(n), lines);
    if (!solution.Complete) {
        std::cerr << "qvn solve: the proof needs deeper tables than the solver has\n";
        return qvn::ExitFailure;
    }
    for (const auto& key : solution.Keys) {
        std::cout << qv::engine::MoveText(key.Move);
        for (std::size_t i = 1; i < key.Line.size(); ++i)
            std::cout << ' ' << qv::engine::MoveText(key.Line[i]);
        std::cout << "\n";
    }
    return qvn::ExitOk;
}

qvn::Registrar reg{{"solve", "FEN N [--lines]",
                    "every first move that forces mate in at most N moves, one per line, "
                    "sorted;\n      --lines adds each key's main line (the longest defence)",
                    RunSolve}};

} // namespace
