// qvn perft FEN DEPTH [--divide] [--engine] [--max-nodes N] [--movetime MS]: leaf counts
// through the board's own rules.
#include "tools/qvn/Command.h"

#include "board/core/BoardModel.h"
#include "board/core/Perft.h"
#include "tools/qvn/PositionArg.h"

#include <chrono>
#include <iostream>
#include <sstream>

namespace qvn {
// Set by the engine's file when the engine is built in; counts through the search's generator.
long long (*EnginePerft)(const std::string& fen, int depth, bool divide, qv::PerftBudget& budget,
                         std::ostream& out) = nullptr;
} // namespace qvn

namespace {

int RunPerft(const std::vector<std::string>& args) {
    std::vector<std::string> plain;
    bool divide = false, engine = false;
    long long maxNodes = 0, maxMs = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--divide") {
            divide = true;
        } else if (a == "--engine") {
            engine = true;
        } else if (a == "--max-nodes" || a == "--movetime") {
            long long limit = 0;
            if (i + 1 >= args.size() || !qvn::ParseInt(args[i + 1], limit) || limit < 1)
                return qvn::UsageError("perft", a + " expects a positive whole number");
            ++i;
            (a == "--max-nodes" ? maxNodes : maxMs) = limit;
        } else if (a.rfind("--", 0) == 0) {
            return qvn::UsageError("perft", "unknown option " + a);
        } else {
            plain.push_back(a);
        }
    }
    long long depth = 0;
    if (plain.size() != 2 || !qvn::ParseInt(plain[1], depth) || depth < 0 || depth > 12)
        return qvn::UsageError("perft", "expects a FEN and a depth from 0 to 12");
    qv::BoardModel board;
    if (!qvn::LoadPlayableFen(board, plain[0], "perft")) return qvn::ExitFailure;
    qv::PerftBudget budget(maxNodes, maxMs);
    // Counted lines are held back until the count is complete: an incomplete count
    // prints nothing on standard output.
    std::ostringstream lines;
    const auto start = std::chrono::steady_clock::now();
    long long total = 0;
    if (engine) {
        if (!qvn::EnginePerft) {
            std::cerr << "qvn perft: this build has no engine\n";
            return qvn::ExitFailure;
        }
        total = qvn::EnginePerft(plain[0], static_cast<int>(depth), divide, budget, lines);
    } else if (divide) {
        for (const auto& [move, count] : qv::PerftDivide(board, static_cast<int>(depth), &budget)) {
            lines << move << ": " << count << "\n";
            total += count;
        }
        lines << "\n";
    } else {
        total = qv::Perft(board, static_cast<int>(depth), &budget);
    }
    if (depth == 0) total = 1; // the position itself, with or without --divide
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::cerr << "time: " << static_cast<long long>(ms) << " ms";
    if (engine && ms > 0)
        std::cerr << ", " << static_cast<long long>(total * 1000.0 / ms) << " leaves/s";
    std::cerr << "\n";
    if (budget.Exhausted()) {
        std::cerr << "qvn perft: the limit was reached after " << budget.Nodes()
                  << " nodes, before the count was complete\n";
        return qvn::ExitLimit;
    }
    std::cout << lines.str() << total << "\n";
    return qvn::ExitOk;
}

qvn::Registrar reg{
    {"perft", "FEN DEPTH [--divide] [--engine] [--max-nodes N] [--movetime MS]",
     "count leaf positions (promotions counted once per piece); --divide per first move;\n"
     "      large depths are slow (each level multiplies the time: depth 7 from the start\n"
     "      takes minutes, 12 centuries): --max-nodes and --movetime stop at a limit, exit 4",
     RunPerft}};

} // namespace
