// Speed of the board's rules: legal-move listing through IsLegalMove over a fixed
// set of middle-game positions, and perft through PlayMove/MoveBack.
#include "board/core/BoardModel.h"
#include "board/core/Perft.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr const char* MiddleGames[] = {
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R w KQ - 3 9",
    "r2q1rk1/pb1nbppp/1p2pn2/2pp4/2PP4/1PN1PN2/PB2BPPP/R2Q1RK1 w - - 2 10",
    "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - - 9 13",
    "r1b2rk1/2q1bppp/p2ppn2/1p6/3BPP2/2NB4/PPPQ2PP/2KR3R w - - 0 13",
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main() {
    // 1. Legal moves of each position by testing all 4096 origin-target pairs.
    long long pairs = 0, legal = 0;
    const int rounds = 200;
    auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < rounds; ++r) {
        for (const char* fen : MiddleGames) {
            qv::BoardModel b;
            b.SetFen(fen);
            for (int o = 1; o <= 64; ++o)
                for (int t = 1; t <= 64; ++t) {
                    ++pairs;
                    legal += b.IsLegalMove(o, t);
                }
        }
    }
    double s = Seconds(start);
    std::printf("IsLegalMove pairs: %lld in %.3f s = %.1f M pairs/s (%lld legal)\n", pairs, s,
                pairs / s / 1e6, legal / rounds);

    // 2. HasLegalMove, the per-move mate/stalemate test.
    std::vector<qv::BoardState> states;
    for (const char* fen : MiddleGames) {
        qv::BoardModel m;
        m.SetFen(fen);
        states.push_back(m.State());
    }
    start = std::chrono::steady_clock::now();
    long long calls = 0, yes = 0;
    for (int r = 0; r < rounds * 100; ++r)
        for (const auto& st : states) {
            ++calls;
            yes += qv::HasLegalMove(st);
        }
    s = Seconds(start);
    std::printf("HasLegalMove: %lld calls in %.3f s = %.2f M calls/s (%lld true)\n", calls, s,
                calls / s / 1e6, yes);

    // 3. Perft through PlayMove and MoveBack.
    struct Case {
        const char* Fen;
        int Depth;
    } cases[] = {{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 5},
                 {MiddleGames[0], 4},
                 {MiddleGames[1], 4}};
    long long leaves = 0;
    start = std::chrono::steady_clock::now();
    for (const auto& c : cases) {
        qv::BoardModel b;
        b.SetFen(c.Fen);
        const auto t0 = std::chrono::steady_clock::now();
        const long long n = qv::Perft(b, c.Depth);
        std::printf("perft %d: %lld leaves in %.3f s\n", c.Depth, n, Seconds(t0));
        leaves += n;
    }
    s = Seconds(start);
    std::printf("perft through PlayMove: %lld leaves in %.3f s = %.2f M leaves/s\n", leaves, s,
                leaves / s / 1e6);
    return 0;
}
