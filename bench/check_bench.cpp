// Speed of qvn check's problem checker on a large file.
//
// Run from a release build: check_bench [COUNT] (default 10,000). Writes a problem file
// of COUNT problems (the bundled samples' five problems over and over, each with a label
// of its own) into a fresh temporary folder, then times reading it and checking every
// problem without the mate search (the play-through and the script checks), and once more
// with the mate search. Prints the milliseconds and the findings counted.
#include "check/core/ProblemChecker.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// The sample file's problems, each as its lines after the index line.
std::vector<std::vector<std::string>> SampleScripts() {
    std::ifstream in(QV_BENCH_DIR "/../samples/first-steps.qvn", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::vector<std::vector<std::string>> scripts;
    std::string line;
    for (std::istringstream lines(bytes.str()); std::getline(lines, line, '\r');) {
        if (!line.empty() && line[0] == '\n') line.erase(0, 1);
        if (line.rfind(".#", 0) == 0)
            scripts.emplace_back();
        else if (!scripts.empty())
            scripts.back().push_back(line);
    }
    return scripts;
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const auto scripts = SampleScripts();
    if (scripts.empty() || count < 1) {
        std::fprintf(stderr, "no sample problems found\n");
        return 2;
    }
    std::random_device rd;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("qv-check-bench-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directory(dir);
    const auto path = (dir / "many.qvn").string();
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < count; ++i) {
            out << ".# " << i + 1 << " Problem " << i + 1 << "\r\n";
            for (const auto& l : scripts[i % scripts.size()]) out << l << "\r\n";
        }
    }
    std::printf("%d problems, %ju bytes\n", count,
                static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
    for (bool mates : {false, true}) {
        qv::check::CheckOptions options;
        options.Mates = mates;
        qv::check::ProblemChecker checker(options);
        const auto t0 = Clock::now();
        checker.Open(path);
        const auto report = checker.Check();
        const auto t1 = Clock::now();
        std::printf("%s: %.1f ms for %d problems, %zu findings\n",
                    mates ? "with the mate search" : "without the mate search", Ms(t0, t1),
                    report.ProblemsChecked, report.Findings.size());
    }
    std::filesystem::remove_all(dir);
    return 0;
}
