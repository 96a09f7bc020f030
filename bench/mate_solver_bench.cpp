// Speed of the exact mate solver on mates from played games, against an external UCI
// engine asked the same question in the same run.
//
// Run from a release build: mate_solver_bench [POSITIONS] [--engine PATH] [--no-engine].
// POSITIONS holds one "N<TAB>FEN" per line (default bench/mate_positions.txt): the side
// to move mates in N and in no fewer. For every position the solver finds every key of
// a mate in N (the table cleared first, the clearing not timed); the engine (by default
// /usr/games/stockfish, one thread, 16 MB hash) is sent "go mate N" and timed until its
// "bestmove": it stops at the first mate it proves, the solver proves them all. Prints
// per N the count, median, mean and slowest time of both, and lists any position where
// the solver's shortest mate is not N or the engine reports no mate in N.
#include "board/core/BoardModel.h"
#include "engine/core/MateSolver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// A UCI engine on two pipes.
class Engine {
public:
    bool Start(const std::string& path) {
        int toChild[2], fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) return false;
        pid_ = fork();
        if (pid_ < 0) return false;
        if (pid_ == 0) {
            dup2(toChild[0], 0);
            dup2(fromChild[1], 1);
            close(toChild[1]);
            close(fromChild[0]);
            execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        in_ = fdopen(toChild[1], "w");
        out_ = fdopen(fromChild[0], "r");
        Send("uci");
        if (!WaitFor("uciok")) return false;
        Send("setoption name Threads value 1");
        Send("setoption name Hash value 16");
        return Ready();
    }
    ~Engine() {
        if (pid_ > 0) {
            Send("quit");
            fclose(in_);
            fclose(out_);
            waitpid(pid_, nullptr, 0);
        }
    }
    void Send(const std::string& line) {
        std::fputs((line + "\n").c_str(), in_);
        std::fflush(in_);
    }
    // Reads lines until one starts with prefix; the last "score mate" seen is kept.
    bool WaitFor(const char* prefix) {
        char buf[8192];
        while (std::fgets(buf, sizeof buf, out_)) {
            if (const char* m = std::strstr(buf, " score mate ")) lastMate_ = std::atoi(m + 12);
            if (std::strncmp(buf, prefix, std::strlen(prefix)) == 0) return true;
        }
        return false;
    }
    bool Ready() {
        Send("isready");
        return WaitFor("readyok");
    }
    // Milliseconds for "go mate n"; mate receives the mate distance reported (0: none).
    double GoMate(const std::string& fen, int n, int& mate) {
        Send("ucinewgame");
        Send("position fen " + fen);
        Ready();
        lastMate_ = 0;
        const auto t0 = Clock::now();
        Send("go mate " + std::to_string(n));
        WaitFor("bestmove");
        const auto t1 = Clock::now();
        mate = lastMate_;
        return Ms(t0, t1);
    }

private:
    pid_t pid_ = -1;
    FILE* in_ = nullptr;
    FILE* out_ = nullptr;
    int lastMate_ = 0;
};

struct Times {
    std::vector<double> Solver, Engine;
    long long Keys = 0;
    long long Nodes = 0;
    double SolverMs = 0;
};

void Summary(const char* who, std::vector<double> v) {
    if (v.empty()) return;
    std::sort(v.begin(), v.end());
    const double median =
        v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    double sum = 0;
    for (double x : v) sum += x;
    std::printf("  %-10s median %9.3f ms   mean %9.3f ms   slowest %9.3f ms\n", who, median,
                sum / v.size(), v.back());
}

} // namespace

int main(int argc, char** argv) {
    std::string file = QV_BENCH_DIR "/mate_positions.txt";
    std::string enginePath = "/usr/games/stockfish";
    bool useEngine = true;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--engine") && i + 1 < argc)
            enginePath = argv[++i];
        else if (!std::strcmp(argv[i], "--no-engine"))
            useEngine = false;
        else
            file = argv[i];
    }
    std::signal(SIGPIPE, SIG_IGN);
    std::ifstream in(file);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return 2;
    }
    std::unique_ptr<Engine> engine;
    if (useEngine && access(enginePath.c_str(), X_OK) == 0) {
        engine = std::make_unique<Engine>();
        if (!engine->Start(enginePath)) engine.reset();
    }
    if (!engine) std::printf("no engine to compare with\n");

    auto solver = std::make_unique<qv::engine::MateSolver>();
    std::map<int, Times> byN;
    std::string line;
    int problems = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int n = 0;
        fields >> n;
        std::string fen;
        std::getline(fields >> std::ws, fen);
        qv::BoardModel board;
        if (n < 1 || !board.SetFen(fen)) {
            std::fprintf(stderr, "skipped: %s\n", line.c_str());
            continue;
        }
        solver->ClearTable();
        const auto t0 = Clock::now();
        const auto s = solver->Solve(board.State(), n);
        const auto t1 = Clock::now();
        Times& t = byN[n];
        t.Solver.push_back(Ms(t0, t1));
        t.Keys += static_cast<long long>(s.Keys.size());
        t.Nodes += s.Nodes;
        t.SolverMs += Ms(t0, t1);
        if (s.ShortestMate != n)
            std::printf("solver: shortest mate %d, not %d: %s\n", s.ShortestMate, n, fen.c_str());
        if (engine) {
            int mate = 0;
            t.Engine.push_back(engine->GoMate(fen, n, mate));
            if (mate != n) std::printf("engine: mate %d, not %d: %s\n", mate, n, fen.c_str());
        }
        ++problems;
    }
    std::printf("%d positions from %s\n", problems, file.c_str());
    for (const auto& [n, t] : byN) {
        std::printf("mate in %d: %zu positions, %.2f keys each, solver %.0f nodes each, %.1f M "
                    "nodes/s\n",
                    n, t.Solver.size(), static_cast<double>(t.Keys) / t.Solver.size(),
                    static_cast<double>(t.Nodes) / t.Solver.size(),
                    t.SolverMs > 0 ? t.Nodes / t.SolverMs / 1000.0 : 0.0);
        Summary("solver", t.Solver);
        Summary("engine", t.Engine);
    }
    return 0;
}
