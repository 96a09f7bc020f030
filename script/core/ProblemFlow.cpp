// Selecting a problem, Next, and the end of a move on the main board.
#include "script/core/ProblemFlow.h"

#include "script/core/ProblemIndex.h"

namespace qv {

std::string ProblemNotFoundMessage(const std::string& entry) {
    return "The problem \"" + entry + "\" was not found in the problem file.";
}

std::vector<std::string> ProblemFlow::ReadProblems(const std::string& path) {
    return ScanProblemIndex(g_, path);
}

bool ProblemFlow::SelectProblem(const std::string& entry) {
    host_.ClearMemo();
    host_.SetLabelText(ScriptLabel::Label2, {});
    host_.SetLabelText(ScriptLabel::Label6, {});
    host_.BoardNewGame();
    interp_.ClearScore();
    if (!g_.ProblemFileOpen || !SeekProblem(g_, entry)) {
        // Running from a wrong place would be worse than not running at all.
        g_.ProblemTitle = entry;
        host_.SetNextEnabled(false);
        host_.ShowError(ProblemNotFoundMessage(entry));
        return false;
    }
    host_.AddMemoLine(g_.ProblemTitle);
    host_.SetNextEnabled(true);
    return true;
}

ScriptStop ProblemFlow::Next() {
    if (!g_.ProblemFileOpen) return ScriptStop::NotOpen;
    return interp_.RunScript();
}

void ProblemFlow::BoardLegalMove(Square from, Square to) {
    host_.SetNextEnabled(true);
    host_.SetBoardEnabled(false);
    host_.ShowYourTurn(false);
    host_.SetBoardBorderColor(BorderSilver);
    g_.LastMoveFrom = from;
    g_.LastMoveTo = to;
    host_.StopClock();
}

void ProblemFlow::BoardMate() {
    host_.ShowInfo("Check Mate");
}

void ProblemFlow::BoardDraw() {
    host_.ShowInfo("Draw");
}

} // namespace qv
