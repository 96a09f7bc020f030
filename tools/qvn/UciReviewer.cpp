// The UCI reviewer of qvn check: two best moves per turn, compared by winning chances.
#include "tools/qvn/UciReviewer.h"

#include "analysis/core/WinningChances.h"

#include <QEventLoop>
#include <QTimer>

namespace qvn {

namespace {

// Time an engine may take past its move time before it counts as hanging.
constexpr int GraceMs = 10000;

bool ReadSquares(const std::string& move, qv::Square& from, qv::Square& to) {
    if (move.size() < 4) return false;
    from = qv::StrToSquare(std::string_view(move).substr(0, 2));
    to = qv::StrToSquare(std::string_view(move).substr(2, 2));
    return from != qv::None && to != qv::None;
}

} // namespace

UciTurnReviewer::UciTurnReviewer(const std::string& program,
                                 const qv::analysis::AnalysisLimits& limits)
    : engine_(QString::fromStdString(program)), limits_(limits) {
    limits_.MultiPv = 2;
}

bool UciTurnReviewer::Analyse(const qv::BoardState& position,
                              std::vector<qv::analysis::AnalysisInfo>& lines) {
    lines.assign(2, {});
    QEventLoop loop;
    bool done = false;
    engine_.OnInfo = [&lines](const qv::analysis::AnalysisInfo& info) {
        if (info.MultiPv >= 1 && info.MultiPv <= 2 && !info.Pv.empty())
            lines[static_cast<std::size_t>(info.MultiPv - 1)] = info;
    };
    engine_.OnFinished = [&](const std::string&) {
        done = true;
        loop.quit();
    };
    engine_.OnError = [&](const std::string& message) {
        error_ = message;
        done = true;
        loop.quit();
    };
    QTimer guard;
    if (limits_.MoveTimeMs > 0) {
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, [&] {
            error_ = engine_.Name() + " gave no best move within " +
                     std::to_string((limits_.MoveTimeMs + GraceMs) / 1000) + " seconds.";
            engine_.Stop();
            done = true;
            loop.quit();
        });
        guard.start(limits_.MoveTimeMs + GraceMs);
    }
    engine_.Start(position, limits_);
    if (!done) loop.exec();
    engine_.OnInfo = nullptr;
    engine_.OnFinished = nullptr;
    engine_.OnError = nullptr;
    if (!error_.empty()) return false;
    // A second line only counts when it reached the depth of the first.
    if (lines[1].Pv.empty() || lines[1].Depth < lines[0].Depth) lines.resize(1);
    if (lines[0].Pv.empty()) lines.clear();
    return true;
}

void UciTurnReviewer::ReviewTurn(const qv::check::TurnContext& turn,
                                 std::vector<std::string>& faults) {
    if (!error_.empty()) return;
    std::vector<qv::analysis::AnalysisInfo> lines;
    if (!Analyse(turn.Position, lines) || lines.size() < 2) return;
    const qv::analysis::AnalysisInfo& best = lines[0];
    const qv::analysis::AnalysisInfo& second = lines[1];
    if (!qv::analysis::AboutAsGood(best.Score, second.Score)) return;

    auto accepted = [&turn](const std::string& move) {
        qv::Square from = qv::None, to = qv::None;
        return ReadSquares(move, from, to) && turn.Answers->PointsFor(from, to) > 0;
    };
    const std::string& a = best.Pv.front();
    const std::string& b = second.Pv.front();
    const bool aAccepted = accepted(a), bAccepted = accepted(b);
    if (aAccepted && bAccepted) return;
    const std::string prefix = "turn " + std::to_string(turn.Turn) + ": ";
    if (aAccepted || bAccepted) {
        faults.push_back(prefix + (aAccepted ? b : a) + " is about as good as the solution " +
                         (aAccepted ? a : b));
        return;
    }
    std::string solution;
    if (const qv::ScriptAnswer* s = turn.Answers->BestAnswer())
        solution = qv::SquareName(s->From) + qv::SquareName(s->To);
    faults.push_back(prefix + a + " and " + b +
                     " are about as good as each other, and no .if line" + " accepts either" +
                     (solution.empty() ? "" : " (the solution is " + solution + ")"));
}

} // namespace qvn
