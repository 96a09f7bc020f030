// FEN and the board's rules: the first line is a FEN, every later byte picks a legal move
// to play (or, for 0xFF, takes one back). Checks that reading what the board writes gives
// the same FEN, that the legal moves are those of the exhaustive test, and that the
// board's rules and the engine's generator count the same moves in playable positions.
#include "board/core/Perft.h"
#include "board/core/Playable.h"
#include "engine/core/Search.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void CheckPosition(qv::BoardModel& board, qv::engine::Searcher& searcher) {
    const std::string fen = board.Fen();
    qv::BoardModel copy;
    Check(copy.SetFen(fen));
    Check(copy.Fen() == fen);
    long long pairs = 0;
    for (int o = 1; o <= 64; ++o)
        for (int t = 1; t <= 64; ++t) pairs += board.IsLegalMove(o, t);
    qv::LegalMoveList moves;
    const int n = qv::GenerateLegalMoves(board.State(), moves);
    Check(board.ThreefoldRepetition() ? pairs == 0 : n == pairs);
    if (!board.ThreefoldRepetition() && !qv::WhyNotPlayable(board.State())) {
        searcher.LoadPosition(board.State());
        Check(searcher.Perft(1) == qv::Perft(board, 1));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t eol = text.find('\n');
    qv::BoardModel board;
    if (!board.SetFen(text.substr(0, eol))) return 0;
    static auto searcher = std::make_unique<qv::engine::Searcher>();
    CheckPosition(board, *searcher);
    if (eol == std::string::npos) return 0;
    for (std::size_t i = eol + 1; i < text.size() && i < eol + 40; ++i) {
        const auto pick = static_cast<unsigned char>(text[i]);
        if (pick == 0xFF) {
            board.MoveBack();
        } else {
            qv::LegalMoveList moves;
            const int n = qv::GenerateLegalMoves(board.State(), moves);
            if (n == 0) break;
            const qv::SimpleMove m = moves[static_cast<std::size_t>(pick % n)];
            board.PromotionPiece = "qrbn"[pick % 4];
            board.PlayMove(m.From, m.To);
        }
        CheckPosition(board, *searcher);
    }
    return 0;
}
