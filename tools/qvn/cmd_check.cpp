// qvn check FILE [--problem ENTRY] [--no-mates] [--uci PATH [--movetime MS | --depth D]]:
// the faults of a problem file, one per line, each starting with the problem's label.
#include "tools/qvn/Command.h"
#include "tools/qvn/UciReviewer.h"

#include "check/core/ProblemChecker.h"
#include "script/core/ProblemTextFile.h"

#include <QCoreApplication>

#include <iostream>
#include <memory>

namespace {

constexpr int ExitFindings = 3;
constexpr int DefaultMoveTimeMs = 1000; // per turn, for --uci

int RunCheck(const std::vector<std::string>& args) {
    std::string file, problem;
    bool haveProblem = false;
    qv::check::CheckOptions options;
    std::string uci;
    qv::analysis::AnalysisLimits limits;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--uci") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return qvn::UsageError("check", "--uci expects the engine's program");
            uci = args[++i];
        } else if (a == "--movetime" || a == "--depth") {
            long long value = 0;
            if (i + 1 >= args.size() || !qvn::ParseInt(args[i + 1], value) || value < 1 ||
                value > (a == "--depth" ? 500 : 3600LL * 1000))
                return qvn::UsageError("check", a + " expects a positive whole number");
            ++i;
            (a == "--depth" ? limits.Depth : limits.MoveTimeMs) = static_cast<int>(value);
        } else if (a == "--problem" && i + 1 < args.size()) {
            problem = args[++i];
            haveProblem = true;
        } else if (a == "--no-mates") {
            options.Mates = false;
        } else if (a.rfind("--", 0) == 0 || !file.empty()) {
            return qvn::UsageError("check", "unexpected argument '" + a + "'");
        } else {
            file = a;
        }
    }
    if (file.empty()) return qvn::UsageError("check", "expects a problem file");
    if (haveProblem && problem.empty()) return qvn::UsageError("check", "--problem needs an entry");
    if ((limits.Depth > 0 || limits.MoveTimeMs > 0) && uci.empty())
        return qvn::UsageError("check", "--movetime and --depth go with --uci");
    if (limits.Depth > 0 && limits.MoveTimeMs > 0)
        return qvn::UsageError("check", "--depth and --movetime exclude each other");
    if (limits.Depth == 0 && limits.MoveTimeMs == 0) limits.MoveTimeMs = DefaultMoveTimeMs;

    // --uci: the engine judges the turns of problems that do not end in mate.
    int argc = 1;
    char name[] = "qvn";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    std::unique_ptr<qvn::UciTurnReviewer> reviewer;
    if (!uci.empty()) {
        if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv);
        reviewer = std::make_unique<qvn::UciTurnReviewer>(uci, limits);
    }
    options.Reviewer = reviewer.get();

    qv::check::ProblemChecker checker(options);
    try {
        checker.Open(file);
    } catch (const qv::FileError& e) {
        std::cerr << "qvn check: " << file << ": " << e.what() << "\n";
        return qvn::ExitFailure;
    }
    const qv::check::CheckReport report = checker.Check(problem);
    if (haveProblem && report.ProblemsChecked == 0) {
        std::cerr << "qvn check: " << file << ": no problem '" << problem << "'\n";
        return qvn::ExitFailure;
    }
    for (const auto& f : report.Findings) std::cout << f.Text() << "\n";
    for (const auto& note : report.Notes) std::cerr << "qvn check: " << note << "\n";
    if (reviewer && !reviewer->Error().empty()) {
        std::cerr << "qvn check: " << reviewer->Error() << "\n";
        return qvn::ExitFailure;
    }
    return report.Findings.empty() ? qvn::ExitOk : ExitFindings;
}

qvn::Registrar reg{
    {"check", "FILE [--problem ENTRY] [--no-mates] [--uci PATH [--movetime MS | --depth D]]",
     "the faults of a problem file, one per line starting with the problem's label\n"
     "      (exit 3 when there are any); --no-mates skips the mate search; --uci asks a UCI\n"
     "      engine for two best moves per turn of problems that do not end in mate (1000 ms\n"
     "      each unless --movetime or --depth says otherwise)",
     RunCheck}};

} // namespace
