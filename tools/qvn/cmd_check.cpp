// qvn check FILE [--problem ENTRY] [--no-mates]: the faults of a problem file, one per
// line, each starting with the problem's label.
#include "tools/qvn/Command.h"

#include "check/core/ProblemChecker.h"
#include "script/core/ProblemTextFile.h"

#include <iostream>

namespace {

constexpr int ExitFindings = 3;

int RunCheck(const std::vector<std::string>& args) {
    std::string file, problem;
    bool haveProblem = false;
    qv::check::CheckOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--problem" && i + 1 < args.size()) {
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
    return report.Findings.empty() ? qvn::ExitOk : ExitFindings;
}

qvn::Registrar reg{{"check", "FILE [--problem ENTRY] [--no-mates]",
                    "the faults of a problem file, one per line starting with the problem's "
                    "label\n      (exit 3 when there are any); --no-mates skips the mate search",
                    RunCheck}};

} // namespace
