// qvn perft FEN DEPTH [--divide] [--engine]: leaf counts through the board's own rules.
#include "tools/qvn/Command.h"

#include "board/core/BoardModel.h"
#include "board/core/Perft.h"
#include "tools/qvn/PositionArg.h"

#include <chrono>
#include <iostream>

namespace qvn {
// Set by the engine's file when the engine is built in; counts through the search's generator.
long long (*EnginePerft)(const std::string& fen, int depth, bool divide,
                         std::ostream& out) = nullptr;
} // namespace qvn

namespace {

int RunPerft(const std::vector<std::string>& args) {
    std::vector<std::string> plain;
    bool divide = false, engine = false;
    for (const auto& a : args) {
        if (a == "--divide")
            divide = true;
        else if (a == "--engine")
            engine = true;
        else if (a.rfind("--", 0) == 0)
            return qvn::UsageError("perft", "unknown option " + a);
        else
            plain.push_back(a);
    }
    long long depth = 0;
    if (plain.size() != 2 || !qvn::ParseInt(plain[1], depth) || depth < 0 || depth > 12)
        return qvn::UsageError("perft", "expects a FEN and a depth from 0 to 12");
    qv::BoardModel board;
    if (!qvn::LoadPlayableFen(board, plain[0], "perft")) return qvn::ExitFailure;
    if (engine) {
        if (!qvn::EnginePerft) {
            std::cerr << "qvn perft: this build has no engine\n";
            return qvn::ExitFailure;
        }
        std::cout << qvn::EnginePerft(plain[0], static_cast<int>(depth), divide, std::cout) << "\n";
        return qvn::ExitOk;
    }
    const auto start = std::chrono::steady_clock::now();
    long long total = 0;
    if (divide) {
        for (const auto& [move, count] : qv::PerftDivide(board, static_cast<int>(depth))) {
            std::cout << move << ": " << count << "\n";
            total += count;
        }
        std::cout << "\n";
    } else {
        total = qv::Perft(board, static_cast<int>(depth));
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::cerr << "time: " << static_cast<long long>(ms) << " ms\n";
    std::cout << total << "\n";
    return qvn::ExitOk;
}

qvn::Registrar reg{
    {"perft", "FEN DEPTH [--divide] [--engine]",
     "count leaf positions (promotions counted once per piece); --divide per first move",
     RunPerft}};

} // namespace
