// qvn run FILE [--problem ENTRY] [--moves MOVES] [--tries N] [--accept-points yes|no]
// [--record [--db PATH]]: a headless play-through of one problem, printed as a
// transcript, and with --record kept in the progress store as an attempt.
#include "tools/qvn/Command.h"
#include "tools/qvn/ProgressOptions.h"

#include "progress/core/AttemptRecorder.h"

#include "script/core/Globales.h"
#include "script/core/ProblemFlow.h"
#include "script/core/ScriptWords.h"
#include "script/core/TranscriptHost.h"

#include <iostream>
#include <memory>
#include <sstream>

namespace {

constexpr int MaxPresses = 10000;

std::vector<std::string> SplitMoves(const std::string& text) {
    std::vector<std::string> moves;
    std::stringstream in(text);
    std::string m;
    while (std::getline(in, m, ','))
        if (!m.empty()) moves.push_back(m);
    return moves;
}

// A move of --moves as a drop on the board: "e2e4", or "e7e8q" with a promotion letter.
bool PlayUserMove(qv::BoardModel& board, const std::string& text) {
    if (text.size() != 4 && text.size() != 5) return false;
    const qv::Square from = qv::StrToSquare(text.substr(0, 2));
    const qv::Square to = qv::StrToSquare(text.substr(2, 2));
    if (from == qv::None || to == qv::None || !board.IsLegalMove(from, to)) return false;
    const char saved = board.PromotionPiece;
    if (text.size() == 5) {
        const char p = static_cast<char>(text[4] | 32);
        if (p != 'q' && p != 'r' && p != 'b' && p != 'n') return false;
        board.PromotionPiece = p;
    }
    board.DragFrom = from;
    board.DropTo = to;
    const bool ok = board.MakeMove(from, to);
    board.PromotionPiece = saved;
    return ok;
}

// --tries: a count from 1 up, or "unlimited".
bool ParseTries(const std::string& text, int& tries) {
    if (text == "unlimited") {
        tries = qv::TrainingOptions::UnlimitedTries;
        return true;
    }
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != text.npos)
        return false;
    tries = std::stoi(text);
    return tries >= 1;
}

int RunRun(const std::vector<std::string>& args) {
    std::string file, problem, acceptText = "no";
    qv::TrainingOptions training;
    std::vector<std::string> moves;
    bool haveProblem = false;
    bool record = false;
    std::string db;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--problem" && hasValue) {
            problem = args[++i];
            haveProblem = true;
        } else if (a == "--moves" && hasValue) {
            moves = SplitMoves(args[++i]);
        } else if (a == "--tries" && hasValue) {
            if (!ParseTries(args[++i], training.TriesPerMove))
                return qvn::UsageError("run", "--tries takes a count from 1 to 9999 or unlimited");
        } else if (a == "--accept-points" && hasValue) {
            acceptText = args[++i];
            if (acceptText != "yes" && acceptText != "no")
                return qvn::UsageError("run", "--accept-points takes yes or no");
        } else if (a == "--record") {
            record = true;
        } else if (a == "--db" && hasValue) {
            db = args[++i];
        } else if (a.rfind("--", 0) == 0 || !file.empty()) {
            return qvn::UsageError("run", "unexpected argument '" + a + "'");
        } else {
            file = a;
        }
    }
    if (file.empty()) return qvn::UsageError("run", "expects a problem file");
    if (!db.empty() && !record) return qvn::UsageError("run", "--db goes with --record");

    qv::Globales g;
    qv::TranscriptHost host(std::cout);
    host.AcceptPoints = acceptText == "yes";
    qv::ProblemFlow flow(g, host);
    flow.SetTrainingOptions(training);
    host.Attach(flow);
    std::unique_ptr<qvn::ProgressSession> progress;
    qv::SystemClock clock;
    std::unique_ptr<qv::AttemptRecorder> recorder;
    if (record) {
        progress = std::make_unique<qvn::ProgressSession>(db, false);
        recorder = std::make_unique<qv::AttemptRecorder>(progress->Store(), clock);
        flow.SetPlayListener(recorder.get());
    }

    std::vector<std::string> entries;
    try {
        entries = flow.ReadProblems(file);
    } catch (const qv::FileError& e) {
        std::cerr << "qvn run: " << file << ": " << e.what() << "\n";
        return qvn::ExitFailure;
    }
    // The entry as the list shows it, or its label (word 1); the first by default.
    const std::string* entry = nullptr;
    for (const auto& e : entries)
        if (!haveProblem || e == problem) {
            entry = &e;
            break;
        }
    if (!entry)
        for (const auto& e : entries)
            if (qv::Word(e, 1) == problem) {
                entry = &e;
                break;
            }
    if (!entry) {
        if (haveProblem)
            std::cerr << "qvn run: " << file << ": no problem '" << problem << "'\n";
        else
            std::cerr << "qvn run: " << file << ": the file lists no problems\n";
        return qvn::ExitFailure;
    }

    const bool found = flow.SelectProblem(*entry);
    std::size_t nextMove = 0;
    bool refused = false;
    bool stopped = false;
    for (int presses = 0; found && !stopped && host.NextEnabled() && presses < MaxPresses;
         ++presses) {
        const qv::ScriptStop stop = flow.Next();
        if (stop == qv::ScriptStop::IndexLine) break;
        if (stop != qv::ScriptStop::UserTurn) continue;
        // The moves of --moves are the tries: a wrong one with tries left is taken
        // back and the next one is played at the same turn.
        do {
            if (nextMove >= moves.size()) {
                stopped = true;
                break;
            }
            const std::string& m = moves[nextMove++];
            if (!PlayUserMove(host.Board(), m)) {
                std::cout << "refused: " << m << "\n";
                refused = stopped = true;
                break;
            }
        } while (flow.TakeBackTry());
    }
    std::cout << "position: " << host.Board().Fen() << "\n";
    std::cout << "total: " << g.TotalPoints << "\n";
    if (!found) return qvn::ExitFailure;
    if (recorder) {
        flow.FinishPlay(); // a play that stopped before the problem's end is abandoned
        using Outcome = qv::AttemptRecorder::Outcome;
        progress->PrintNotice("run");
        if (recorder->LastOutcome() == Outcome::NotAttempted)
            std::cerr << "qvn run: nothing recorded: no move was played on a turn\n";
        if (recorder->LastOutcome() == Outcome::NotStored) return qvn::ExitFailure;
    }
    // The play-through stopped short of what was asked: not a success.
    return refused ? qvn::ExitRefused : qvn::ExitOk;
}

qvn::Registrar reg{
    {"run",
     "FILE [--problem ENTRY] [--moves MOVES] [--tries N] [--accept-points yes|no] "
     "[--record [--db PATH]]",
     "plays a problem through without a display and prints what the trainer would show;\n"
     "      --tries gives each turn N tries (or unlimited), --moves supplying them in order;\n"
     "      --record keeps the play-through as an attempt in the progress store",
     RunRun}};

} // namespace
