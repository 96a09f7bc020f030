// The problem checker on a file of problems with one fault each (each fault found, no
// false ones), on the bundled samples, and with its options.
#include "check/core/ProblemChecker.h"
#include "script/core/ProblemTextFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qv::check {
namespace {

std::vector<std::string> Texts(const CheckReport& r) {
    std::vector<std::string> out;
    for (const auto& f : r.Findings) out.push_back(f.Text());
    return out;
}

TEST(ProblemChecker, FindsEachFaultOfTheBrokenFileAndNothingElse) {
    ProblemChecker checker;
    checker.Open(QV_CHECK_DATA "/broken.qvn");
    const CheckReport r = checker.Check();
    EXPECT_EQ(r.ProblemsChecked, 15);
    EXPECT_TRUE(r.Notes.empty());
    const std::vector<std::string> expected = {
        "2: line 31: the position cannot be played: White has 2 kings",
        "3: line 45: the position cannot be played: Black, not to move, is in check",
        "4: line 59: .m e2e5 is not a legal move here",
        "5: line 75: .if e2e5 is not a legal move here",
        "6: line 89: no .if line gives points for this turn",
        "7: no .end: the script runs into the next problem",
        "4: line 105: the label 4 is used before, at line 48",
        "9: line 130: unknown command '.rmk'",
        "10: line 144: .plays takes white or black, not 'White'",
        "10: line 145: 'Z9' is not a square of the diagram (A1 to H8)",
        "10: line 146: 'many' is not a valid integer value",
        "10: line 148: 'x' is not a valid integer value",
        "10: line 149: .if names no move: 'e9e4'",
        "11: c5a7 also mates in 1, but no .if line accepts it",
        "12: at turn 2, c3d2 also mates in 1, but no .if line accepts it",
        "13: d2d8 also mates in 2, but no .if line accepts it",
        "13: line 203: the scripted d2d7 does not force mate in 2",
        "14: line 214: the index line is not written '.# LABEL TITLE' with single spaces, so "
        "the problem cannot be selected",
        "15: no .end: the script runs to the end of the file",
    };
    EXPECT_EQ(Texts(r), expected);

    // One problem by its label; a label used twice checks both.
    EXPECT_EQ(Texts(checker.Check("13")).size(), 2u);
    EXPECT_EQ(checker.Check("4").ProblemsChecked, 2);
    EXPECT_EQ(checker.Check("99").ProblemsChecked, 0);
}

TEST(ProblemChecker, TheSamplesAreSound) {
    ProblemChecker checker;
    checker.Open(QV_SAMPLES "/first-steps.qvn");
    const CheckReport r = checker.Check();
    EXPECT_EQ(r.ProblemsChecked, 5);
    EXPECT_EQ(Texts(r), std::vector<std::string>{});
}

struct RecordingReviewer : TurnReviewer {
    std::vector<std::string> Seen;
    void ReviewTurn(const TurnContext& t, std::vector<std::string>& faults) override {
        Seen.push_back(t.Label + "/" + std::to_string(t.Turn) + "/" +
                       std::to_string(t.Answers->Lines.size()));
        if (t.Label == "2") faults.push_back("a second move is as good");
    }
};

TEST(ProblemChecker, MateTestsCanBeLeftOutAndOtherTurnsGoToTheReviewer) {
    const std::string file = ".# 1 Mate\r\n.position\r\nr1111111\r\n11111111\r\nR1111111\r\n"
                             "11D11111\r\n11111111\r\n11111111\r\n11111111\r\n11111111\r\n"
                             ".plays white\r\n.*w\r\n.if c5c8 Qc8# 2\r\n.end\r\n"
                             ".# 2 Quiet\r\n.position\r\nr1111111\r\n11111111\r\nR1111111\r\n"
                             "11D11111\r\n11111111\r\n11111111\r\n11111111\r\n11111111\r\n"
                             ".plays white\r\n.*w\r\n.if c5b5 Qb5 1\r\n.if c5c6 Qc6 1\r\n.end\r\n";
    RecordingReviewer reviewer;
    CheckOptions options;
    options.Mates = false;
    options.Reviewer = &reviewer;
    ProblemChecker checker(options);
    checker.OpenFromBytes(file);
    EXPECT_EQ(checker.Entries(), (std::vector<std::string>{"1 Mate", "2 Quiet"}));
    const CheckReport r = checker.Check();
    // No cook report without the mate test; the mate problem is not the reviewer's.
    EXPECT_EQ(Texts(r), std::vector<std::string>{"2: line 26: a second move is as good"});
    EXPECT_EQ(reviewer.Seen, std::vector<std::string>{"2/1/2"});

    CheckOptions withMates;
    ProblemChecker full(withMates);
    full.OpenFromBytes(file);
    EXPECT_EQ(full.Check("1").Findings.size(), 2u); // Qa7# and Qf8# are not accepted
}

TEST(ProblemChecker, AFileThatCannotBeReadRaises) {
    ProblemChecker checker;
    EXPECT_THROW(checker.Open(QV_CHECK_DATA "/no-such-file.qvn"), FileError);
}

} // namespace
} // namespace qv::check
