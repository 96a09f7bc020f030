// The problem checker: a static pass over each script, a play-through with the
// trainer's problem flow, and the mate tests on the positions of the player's turns.
#include "check/core/ProblemChecker.h"

#include "board/core/Playable.h"
#include "engine/core/MateSolver.h"
#include "script/core/Globales.h"
#include "script/core/ProblemFlow.h"
#include "script/core/ScriptInterpreter.h"
#include "script/core/ScriptWords.h"
#include "script/core/TranscriptHost.h"

#include <algorithm>
#include <ostream>
#include <unordered_map>

namespace qv::check {

namespace {

constexpr int MaxPresses = 10000;

// Every command word the interpreter acts on.
bool IsKnownCommand(std::string_view cmd) {
    static constexpr std::string_view Known[] = {
        "position", "plays",      "players",   "rem",       "ontop", "back",   "forward",
        "popup",    "memo",       "both",      "//",        "if",    "1-0",    "0-1",
        "draw",     "clearscore", "addpoints", "m",         "pause", "*w",     "*b",
        "end",      "board",      "struct",    "quitboard", "arrow", "circle", "square"};
    return std::find(std::begin(Known), std::end(Known), cmd) != std::end(Known);
}

std::string SquaresText(Square from, Square to) {
    return SquareName(from) + SquareName(to);
}

struct NullOutput {
    std::ostream Out{nullptr}; // discards everything written to it
};

// The trainer's side of a play-through, silent, noting the script moves the board
// refuses and the errors the interpreter would show.
class CheckHost : private NullOutput, public TranscriptHost {
public:
    explicit CheckHost(const Globales& g) : TranscriptHost(NullOutput::Out), g_(g) {}

    struct Noted {
        std::size_t Line; // 1-based
        std::string Text;
    };
    std::vector<Noted> Refused; // .m lines with the move text
    std::vector<Noted> Errors;

    bool BoardMakeMove(Square from, Square to, char promotion) override {
        const bool ok = TranscriptHost::BoardMakeMove(from, to, promotion);
        if (!ok) Refused.push_back({g_.ProblemFile.Position(), RestFrom(g_.CurrentLine, 2)});
        return ok;
    }
    void ShowError(const std::string& message) override {
        Errors.push_back({g_.ProblemFile.Position(), message});
    }

private:
    const Globales& g_;
};

struct ProblemRef {
    std::string Entry;
    std::string Label;
    std::size_t IndexLine = 0; // 0-based
    std::size_t EndLine = 0;   // the next index line or the line count
};

// A turn as the play-through met it.
struct TurnRecord {
    BoardState Position;
    TurnAnswers Answers;
    std::size_t Line = 0; // of the .*w / .*b line, 1-based
    Square From = None;   // the answer played
    Square To = None;
    bool Mates = false; // the answer mated
};

bool SideToMoveIsMated(const BoardState& b) {
    const int colour = b.WhiteToMove ? WhiteColor : BlackColor;
    return KingAttacked(b, colour, 1, 1) && !HasLegalMove(b);
}

std::string TurnPrefix(int turn) {
    return turn > 1 ? "at turn " + std::to_string(turn) + ", " : std::string();
}

} // namespace

std::string Finding::Text() const {
    std::string s = Label + ": ";
    if (Line) s += "line " + std::to_string(Line) + ": ";
    return s + What;
}

struct ProblemChecker::Impl {
    CheckOptions Options;
    Globales G;
    CheckHost Host{G};
    ProblemFlow Flow{G, Host};
    std::unique_ptr<engine::MateSolver> Solver;
    std::vector<ProblemRef> Problems;
    std::vector<std::string> EntryList;
    std::unordered_map<std::string, std::size_t> FirstKeyLine; // index line text -> first line

    CheckReport* Report = nullptr;
    const ProblemRef* Current = nullptr;

    Impl() { Host.Attach(Flow); }

    void Index() {
        G.ProblemFileOpen = true;
        Problems.clear();
        EntryList.clear();
        FirstKeyLine.clear();
        const ProblemTextFile& f = G.ProblemFile;
        for (std::size_t i = 0; i < f.LineCount(); ++i) {
            const std::string& line = f.Line(i);
            if (!IsIndexLine(line)) continue;
            if (!Problems.empty()) Problems.back().EndLine = i;
            ProblemRef p;
            p.Entry = IndexEntry(line);
            p.Label = Word(p.Entry, 1);
            p.IndexLine = i;
            Problems.push_back(std::move(p));
            EntryList.push_back(Problems.back().Entry);
            FirstKeyLine.emplace(line, i);
        }
        if (!Problems.empty()) Problems.back().EndLine = f.LineCount();
    }

    void Add(std::size_t line, std::string what) {
        Report->Findings.push_back({Current->Label, line, std::move(what)});
    }

    void CheckSquareWord(std::size_t line, const std::string& word) {
        try {
            const DiagramSquare sq = ParseDiagramSquare(word);
            if (!sq.Valid || sq.Rank < 1 || sq.Rank > 8)
                Add(line, "'" + word + "' is not a square of the diagram (A1 to H8)");
        } catch (const ConvertError& e) {
            Add(line, e.what());
        }
    }

    void CheckInteger(std::size_t line, const std::string& word) {
        try {
            StrToInt(word);
        } catch (const ConvertError& e) {
            Add(line, e.what());
        }
    }

    // Faults that need no board: unknown commands, arguments that cannot be converted,
    // the problem's end.
    void StaticChecks(const ProblemRef& p) {
        const ProblemTextFile& f = G.ProblemFile;
        bool ended = false;
        for (std::size_t i = p.IndexLine + 1; i < p.EndLine && !ended; ++i) {
            const std::string& line = f.Line(i);
            if (line.empty() || line[0] != '.') continue;
            const std::size_t n = i + 1;
            const std::string cmd = CommandWord(line);
            if (cmd == "position") {
                if (i + 8 >= p.EndLine)
                    Add(n, ".position is followed by fewer than eight row lines");
                i += 8;
            } else if (cmd == "end") {
                ended = true;
            } else if (!IsKnownCommand(cmd)) {
                Add(n, "unknown command '" + Word(line, 1) + "'");
            } else if (cmd == "if") {
                Square from = None, to = None;
                if (!ExpectedMove(Word(line, 2), from, to))
                    Add(n, ".if names no move: '" + Word(line, 2) + "'");
                CheckInteger(n, Word(line, 4));
            } else if (cmd == "addpoints") {
                CheckInteger(n, Word(line, 2));
            } else if (cmd == "arrow") {
                CheckSquareWord(n, Word(line, 2));
                CheckSquareWord(n, Word(line, 3));
            } else if (cmd == "circle" || cmd == "square") {
                CheckSquareWord(n, Word(line, 2));
            } else if (cmd == "plays" || cmd == "ontop") {
                const std::string arg = RestFrom(line, 2);
                if (arg != "white" && arg != "black")
                    Add(n, "." + cmd + " takes white or black, not '" + arg + "'");
            }
        }
        if (!ended)
            Add(0, p.EndLine < f.LineCount() ? "no .end: the script runs into the next problem"
                                             : "no .end: the script runs to the end of the file");
    }

    // Plays the problem through as the trainer would; returns the turns met.
    std::vector<TurnRecord> PlayThrough(const ProblemRef& p) {
        std::vector<TurnRecord> turns;
        Host.Refused.clear();
        Host.Errors.clear();
        if (!Flow.SelectProblemAt(p.Entry, FirstKeyLine.at(ProblemKey(p.Entry)))) return turns;
        BoardModel& board = Host.Board();
        std::vector<std::string> positionFaults;
        for (int presses = 0; Host.NextEnabled() && presses < MaxPresses; ++presses) {
            const ScriptStop stop = Flow.Next();
            if (stop == ScriptStop::IndexLine || stop == ScriptStop::EndOfFile ||
                stop == ScriptStop::ProblemEnded)
                break;
            if (stop != ScriptStop::UserTurn || !Flow.CurrentPlay()) continue;
            TurnRecord t;
            t.Position = board.State();
            t.Answers = Flow.CurrentPlay()->Turns.back().Answers;
            t.Line = G.ProblemFile.Position();
            if (const auto why = WhyNotPlayable(t.Position)) {
                if (std::find(positionFaults.begin(), positionFaults.end(), *why) ==
                    positionFaults.end()) {
                    positionFaults.push_back(*why);
                    Add(t.Line, "the position cannot be played: " + *why);
                }
            }
            for (const ScriptAnswer& a : t.Answers.Lines)
                if (!board.IsLegalMove(a.From, a.To))
                    Add(a.Line + 1,
                        ".if " + SquaresText(a.From, a.To) + " is not a legal move here");
            const ScriptAnswer* best = t.Answers.BestAnswer();
            if (!best) {
                Add(t.Line, "no .if line gives points for this turn");
                break; // no answer to play on with
            }
            board.DragFrom = best->From;
            board.DropTo = best->To;
            if (!board.MakeMove(best->From, best->To)) break; // reported above
            t.From = best->From;
            t.To = best->To;
            t.Mates = SideToMoveIsMated(board.State());
            turns.push_back(std::move(t));
        }
        Flow.FinishPlay();
        for (const auto& r : Host.Refused)
            Add(r.Line, ".m " + r.Text + " is not a legal move here");
        for (const auto& e : Host.Errors)
            if (e.Text.find("is not a valid integer value") == std::string::npos)
                Add(e.Line, e.Text); // conversion errors are reported by the static pass
        return turns;
    }

    // The mate tests: the scripted answers must force mate in the moves left, and every
    // other move that does must be accepted.
    void MateChecks(const std::vector<TurnRecord>& turns) {
        if (!Solver) Solver = std::make_unique<engine::MateSolver>();
        const int n = static_cast<int>(turns.size());
        for (int k = 0; k < n; ++k) {
            const TurnRecord& t = turns[k];
            const int left = n - k;
            engine::MateLimits limits;
            limits.MaxNodes = Options.MaxNodes;
            const engine::MateSolution s = Solver->Solve(t.Position, left, false, limits);
            if (!s.Complete) {
                Report->Notes.push_back(Current->Label + ": " + TurnPrefix(k + 1) + "the mate in " +
                                        std::to_string(left) +
                                        " was not decided within the search budget");
                continue;
            }
            bool scriptedMates = false;
            for (const auto& key : s.Keys) {
                const Square from = static_cast<Square>(engine::MoveOrigin(key.Move) + 1);
                const Square to = static_cast<Square>(engine::MoveTarget(key.Move) + 1);
                if (from == t.From && to == t.To) {
                    scriptedMates = true;
                    continue;
                }
                if (t.Answers.Scores(from, to)) {
                    if (k == 0 && Options.ReportAcceptedCooks)
                        Add(0, "cook: " + engine::MoveText(key.Move) + " also mates in " +
                                   std::to_string(key.MateIn) + " (an .if line accepts it)");
                    continue;
                }
                bool named = false;
                for (const auto& a : t.Answers.Lines)
                    named = named || (a.From == from && a.To == to);
                std::string what = TurnPrefix(k + 1) + engine::MoveText(key.Move) +
                                   " also mates in " + std::to_string(key.MateIn) + ", but ";
                what += named ? "its .if line gives " +
                                    std::to_string(t.Answers.PointsFor(from, to)) + " points"
                              : "no .if line accepts it";
                Add(0, what);
            }
            if (!scriptedMates)
                Add(t.Line, "the scripted " + SquaresText(t.From, t.To) +
                                " does not force mate in " + std::to_string(left));
        }
    }

    void CheckProblem(const ProblemRef& p) {
        Current = &p;
        StaticChecks(p);
        const auto key = FirstKeyLine.find(ProblemKey(p.Entry));
        if (key == FirstKeyLine.end()) {
            Add(p.IndexLine + 1, "the index line is not written '.# LABEL TITLE' with single "
                                 "spaces, so the problem cannot be selected");
            return;
        }
        if (key->second != p.IndexLine) {
            Add(p.IndexLine + 1, "line " + std::to_string(key->second + 1) +
                                     " has the same index line, so this problem cannot be "
                                     "selected");
            return;
        }
        const std::vector<TurnRecord> turns = PlayThrough(p);
        if (!turns.empty() && turns.back().Mates) {
            if (Options.Mates) MateChecks(turns);
        } else if (Options.Reviewer) {
            for (std::size_t k = 0; k < turns.size(); ++k) {
                TurnContext c{p.Label, static_cast<int>(k + 1), turns[k].Position,
                              &turns[k].Answers};
                std::vector<std::string> faults;
                Options.Reviewer->ReviewTurn(c, faults);
                for (auto& f : faults) Add(turns[k].Line, std::move(f));
            }
        }
    }
};

ProblemChecker::ProblemChecker(CheckOptions options) : impl_(std::make_unique<Impl>()) {
    impl_->Options = options;
}

ProblemChecker::~ProblemChecker() = default;

void ProblemChecker::Open(const std::string& path) {
    impl_->G.ProblemFileOpen = false;
    impl_->G.ProblemFile.Open(path);
    impl_->Index();
}

void ProblemChecker::OpenFromBytes(const std::string& bytes, const std::string& name) {
    impl_->G.ProblemFile.OpenFromBytes(bytes, name);
    impl_->Index();
}

const std::vector<std::string>& ProblemChecker::Entries() const {
    return impl_->EntryList;
}

CheckReport ProblemChecker::Check(const std::string& only) {
    CheckReport report;
    Impl& d = *impl_;
    d.Report = &report;
    std::unordered_map<std::string, std::size_t> labels; // label -> its first index line
    for (const ProblemRef& p : d.Problems) {
        const auto [first, isNew] = labels.emplace(p.Label, p.IndexLine);
        const bool chosen = only.empty() || p.Entry == only || p.Label == only;
        if (!chosen) continue;
        d.Current = &p;
        if (!isNew)
            d.Add(p.IndexLine + 1, "the label " + p.Label + " is used before, at line " +
                                       std::to_string(first->second + 1));
        d.CheckProblem(p);
        ++report.ProblemsChecked;
    }
    d.Report = nullptr;
    d.Current = nullptr;
    return report;
}

} // namespace qv::check
