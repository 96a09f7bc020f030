// A test fixture that loads a problem file from text and drives the problem flow.
#pragma once

#include "script/core/ProblemFlow.h"
#include "script/core/ScriptWords.h"
#include "tests/script/core/RecordingHost.h"

#include <gtest/gtest.h>

namespace qvtest {

class ScriptFixture : public ::testing::Test {
protected:
    qv::Globales g;
    RecordingHost host;
    qv::ProblemFlow flow{g, host};

    ScriptFixture() { host.Attach(flow); }

    // Loads lines joined with CR LF as the open problem file.
    void Load(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const auto& l : lines) bytes += l + "\r\n";
        LoadBytes(bytes);
    }
    void LoadBytes(const std::string& bytes) {
        g.ProblemFile.OpenFromBytes(bytes);
        g.ProblemFileOpen = true;
    }
    // Loads a problem "1 T" whose script is the given lines, and selects it.
    void Script(std::vector<std::string> lines) {
        lines.insert(lines.begin(), ".# 1 T");
        Load(lines);
        ASSERT_TRUE(flow.SelectProblem("1 T"));
        host.Calls.clear();
        host.Memo.clear();
    }
    // Plays a user's move as a drop on the board would.
    bool UserMove(const std::string& m) {
        return host.Board.MakeMove(qv::StrToSquare(m.substr(0, 2)),
                                   qv::StrToSquare(m.substr(2, 2)));
    }
};

// The worked example's position block.
inline const std::vector<std::string> ItalianPosition = {".position", "t1adra1t", "pppp1ppp",
                                                         "11c11c11",  "1111p11D", "11A1P111",
                                                         "11111111",  "PPPP1PPP", "TCA1R1CT"};

} // namespace qvtest
