// qvn search FEN DEPTH [--stats]: the computer player's move for a position, alone on the last
// line.
#include "tools/qvn/Command.h"

#include "board/core/BoardModel.h"
#include "engine/core/Search.h"
#include "tools/qvn/PositionArg.h"

#include <atomic>
#include <cstdio>
#include <iostream>
#include <memory>

namespace {

int RunSearchCommand(const std::vector<std::string>& args) {
    std::vector<std::string> plain;
    bool stats = false;
    for (const auto& a : args) {
        if (a == "--stats")
            stats = true;
        else if (a.rfind("--", 0) == 0)
            return qvn::UsageError("search", "unknown option " + a);
        else
            plain.push_back(a);
    }
    long long depth = 0;
    if (plain.size() != 2 || !qvn::ParseInt(plain[1], depth) || depth < 1 || depth > 30)
        return qvn::UsageError("search", "expects a FEN and a depth from 1 to 30");
    qv::BoardModel board;
    if (!qvn::LoadPlayableFen(board, plain[0], "search")) return qvn::ExitFailure;
    auto searcher = std::make_unique<qv::engine::Searcher>();
    const std::atomic<bool> stop{false};
    qv::engine::SearchStats searchStats;
    if (stats) {
        searchStats.OnIteration = [](const qv::engine::IterationStats& it) {
            const double nps = it.Milliseconds > 0 ? it.Nodes * 1000.0 / it.Milliseconds : 0.0;
            char line[160];
            std::snprintf(line, sizeof line, "depth %d nodes %lld ms %.1f nps %.0f score %d",
                          it.Depth, it.Nodes, it.Milliseconds, nps, it.Score);
            std::cout << line << std::endl;
        };
    }
    const qv::engine::SearchResult result =
        searcher->RunSearch(board.State(), static_cast<int>(depth), stop, &searchStats);
    if (!result.Found) {
        std::cerr << "qvn search: the side to move has no legal move\n";
        std::cout << "(none)\n";
        return qvn::ExitOk;
    }
    std::cout << qv::engine::MoveText(result.Move) << "\n";
    return qvn::ExitOk;
}

qvn::Registrar reg{
    {"search", "FEN DEPTH [--stats]",
     "the computer player's best move at a fixed depth; --stats adds one line per iteration",
     RunSearchCommand}};

} // namespace
