// The play-through driver of the import tests.
#include "tests/puzzles/core/PlayThrough.h"

#include "board/core/San.h"
#include "script/core/Globales.h"
#include "script/core/ProblemFlow.h"
#include "script/core/ScriptWords.h"
#include "script/core/TranscriptHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace qvtest {

namespace {

std::vector<std::string> Lines(const std::string& script) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < script.size()) {
        const std::size_t end = script.find("\r\n", i);
        const std::size_t stop = end == std::string::npos ? script.size() : end;
        lines.push_back(script.substr(i, stop - i));
        i = stop + 2;
    }
    return lines;
}

} // namespace

Imported Import(const std::string& source, qv::ImportOptions options) {
    Imported result;
    std::istringstream in(source);
    std::ostringstream out;
    qv::PuzzleImporter importer;
    importer.OnSkip = [&](long ordinal, const std::string& reason) {
        result.Skipped.emplace_back(ordinal, reason);
    };
    result.Summary = importer.Run(in, out, options);
    result.Script = out.str();
    for (const std::string& line : Lines(result.Script))
        if (qv::IsIndexLine(line)) result.Entries.push_back(qv::IndexEntry(line));
    return result;
}

std::vector<std::vector<std::string>> AcceptedMoves(const std::string& script,
                                                    const std::string& entry) {
    std::vector<std::vector<std::string>> turns;
    bool inProblem = false;
    for (const std::string& line : Lines(script)) {
        if (qv::IsIndexLine(line)) {
            if (inProblem) break;
            inProblem = line == qv::ProblemKey(entry);
            continue;
        }
        if (!inProblem) continue;
        const std::string cmd = qv::CommandWord(line);
        if (cmd == "*w" || cmd == "*b") turns.emplace_back();
        if (cmd == "if" && !turns.empty()) turns.back().push_back(qv::Word(line, 2));
    }
    return turns;
}

int Play(const std::string& script, const std::string& entry,
         const std::vector<std::string>& answers, int& turns) {
    qv::Globales g;
    std::ostringstream transcript;
    qv::TranscriptHost host(transcript);
    qv::ProblemFlow flow(g, host);
    host.Attach(flow);
    g.ProblemFile.OpenFromBytes(script);
    g.ProblemFileOpen = true;
    const auto accepted = AcceptedMoves(script, entry);
    turns = 0;
    if (!flow.SelectProblem(entry)) return -1000;
    for (int presses = 0; host.NextEnabled() && presses < 1000; ++presses) {
        const qv::ScriptStop stop = flow.Next();
        if (stop == qv::ScriptStop::IndexLine) break;
        if (stop != qv::ScriptStop::UserTurn) continue;
        const std::size_t t = static_cast<std::size_t>(turns++);
        std::string move =
            t < answers.size() && !answers[t].empty()
                ? answers[t]
                : (t < accepted.size() && !accepted[t].empty() ? accepted[t][0] : std::string());
        auto& board = host.Board();
        board.DragFrom = qv::StrToSquare(move.substr(0, 2));
        board.DropTo = qv::StrToSquare(move.size() >= 4 ? move.substr(2, 2) : "");
        if (!board.MakeMove(board.DragFrom, board.DropTo)) {
            ADD_FAILURE() << entry << ": the board refuses " << move;
            break;
        }
    }
    return g.TotalPoints;
}

void ExpectEveryProblemScores(const Imported& imported, int points) {
    for (const std::string& entry : imported.Entries) {
        const auto accepted = AcceptedMoves(imported.Script, entry);
        int turns = 0;
        EXPECT_EQ(Play(imported.Script, entry, {}, turns),
                  points * static_cast<int>(accepted.size()))
            << entry;
        EXPECT_EQ(turns, static_cast<int>(accepted.size())) << entry;
        // A wrong first move: any legal move no .if line names at that turn.
        qv::Globales g;
        std::ostringstream sink;
        qv::TranscriptHost host(sink);
        qv::ProblemFlow flow(g, host);
        host.Attach(flow);
        g.ProblemFile.OpenFromBytes(imported.Script);
        g.ProblemFileOpen = true;
        ASSERT_TRUE(flow.SelectProblem(entry));
        while (flow.Next() != qv::ScriptStop::UserTurn && host.NextEnabled()) {
        }
        std::array<qv::ChessMove, 256> moves;
        const int n = qv::ListLegalMoves(host.Board().State(), moves);
        std::string wrong;
        for (int i = 0; i < n && wrong.empty(); ++i) {
            const std::string m = qv::SquareName(moves[i].From) + qv::SquareName(moves[i].To);
            if (std::find(accepted[0].begin(), accepted[0].end(), m) == accepted[0].end())
                wrong = m;
        }
        if (wrong.empty()) continue; // every legal move scores
        EXPECT_LT(Play(imported.Script, entry, {wrong}, turns),
                  points * static_cast<int>(accepted.size()))
            << entry << " answered " << wrong;
    }
}

} // namespace qvtest
