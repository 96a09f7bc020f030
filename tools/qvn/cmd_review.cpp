// qvn review [--db PATH] [--limit K]: the problems due for review today.
#include "tools/qvn/Command.h"
#include "tools/qvn/ProgressOptions.h"

#include "progress/core/Calendar.h"

#include <iostream>

namespace {

int RunReview(const std::vector<std::string>& args) {
    std::string db;
    long long limit = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--db" && hasValue) {
            db = args[++i];
        } else if (args[i] == "--limit" && hasValue) {
            if (!qvn::ParseInt(args[++i], limit) || limit < 1 || limit > 1000000000)
                return qvn::UsageError("review", "--limit takes a positive whole number");
        } else {
            return qvn::UsageError("review", "unexpected argument '" + args[i] + "'");
        }
    }
    qvn::ProgressSession session(db, true);
    const qv::SystemClock clock;
    // FILE<TAB>LABEL<TAB>TITLE, most overdue first.
    for (const qv::ProblemRecord& r :
         session.Store().DueProblems(clock.Today(), static_cast<int>(limit)))
        std::cout << r.Problem.File << '\t' << r.Problem.Label << '\t' << r.Problem.Title << '\n';
    return session.PrintNotice("review") ? qvn::ExitFailure : qvn::ExitOk;
}

qvn::Registrar reg{{"review", "[--db PATH] [--limit K]",
                    "the problems due for review today, most overdue first (FILE, LABEL, TITLE)",
                    RunReview}};

} // namespace
