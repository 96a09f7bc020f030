// qvn bench [DEPTH]: searches the engine's bench positions and ends with the total node
// count and the speed on one line, "total N nodes M nps".
#include "tools/qvn/Command.h"

#include "engine/core/Bench.h"

#include <cstdio>

namespace {

int RunBenchCommand(const std::vector<std::string>& args) {
    long long depth = 0;
    if (args.size() > 1 ||
        (args.size() == 1 && (!qvn::ParseInt(args[0], depth) || depth < 1 || depth > 30)))
        return qvn::UsageError("bench", "expects at most one depth from 1 to 30");
    long long nodes = 0;
    double ms = 0;
    for (const qv::engine::BenchPosition& p : qv::engine::BenchPositions()) {
        const qv::engine::BenchResult r = qv::engine::RunBenchPosition(p, static_cast<int>(depth));
        std::printf("%-16s depth %2d  %-6s %11lld nodes\n", p.Name, r.Depth,
                    r.Found ? qv::engine::MoveText(r.Move).c_str() : "-", r.Nodes);
        nodes += r.Nodes;
        ms += r.Milliseconds;
    }
    std::printf("total %lld nodes %.0f nps\n", nodes, ms > 0 ? nodes * 1000.0 / ms : 0.0);
    return qvn::ExitOk;
}

qvn::Registrar reg{{"bench", "[DEPTH]",
                    "searches the bench positions (each to its own depth, or to DEPTH) and ends "
                    "with \"total N nodes M nps\"",
                    RunBenchCommand}};

} // namespace
