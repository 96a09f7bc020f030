// qvn analyse FEN [--depth D | --movetime MS] [--uci PATH] [--multipv K]: an engine's analysis
// of a position, one line per completed depth, then the best move.
#include "tools/qvn/Command.h"
#include "tools/qvn/PositionArg.h"

#include "analysis/core/AnalysisText.h"
#include "analysis/engines/BuiltinEngine.h"
#include "analysis/engines/UciEngine.h"
#include "board/core/BoardModel.h"

#include <QCoreApplication>

#include <iostream>
#include <memory>

namespace {

constexpr int DefaultDepth = 6;

int RunAnalyse(const std::vector<std::string>& args) {
    std::vector<std::string> plain;
    qv::analysis::AnalysisLimits limits;
    std::string uci;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--depth" || a == "--movetime" || a == "--multipv") {
            long long value = 0;
            if (i + 1 >= args.size() || !qvn::ParseInt(args[i + 1], value) || value < 1 ||
                value > (a == "--movetime" ? 24LL * 3600 * 1000 : 500))
                return qvn::UsageError("analyse", a + " expects a positive whole number");
            ++i;
            if (a == "--depth")
                limits.Depth = static_cast<int>(value);
            else if (a == "--movetime")
                limits.MoveTimeMs = static_cast<int>(value);
            else
                limits.MultiPv = static_cast<int>(value);
        } else if (a == "--uci") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return qvn::UsageError("analyse", "--uci expects the engine's program");
            uci = args[++i];
        } else if (a.rfind("--", 0) == 0) {
            return qvn::UsageError("analyse", "unknown option " + a);
        } else {
            plain.push_back(a);
        }
    }
    if (plain.size() != 1) return qvn::UsageError("analyse", "expects one FEN");
    if (limits.Depth > 0 && limits.MoveTimeMs > 0)
        return qvn::UsageError("analyse", "--depth and --movetime exclude each other");
    if (limits.Depth == 0 && limits.MoveTimeMs == 0) limits.Depth = DefaultDepth;
    if (uci.empty() && limits.Depth > 63)
        return qvn::UsageError("analyse", "the built-in engine searches at most 63 plies deep");
    if (uci.empty() && limits.MultiPv > 1)
        return qvn::UsageError("analyse",
                               "the built-in engine finds one line: --multipv needs --uci");

    qv::BoardModel board;
    if (!qvn::LoadPlayableFen(board, plain[0], "analyse")) return qvn::ExitFailure;
    const qv::BoardState position = board.State();

    int argc = 1;
    char name[] = "qvn";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv);

    std::unique_ptr<qv::analysis::AnalysisEngine> engine;
    if (uci.empty())
        engine = std::make_unique<qv::analysis::BuiltinEngine>();
    else
        engine = std::make_unique<qv::analysis::UciEngine>(QString::fromStdString(uci));
    int exitCode = qvn::ExitOk;
    const bool multi = limits.MultiPv > 1;
    engine->OnInfo = [multi](const qv::analysis::AnalysisInfo& info) {
        std::cout << qv::analysis::AnalysisLine(info, multi) << std::endl;
    };
    engine->OnFinished = [&](const std::string& best) {
        std::cout << "bestmove " << (best.empty() ? "(none)" : best) << std::endl;
        if (best.empty() && qv::HasLegalMove(position)) {
            std::cerr << "qvn analyse: the time ran out before depth 1 was complete\n";
            exitCode = qvn::ExitLimit;
        }
        QCoreApplication::exit(0);
    };
    engine->OnError = [&](const std::string& message) {
        std::cerr << "qvn analyse: " << message << "\n";
        exitCode = qvn::ExitFailure;
        QCoreApplication::exit(0);
    };
    engine->Start(position, limits);
    QCoreApplication::exec();
    engine.reset();
    return exitCode;
}

qvn::Registrar reg{
    {"analyse", "FEN [--depth D | --movetime MS] [--uci PATH] [--multipv K]",
     "an engine's analysis: one line per completed depth, then the best move (built-in engine\n"
     "      unless --uci names a UCI engine; depth 6 when no limit is given)",
     RunAnalyse}};

} // namespace
