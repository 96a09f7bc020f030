// Gives qvn perft --engine its counter: leaf counts through the search's own generator.
#include "tools/qvn/Command.h"

#include "board/core/BoardModel.h"
#include "engine/core/Search.h"

#include <iostream>
#include <memory>

namespace qvn {
extern long long (*EnginePerft)(const std::string& fen, int depth, bool divide,
                                qv::PerftBudget& budget, std::ostream& out);
}

namespace {

long long CountThroughEngine(const std::string& fen, int depth, bool divide,
                             qv::PerftBudget& budget, std::ostream& out) {
    qv::BoardModel board;
    if (!board.SetFen(fen)) return 0;
    auto searcher = std::make_unique<qv::engine::Searcher>();
    searcher->LoadPosition(board.State());
    long long total = 0;
    if (divide) {
        for (const auto& [move, count] : searcher->PerftDivide(depth, &budget)) {
            out << qv::engine::MoveText(move) << ": " << count << "\n";
            total += count;
        }
        out << "\n";
    } else {
        total = searcher->Perft(depth, &budget);
    }
    return total;
}

// Installs the counter while the command table is being built; cmd_perft reads the
// pointer only when it runs, after every static object exists.
struct InstallEnginePerft {
    InstallEnginePerft() { qvn::EnginePerft = &CountThroughEngine; }
};
const InstallEnginePerft install;

} // namespace
