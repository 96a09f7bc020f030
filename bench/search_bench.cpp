// Speed of the computer player's search and of its move generator, over fixed positions.
//
// Run from a release build: search_bench [--quick]. Searches the engine's bench positions
// (engine/core/Bench.cpp) two plies deeper than their signature depth (--quick: at it) and
// prints, per position, the move, nodes (calls of AlphaBeta and QuiescenceSearch),
// milliseconds and nodes per second, the totals per group, the time to find fixed mates,
// and the leaves per second of perft through the search's own generator and PlaySearchMove.
#include "board/core/BoardModel.h"
#include "engine/core/Bench.h"
#include "engine/core/Search.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using qv::engine::Searcher;

// Processor time of this thread in milliseconds. The figures are computed from it, so
// that other programs sharing the processor do not distort them; wall time is shown too.
double CpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

qv::BoardState FromFen(const char* fen) {
    qv::BoardModel board;
    if (!board.SetFen(fen)) std::fprintf(stderr, "bad FEN: %s\n", fen);
    return board.State();
}

struct Totals {
    long long Nodes = 0;
    double Ms = 0;
};

double Nps(long long nodes, double ms) {
    return ms > 0 ? nodes * 1000.0 / ms : 0.0;
}

// Searches the bench positions of one group, each `extra` plies deeper than its own depth.
Totals RunGroup(const char* title, const char* group, int extra) {
    std::printf("\n%s\n", title);
    Totals t;
    for (const qv::engine::BenchPosition& p : qv::engine::BenchPositions()) {
        if (std::strcmp(p.Group, group) != 0) continue;
        auto searcher = std::make_unique<Searcher>();
        const std::atomic<bool> stop{false};
        qv::engine::SearchStats stats;
        const int depth = p.Depth + extra;
        const qv::BoardState position = FromFen(p.Fen);
        const double cpu0 = CpuMs();
        const auto r = searcher->RunSearch(position, depth, stop, &stats);
        const double cpu = CpuMs() - cpu0;
        std::printf(
            "  %-16s depth %2d  %-6s %11lld nodes %9.1f ms cpu %9.1f ms wall %10.0f nodes/s\n",
            p.Name, depth, r.Found ? qv::engine::MoveText(r.Move).c_str() : "-", stats.Nodes, cpu,
            stats.Milliseconds, Nps(stats.Nodes, cpu));
        t.Nodes += stats.Nodes;
        t.Ms += cpu;
    }
    std::printf("  %-16s           %-6s %11lld nodes %9.1f ms cpu %24.0f nodes/s\n", "total", "",
                t.Nodes, t.Ms, Nps(t.Nodes, t.Ms));
    return t;
}

void TimeMate(const char* name, const char* fen, int depth, int repeats) {
    double best = 1e9;
    std::string move;
    long long nodes = 0;
    for (int i = 0; i < repeats; ++i) {
        auto searcher = std::make_unique<Searcher>();
        const std::atomic<bool> stop{false};
        qv::engine::SearchStats stats;
        const qv::BoardState position = FromFen(fen);
        const double cpu0 = CpuMs();
        const auto r = searcher->RunSearch(position, depth, stop, &stats);
        const double cpu = CpuMs() - cpu0;
        if (cpu < best) best = cpu;
        move = r.Found ? qv::engine::MoveText(r.Move) : "-";
        nodes = stats.Nodes;
    }
    std::printf("  %-28s depth %d  %-6s %9lld nodes  best of %d: %.3f ms cpu\n", name, depth,
                move.c_str(), nodes, repeats, best);
}

void TimePerft(const char* name, const char* fen, int depth) {
    auto searcher = std::make_unique<Searcher>();
    searcher->LoadPosition(FromFen(fen));
    const auto start = Clock::now();
    const double cpu0 = CpuMs();
    const long long leaves = searcher->Perft(depth);
    const double cpu = CpuMs() - cpu0;
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("  %-16s depth %d  %11lld leaves %9.1f ms cpu %9.1f ms wall %10.0f leaves/s\n",
                name, depth, leaves, cpu, ms, Nps(leaves, cpu));
}

} // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    const int extra = quick ? 0 : 2;
    std::printf("search_bench%s: nodes are calls of AlphaBeta and QuiescenceSearch\n",
                quick ? " (quick)" : "");
    const Totals opening = RunGroup("Openings", "openings", extra);
    const Totals middle = RunGroup("Middle games with tactics", "middle games", extra);
    const Totals end = RunGroup("Endgames", "endgames", extra);

    std::printf("\nMates\n");
    TimeMate("mate in two (Rd8+ Rxd8 Rxd8#)", "2r3k1/5ppp/8/8/8/8/3R1PPP/3R2K1 w - - 0 1", 3, 20);
    TimeMate("mate in three (three rooks)", "r1r3k1/5ppp/8/8/8/3R4/3R1PPP/3R2K1 w - - 0 1", 5, 10);
    TimeMate("mate in two (queen and knight)",
             "r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1", 3, 20);
    TimeMate("mate in two (queen sacrifice)",
             "r1bq2r1/b4pk1/p1pp1p2/1p2pP2/1P2P1PB/3P4/1PPQ2P1/R3K2R w - - 0 1", 3, 20);
    TimeMate("mate in three (rook lift)", "r5rk/5p1p/5R2/4B3/8/8/7P/7K w - - 0 1", 5, 10);

    std::printf("\nPerft through the search generator\n");
    TimePerft("start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", quick ? 4 : 5);
    TimePerft("kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
              quick ? 3 : 4);
    TimePerft("position 3", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", quick ? 5 : 6);

    const Totals all{opening.Nodes + middle.Nodes + end.Nodes, opening.Ms + middle.Ms + end.Ms};
    std::printf("\nSummary: middle games %.0f nodes/s, all positions %.0f nodes/s\n",
                Nps(middle.Nodes, middle.Ms), Nps(all.Nodes, all.Ms));
    return 0;
}
