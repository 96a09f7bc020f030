// qvn stats [FILE] [--db PATH]: what the progress store holds, per problem of a
// file or per file.
#include "tools/qvn/Command.h"
#include "tools/qvn/ProgressOptions.h"

#include "progress/core/AttemptRecorder.h"
#include "progress/core/Calendar.h"
#include "progress/core/ProgressReports.h"
#include "script/core/ProblemOutline.h"

#include <iostream>

namespace {

// One line per listed problem with attempts, in file order:
// LABEL<TAB>attempts<TAB>solved<TAB>last-points/best<TAB>due (YYYY-MM-DD or -).
int FileStats(qvn::ProgressSession& session, const std::string& file) {
    qv::ProblemTextFile text;
    try {
        text.Open(file);
    } catch (const qv::FileError& e) {
        std::cerr << "qvn stats: " << file << ": " << e.what() << "\n";
        return qvn::ExitFailure;
    }
    const auto digests = qv::DigestProblems(text);
    const auto records = session.Store().ProblemsOfFile(qv::ProblemFilePath(file));
    const auto matched = qv::MatchRecords(digests, records);
    for (std::size_t i = 0; i < digests.size(); ++i) {
        const qv::ProblemRecord* r = matched[i];
        if (!r) continue;
        std::cout << digests[i].Label << '\t' << r->Attempts << '\t' << r->SolvedAttempts << '\t'
                  << r->LastPoints << '/' << r->LastBest << '\t'
                  << (r->Review.Scheduled ? qv::DayText(r->Review.DueDay) : "-") << '\n';
    }
    return qvn::ExitOk;
}

int RunStats(const std::vector<std::string>& args) {
    std::string file, db;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--db" && i + 1 < args.size())
            db = args[++i];
        else if (args[i].rfind("--", 0) == 0 || !file.empty())
            return qvn::UsageError("stats", "unexpected argument '" + args[i] + "'");
        else
            file = args[i];
    }
    qvn::ProgressSession session(db, true);
    int rc = qvn::ExitOk;
    if (!file.empty()) {
        rc = FileStats(session, file);
    } else {
        // One line per file: PATH<TAB>solved/attempted (problems, by their latest attempt).
        for (const qv::FileRecord& f : session.Store().Files())
            std::cout << f.File << '\t' << f.Solved << '/' << f.Attempted << '\n';
    }
    if (session.PrintNotice("stats")) rc = qvn::ExitFailure;
    return rc;
}

qvn::Registrar reg{{"stats", "[FILE] [--db PATH]",
                    "progress per problem of FILE (LABEL, attempts, solved, last points/best,\n"
                    "      due day), or per file (path, solved/attempted problems)",
                    RunStats}};

} // namespace
