// From plays to attempts through a store, and the reports made from the store's summaries.
#include "progress/core/AttemptRecorder.h"
#include "progress/core/ProgressReports.h"
#include "tests/progress/core/FakeClock.h"
#include "tests/script/core/ScriptFixture.h"

#include <filesystem>
#include <sstream>

namespace {

// A store that keeps the attempts it is given, and can be told to refuse them.
class ListStore : public qv::ProgressStore {
public:
    std::vector<qv::Attempt> Stored;
    bool Refuse = false;
    bool Record(const std::vector<qv::Attempt>& a) override {
        if (Refuse) return false;
        Stored.insert(Stored.end(), a.begin(), a.end());
        return true;
    }
    std::vector<qv::ProblemRecord> ProblemsOfFile(const std::string&) override { return {}; }
    std::vector<qv::MarkRecord> MarksOfFile(const std::string&) override { return {}; }
    std::vector<qv::FileRecord> Files() override { return {}; }
    std::vector<qv::ProblemRecord> DueProblems(int, int) override { return {}; }
    std::vector<qv::DayRecord> Days(int) override { return {}; }
    std::vector<qv::Attempt> Attempts() override { return Stored; }
    std::string TakeNotice() override { return {}; }
};

class Recorder : public qvtest::ScriptFixture {
protected:
    ListStore store;
    qvtest::FakeClock clock;
    qv::AttemptRecorder recorder{store, clock};
    Recorder() { flow.SetPlayListener(&recorder); }

    void MateInOne() {
        auto lines = qvtest::ItalianPosition;
        lines.insert(lines.begin(), ".# 1 Mate in one");
        for (const char* l : {".plays white", ".*w", ".if h5f7 Qxf7 3 Mate.",
                              ".if c4f7 Bxf7 1 Check.", ".back", ".m Qh5xf7", ".1-0", ".end"})
            lines.push_back(l);
        std::string bytes;
        for (const auto& l : lines) bytes += l + "\r\n";
        g.ProblemFile.OpenFromBytes(bytes, "sub/../mate.qvn");
        g.ProblemFileOpen = true;
        ASSERT_TRUE(flow.SelectProblem("1 Mate in one"));
    }
    void Answer(const std::string& move) {
        ASSERT_EQ(flow.Next(), qv::ScriptStop::UserTurn);
        clock.Time += 40; // the play's start time is taken at the selection
        ASSERT_TRUE(UserMove(move));
        while (host.NextEnabled) flow.Next();
    }
};

TEST_F(Recorder, AFinishedPlayBecomesAnAttempt) {
    const std::int64_t selected = clock.Time;
    MateInOne();
    Answer("c4f7");
    ASSERT_EQ(store.Stored.size(), 1u);
    const qv::Attempt& a = store.Stored[0];
    EXPECT_EQ(a.Problem.File, (std::filesystem::current_path() / "mate.qvn").string());
    EXPECT_EQ(a.Problem.Label, "1");
    EXPECT_EQ(a.Problem.Title, "Mate in one");
    EXPECT_EQ(a.Problem.ScriptHash, qv::DigestProblems(g.ProblemFile)[0].ScriptHash);
    EXPECT_EQ(a.StartTime, selected);
    EXPECT_EQ(a.Day, qv::DayNumber(2023, 11, 15)); // the local day, not UTC's
    EXPECT_EQ(a.Points, 1);
    EXPECT_EQ(a.BestScore, 3);
    EXPECT_EQ(a.Tries, 1);
    EXPECT_FALSE(a.Solved);
    EXPECT_EQ(recorder.LastOutcome(), qv::AttemptRecorder::Outcome::Recorded);
}

TEST_F(Recorder, OnlyAttemptsAreRecordedAndRefusalsAreReported) {
    MateInOne();
    flow.Next();
    flow.FinishPlay(); // handed over, never answered
    EXPECT_TRUE(store.Stored.empty());
    EXPECT_EQ(recorder.LastOutcome(), qv::AttemptRecorder::Outcome::NotAttempted);

    store.Refuse = true;
    MateInOne();
    Answer("h5f7");
    EXPECT_EQ(recorder.LastOutcome(), qv::AttemptRecorder::Outcome::NotStored);
}

TEST(Reports, MarksMatchLabelTitleAndScriptHash) {
    std::vector<qv::ProblemDigest> digests = {
        {"1 A", "1", "A", "h1"}, {"2 B", "2", "B", "h2"}, {"3 C", "3", "C", "h3"}};
    for (auto& d : digests) d.Key = qv::ProblemIdentityKey(d.Label, d.Title, d.ScriptHash);
    std::vector<qv::ProblemRecord> records(3);
    records[0].Problem = {"f", "1", "A", "h1"};
    records[0].Attempts = 2;
    records[0].LastSolved = true;
    records[1].Problem = {"f", "2", "B", "old"}; // an earlier version of problem 2
    records[1].Attempts = 1;
    records[2].Problem = {"f", "3", "C", "h3"};
    records[2].Attempts = 1;
    const auto matched = qv::MatchRecords(digests, records);
    EXPECT_EQ(qv::MarkOf(matched[0]), qv::ProblemMark::Solved);
    EXPECT_EQ(qv::MarkOf(matched[1]), qv::ProblemMark::Untried);
    EXPECT_EQ(qv::MarkOf(matched[2]), qv::ProblemMark::Failed);

    std::vector<qv::MarkRecord> marks;
    for (const auto& r : records)
        marks.push_back(
            {qv::ProblemIdentityKey(r.Problem.Label, r.Problem.Title, r.Problem.ScriptHash),
             r.LastSolved});
    EXPECT_EQ(
        qv::MarkProblems(digests, marks),
        (std::vector{qv::ProblemMark::Solved, qv::ProblemMark::Untried, qv::ProblemMark::Failed}));
}

TEST(Reports, WeeksEndOnTodayAndKeepEmptyWeeks) {
    const int today = 1000;
    const auto weeks = qv::WeeklyRecords(
        {{970, 9, 9, 90}, {988, 2, 1, 30}, {994, 1, 0, 10}, {1000, 1, 1, 20}}, today, 3);
    ASSERT_EQ(weeks.size(), 3u);
    EXPECT_EQ(weeks[0].FirstDay, 980);
    EXPECT_EQ(weeks[0].Attempts, 0);
    EXPECT_EQ(weeks[1].Attempts, 2); // 988 only; 970 lies before the first week
    EXPECT_DOUBLE_EQ(weeks[1].Accuracy(), 0.5);
    EXPECT_EQ(weeks[2].Attempts, 2);
    EXPECT_DOUBLE_EQ(weeks[2].MeanThinkingSeconds(), 15.0);
}

TEST(Reports, CsvQuotesWhatNeedsIt) {
    qv::Attempt a;
    a.Problem = {"/p/a,b.qvn", "7", "Say \"mate\"", "0123456789abcdef"};
    a.Day = qv::DayNumber(2024, 1, 2);
    a.StartTime = 1704189600;
    a.ThinkingSeconds = 12.5;
    a.Points = 3;
    a.BestScore = 3;
    a.Tries = 1;
    a.Solved = true;
    std::ostringstream out;
    qv::WriteAttemptsCsv(out, {a});
    EXPECT_EQ(out.str(), "file,label,title,script_hash,day,start_time,thinking_seconds,points,"
                         "best_score,tries,hints,solved\n"
                         "\"/p/a,b.qvn\",7,\"Say \"\"mate\"\"\",0123456789abcdef,2024-01-02,"
                         "1704189600,12.50,3,3,1,0,1\n");
}

} // namespace
