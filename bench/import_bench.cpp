// Speed of the puzzle import end to end: Lichess CSV rows read, checked against
// the rules and written as problem scripts, on one core.
//
//   import_bench [ROWS [--no-mates]]  converts ROWS generated rows (default 200000),
//                                  one in ten a mate (two repeated ones), with or
//                                  without the mate solver
//   import_bench --write FILE ROWS writes a CSV of ROWS rows for timing qvn import
//                                  (e.g. /usr/bin/time -v qvn import FILE -o OUT)
//   import_bench --mates [FILE [NODES]]  the cost of the mate solver in the import: the mates of
//                                  FILE (default bench/mate_positions.txt, "N<TAB>FEN" per
//                                  line) as PGN records with their main line, imported
//                                  with and without the solver, then as goal-only records
#include "board/core/BoardModel.h"
#include "board/core/San.h"
#include "engine/core/MateSolver.h"
#include "puzzles/core/PuzzleImport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* Starts[] = {
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R w KQ - 3 9",
    "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - - 9 13",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
};

// Real-looking rows that end in mate, so the search for other mates is timed too.
constexpr const char* MateRows[] = {
    "q3k1nr/1pp1nQpp/3p4/1P2p3/4P3/B1PP1b2/B5PP/5K2 b k - 0 17,e8d7 a2e6 d7d8 f7f8,1760,80,83,72,"
    "mate mateIn2 middlegame short,https://lichess.org/yyznGmXs/black#34,Italian_Game",
    "k7/pp5p/8/8/8/8/8/3RR1K1 b - - 0 30,h7h6 d1d8,900,80,90,10,mate mateIn1 backRank endgame "
    "oneMove,https://lichess.org/abcdefgh#59,",
};

std::string Fen(const qv::BoardState& b) {
    std::string f;
    for (int rank = 8; rank >= 1; --rank) {
        int empty = 0;
        for (int file = 1; file <= 8; ++file) {
            const char c = b.Squares[qv::SquareAt(file, rank)];
            if (c == ' ') {
                ++empty;
                continue;
            }
            if (empty) f += static_cast<char>('0' + empty);
            empty = 0;
            f += c;
        }
        if (empty) f += static_cast<char>('0' + empty);
        if (rank > 1) f += '/';
    }
    f += b.WhiteToMove ? " w " : " b ";
    std::string c;
    if (b.CastlingAllowed & qv::WhiteKingSide) c += 'K';
    if (b.CastlingAllowed & qv::WhiteQueenSide) c += 'Q';
    if (b.CastlingAllowed & qv::BlackKingSide) c += 'k';
    if (b.CastlingAllowed & qv::BlackQueenSide) c += 'q';
    f += c.empty() ? "-" : c;
    f += ' ';
    f += b.EnPassant == qv::None ? std::string("-") : qv::SquareName(b.EnPassant);
    f += " 0 " + std::to_string(b.CurrentMove);
    return f;
}

// Distinct rows made by random play: a position a few moves into a game, then a
// line of four to eight legal moves, as in the real database.
std::vector<std::string> MakeRows(int count) {
    std::mt19937 rng(12345);
    std::vector<std::string> rows;
    while (static_cast<int>(rows.size()) < count) {
        if (rows.size() % 10 == 9) {
            rows.emplace_back(MateRows[rows.size() / 10 % 2]);
            continue;
        }
        qv::BoardState b;
        qv::ParseFen(Starts[rng() % std::size(Starts)], b);
        std::array<qv::ChessMove, 256> moves;
        bool ok = true;
        for (int i = 0, n = 4 + static_cast<int>(rng() % 12); i < n && ok; ++i) {
            const int k = qv::ListLegalMoves(b, moves);
            if (k == 0)
                ok = false;
            else {
                const auto m = moves[rng() % k];
                qv::ApplyMove(b, m.From, m.To, m.Promotion);
            }
        }
        const std::string fen = Fen(b);
        std::string line;
        for (int i = 0, n = 4 + static_cast<int>(rng() % 5); i < n && ok; ++i) {
            const int k = qv::ListLegalMoves(b, moves);
            if (k == 0) break;
            const auto m = moves[rng() % k];
            if (!line.empty()) line += ' ';
            line += qv::CoordinateText(m);
            qv::ApplyMove(b, m.From, m.To, m.Promotion);
        }
        if (!ok || line.empty()) continue;
        rows.push_back(fen + "," + line + "," + std::to_string(800 + rng() % 2000) +
                       ",75,90,500,advantage middlegame long,https://lichess.org/xxxxxxxx#40,");
    }
    return rows;
}

void WriteCsv(std::ostream& out, long total) {
    const auto rows = MakeRows(1000);
    out << "PuzzleId,FEN,Moves,Rating,RatingDeviation,Popularity,NbPlays,Themes,GameUrl,"
           "OpeningTags\n";
    char id[24];
    for (long i = 0; i < total; ++i) {
        std::snprintf(id, sizeof id, "%05lx", i);
        out << id << ',' << rows[static_cast<std::size_t>(i % 1000)] << '\n';
    }
}

// Discards what is written, as fast as possible.
class NullBuffer : public std::streambuf {
protected:
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
    int overflow(int c) override { return c; }
};

// Imports the PGN text with a fresh importer (its solver's table empty): processor
// seconds taken (the machine may be shared), problems imported and further keys found.
struct Run {
    double Cpu = 0;
    long Imported = 0;
    long Extra = 0;
};

Run TimeImport(const std::string& pgn, bool solve, long long nodes) {
    std::istringstream in(pgn);
    NullBuffer sink;
    std::ostream out(&sink);
    qv::ImportOptions options;
    options.Format = qv::PuzzleFormat::Pgn;
    options.SolveMates = solve;
    options.MateNodes = nodes;
    qv::PuzzleImporter importer;
    Run run;
    importer.OnProblem = [&run](const qv::Puzzle& p, const std::string&) {
        for (const auto& step : p.Steps)
            run.Extra += static_cast<long>(step.Accepted.size() - step.FromSource);
    };
    const std::clock_t start = std::clock();
    run.Imported = importer.Run(in, out, options).Imported;
    run.Cpu = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    return run;
}

int MateBench(const std::string& path, long long nodes) {
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    // Records by N: with the main line of the first shortest key, and with the goal only.
    std::vector<std::string> withMoves(5), goalOnly(5);
    std::vector<long> count(5);
    auto solver = std::make_unique<qv::engine::MateSolver>();
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        const int n = line[0] - '0';
        const std::string fen = line.substr(line.find('\t') + 1);
        qv::BoardModel board;
        if (n < 1 || n > 4 || !board.SetFen(fen)) continue;
        const qv::BoardState start = board.State();
        const auto s = solver->Solve(start, n, true);
        const qv::engine::MateKey* key = nullptr;
        for (const auto& k : s.Keys)
            if (!key || k.MateIn < key->MateIn) key = &k;
        if (!key) continue;
        std::string moves;
        qv::BoardState b = start;
        for (const qv::engine::MoveWord w : key->Line) {
            qv::ChessMove m;
            if (!qv::ParseCoordinateMove(b, qv::engine::MoveText(w), m)) break;
            moves += qv::ToSan(b, m) + " ";
            qv::ApplyMove(b, m.From, m.To, m.Promotion);
        }
        const std::string tags = "[FEN \"" + fen + "\"]\n";
        withMoves[n] += tags + "\n" + moves + "*\n\n";
        goalOnly[n] += "[Termination \"mate in " + std::to_string(n) + "\"]\n" + tags + "\n*\n\n";
        ++count[n];
    }
    std::printf("mate puzzles imported (processor time; solver budget %lld nodes per puzzle, "
                "a fresh table per run):\n",
                nodes);
    for (int n = 2; n <= 4; ++n) {
        if (!count[n]) continue;
        const Run plain = TimeImport(withMoves[n], false, nodes);
        const Run solved = TimeImport(withMoves[n], true, nodes);
        const Run goals = TimeImport(goalOnly[n], true, nodes);
        std::printf("  mate in %d: %4ld puzzles; %.3f ms each without the solver, %.3f ms with it "
                    "(%ld more keys and mates accepted); goal only %.3f ms each, %ld solved\n",
                    n, count[n], 1e3 * plain.Cpu / count[n], 1e3 * solved.Cpu / count[n],
                    solved.Extra - plain.Extra, 1e3 * goals.Cpu / count[n], goals.Imported);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--mates")
        return MateBench(argc > 2 ? argv[2] : QV_BENCH_DIR "/mate_positions.txt",
                         argc > 3 ? std::atoll(argv[3]) : qv::ImportOptions::DefaultMateNodes);
    if (argc == 4 && std::string(argv[1]) == "--write") {
        std::ofstream out(argv[2], std::ios::binary);
        WriteCsv(out, std::atol(argv[3]));
        return out ? 0 : 1;
    }
    const long rows = argc > 1 ? std::atol(argv[1]) : 200000;
    std::stringstream csv;
    WriteCsv(csv, rows);
    const std::string text = csv.str();
    std::istringstream in(text);
    NullBuffer sink;
    std::ostream out(&sink);
    qv::ImportOptions options;
    options.Format = qv::PuzzleFormat::Lichess;
    options.SolveMates = !(argc > 2 && std::string(argv[2]) == "--no-mates");
    qv::PuzzleImporter importer;
    long skipped = 0;
    importer.OnSkip = [&](long, const std::string&) { ++skipped; };
    const auto start = std::chrono::steady_clock::now();
    const qv::ImportSummary s = importer.Run(in, out, options);
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("Lichess rows: %ld in %.3f s = %.0f rows/s (%ld imported, %ld skipped, %.1f MB "
                "of CSV)\n",
                s.Records, secs, s.Records / secs, s.Imported, skipped, text.size() / 1e6);
    return 0;
}
