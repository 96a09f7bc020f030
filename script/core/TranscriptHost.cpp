// The transcript ScriptHost of qvn run.
#include "script/core/TranscriptHost.h"

#include "script/core/ProblemFlow.h"
#include "script/core/ScriptWords.h"

namespace qv {

void TranscriptHost::Attach(ProblemFlow& flow) {
    board_.OnLegalMove = [this, &flow](BoardModel*, Square from, Square to) {
        out_ << "move: " << SquareName(from) << SquareName(to) << "\n";
        flow.BoardLegalMove(from, to);
    };
    board_.OnMate = [&flow](BoardModel*, Square, Square) { flow.BoardMate(); };
    board_.OnDraw = [&flow](BoardModel*) { flow.BoardDraw(); };
}

void TranscriptHost::SetLabelText(ScriptLabel label, const std::string& text) {
    out_ << "label" << static_cast<int>(label) << ":" << (text.empty() ? "" : " ") << text << "\n";
}

void TranscriptHost::AddMemoLine(const std::string& text) {
    out_ << "memo:" << (text.empty() ? "" : " ") << text << "\n";
}

void TranscriptHost::ClearMemo() {
    out_ << "memo-clear\n";
}

bool TranscriptHost::BoardMakeMove(Square from, Square to, char promotion) {
    const char saved = board_.PromotionPiece;
    if (promotion) board_.PromotionPiece = promotion;
    const bool ok = board_.MakeMove(from, to);
    board_.PromotionPiece = saved;
    return ok;
}

void TranscriptHost::AuxMakeMove(Square from, Square to, char promotion) {
    out_ << "aux-move: " << SquareName(from) << SquareName(to);
    if (promotion) out_ << promotion;
    out_ << "\n";
}

void TranscriptHost::ShowYourTurn(bool shown) {
    if (shown) out_ << "turn: " << (board_.WhiteToMove() ? "white" : "black") << "\n";
    yourTurn_ = shown;
}

bool TranscriptHost::AskAddPoints(const std::string& text, int value) {
    out_ << "addpoints: " << value << " " << text << "\n";
    return AcceptPoints;
}

void TranscriptHost::SetPointsDigits(const std::string& digits) {
    if (digits != digits_) out_ << "points: " << digits << "\n";
    digits_ = digits;
}

std::string TranscriptHost::DiagramCommand(const std::string& command,
                                           const std::vector<std::string>& args) {
    out_ << "diagram: " << command;
    for (const auto& a : args) out_ << " " << a;
    out_ << "\n";
    // The squares are read as the diagram window reads them, so a rank that is not
    // a digit gives the same conversion error.
    const std::size_t squares = command == "arrow"                             ? 2
                                : (command == "circle" || command == "square") ? 1
                                                                               : 0;
    try {
        for (std::size_t i = 0; i < squares && i < args.size(); ++i) ParseDiagramSquare(args[i]);
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

void TranscriptHost::ShowError(const std::string& message) {
    out_ << "error: " << message << "\n";
}

void TranscriptHost::ShowInfo(const std::string& text) {
    out_ << "info: " << text << "\n";
}

bool TranscriptHost::TakeBackTry(Square from, Square to) {
    out_ << "retry: " << SquareName(from) << SquareName(to) << "\n";
    return board_.MoveBack();
}

} // namespace qv
