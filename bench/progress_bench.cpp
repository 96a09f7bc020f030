// Speed of the progress store: recording one attempt into a store that already
// holds a long history, and loading the index marks of a 100,000-problem file
// (reading the file, hashing every problem's script, one query, matching).
#include "progress/core/ProgressReports.h"
#include "progress/store/SqliteProgressStore.h"
#include "script/core/Globales.h"
#include "script/core/ProblemIndex.h"
#include "script/core/ProblemOutline.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

constexpr int Problems = 100000;

qv::Attempt AttemptOn(const std::string& file, int n, const std::string& hash, bool solved,
                      int day) {
    qv::Attempt a;
    a.Problem = {file, std::to_string(n), "Problem number " + std::to_string(n), hash};
    a.StartTime = 1'700'000'000 + static_cast<std::int64_t>(day) * 86400 + n;
    a.Day = 19'000 + day;
    a.ThinkingSeconds = 30;
    a.Points = solved ? 3 : 1;
    a.BestScore = 3;
    a.Tries = 1;
    a.Solved = solved;
    return a;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;
    const std::string file = dir.filePath("large.qvn").toStdString();
    {
        std::ofstream out(file, std::ios::binary);
        for (int n = 1; n <= Problems; ++n)
            out << ".# " << n << " Problem number " << n << "\r\n.position\r\n"
                << "t1adra1t\r\npppp1ppp\r\n11c11c11\r\n1111p11D\r\n11A1P111\r\n11111111\r\n"
                << "PPPP1PPP\r\nTCA1R1CT\r\n.plays white\r\n.*w\r\n.if h5f7 Qxf7 3 Mate.\r\n"
                << ".if c4f7 Bxf7 1 Check.\r\n.back\r\n.m Qh5xf7\r\n.1-0\r\n.end\r\n";
    }

    // The history: every other problem attempted, a fifth of those failed, over 200 days.
    // Written by a store of its own, closed before the measurements as a session ends.
    {
        qv::SqliteProgressStore store({dir.filePath("progress.sqlite").toStdString()});
        qv::Globales g;
        qv::ScanProblemIndex(g, file);
        const auto digests = qv::DigestProblems(g.ProblemFile);
        std::vector<qv::Attempt> history;
        for (int n = 1; n <= Problems; n += 2)
            history.push_back(AttemptOn(
                file, n, digests[static_cast<std::size_t>(n - 1)].ScriptHash, n % 5 != 1, n % 200));
        const auto start = Clock::now();
        if (!store.Record(history)) {
            std::printf("store refused the history: %s\n", store.TakeNotice().c_str());
            return 1;
        }
        std::printf("history: %zu attempts stored in one batch in %.0f ms\n", history.size(),
                    Ms(start));
    }
    qv::SqliteProgressStore store({dir.filePath("progress.sqlite").toStdString()});

    // 1. Recording single attempts, each its own transaction.
    std::vector<double> times;
    std::mt19937 random(7);
    for (int i = 0; i < 500; ++i) {
        const int n = static_cast<int>(random() % Problems) + 1;
        const auto start = Clock::now();
        store.Record(AttemptOn(file, n, "edited", i % 3 != 0, 200 + i / 50));
        times.push_back(Ms(start));
    }
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times) sum += t;
    const auto over = std::count_if(times.begin(), times.end(), [](double t) { return t >= 5; });
    std::printf("record one attempt: mean %.3f ms, median %.3f ms, 95th %.3f ms, max %.3f ms; "
                "%td of %zu at 5 ms or more (goal < 5 ms)\n",
                sum / times.size(), times[times.size() / 2], times[times.size() * 95 / 100],
                times.back(), over, times.size());

    // 2. The index marks of the whole file, best of five.
    double best = 1e9, bestRead = 0, bestDigest = 0, bestQuery = 0, bestMatch = 0;
    std::size_t solved = 0, failed = 0;
    for (int round = 0; round < 5; ++round) {
        const auto t0 = Clock::now();
        qv::Globales g;
        const auto entries = qv::ScanProblemIndex(g, file);
        const double read = Ms(t0);
        const auto t1 = Clock::now();
        const auto digests = qv::DigestProblems(g.ProblemFile);
        const double digest = Ms(t1);
        const auto t2 = Clock::now();
        const auto records = store.MarksOfFile(file);
        const double query = Ms(t2);
        const auto t3 = Clock::now();
        const auto marks = qv::MarkProblems(digests, records);
        solved = failed = 0;
        for (const qv::ProblemMark m : marks) {
            solved += m == qv::ProblemMark::Solved;
            failed += m == qv::ProblemMark::Failed;
        }
        const double match = Ms(t3);
        const double total = digest + query + match;
        if (total < best) {
            best = total;
            bestRead = read;
            bestDigest = digest;
            bestQuery = query;
            bestMatch = match;
        }
        if (entries.size() != static_cast<std::size_t>(Problems)) return 1;
    }
    std::printf("index marks of %d problems: %.1f ms (hash scripts %.1f, query %.1f, match "
                "%.1f; goal < 300 ms); reading the file itself %.1f ms\n",
                Problems, best, bestDigest, bestQuery, bestMatch, bestRead);
    std::printf("marks: %zu solved, %zu failed, %zu untried\n", solved, failed,
                Problems - solved - failed);

    // For qvn stats: the full records of the file.
    const auto tFull = Clock::now();
    const std::size_t full = store.ProblemsOfFile(file).size();
    std::printf("full records of the file (qvn stats): %zu in %.1f ms\n", full, Ms(tFull));

    // 3. Opening the store (checks and migrations) with that history.
    const auto t = Clock::now();
    qv::SqliteProgressStore again({dir.filePath("progress.sqlite").toStdString()});
    std::printf("opening the store with its check: %.1f ms\n", Ms(t));
    return again.IsWritable() ? 0 : 1;
}
