// The search: iterative deepening, alpha-beta with a check extension and quiescence.
#include "engine/core/Searcher.h"

#include <chrono>

namespace qv::engine {

namespace {

constexpr int Mate = Searcher::ScoreLimit;

// The move of the previous iteration's principal line is tried first.
constexpr int PrincipalBonus = 10000000;

} // namespace

std::string MoveText(MoveWord m) {
    const int from = MoveOrigin(m), to = MoveTarget(m);
    std::string text = SquareName(from + 1) + SquareName(to + 1);
    static constexpr char Letters[5] = {'\0', 'n', 'b', 'r', 'q'};
    const int promo = MovePromotion(m);
    if (promo >= 1 && promo <= 4) text += Letters[promo];
    return text;
}

void Searcher::LoadPosition(std::string_view position, bool whiteToMove, CastleSet castling,
                            Square enPassant) {
    SearchBoard::LoadPosition(position, whiteToMove, castling, enPassant);
    moves_.Clear();
}

void Searcher::LoadPosition(const BoardState& position) {
    SearchBoard::LoadPosition(position);
    moves_.Clear();
}

void Searcher::BoostPrincipalMove() {
    followPrincipal_ = false;
    // Origin and target alone identify the move of the previous iteration's line.
    const MoveWord wanted = pv_[0][ply_] & 0xFFFF;
    const int end = moves_.ListEnd(ply_);
    for (int i = moves_.ListBegin(ply_); i < end; ++i) {
        if ((moves_.ListMove(i) & 0xFFFF) == wanted) {
            moves_.AddToScore(i, PrincipalBonus);
            followPrincipal_ = true;
            return;
        }
    }
}

inline void Searcher::TakePrincipalLine(MoveWord move) {
    const int p = ply_;
    pv_[p][p] = move;
    const int length = pvLength_[p + 1];
    for (int j = p + 1; j < length; ++j) pv_[p][j] = pv_[p + 1][j];
    pvLength_[p] = length;
}

int Searcher::AlphaBeta(int alpha, int beta, int depth) {
    ++nodes_;
    if (stop_->load(std::memory_order_relaxed)) return 0;
    if (depth == 0) return QuiescenceSearch(alpha, beta);
    pvLength_[ply_] = ply_;
    if (AtLimit()) return Evaluate();
    const bool inCheck = SideInCheck(side_);
    if (inCheck) ++depth;
    GenerateAllMoves();
    if (followPrincipal_) BoostPrincipalMove();
    bool legal = false;
    const int end = moves_.ListEnd(ply_);
    for (int i = moves_.ListBegin(ply_); i < end; ++i) {
        if (stop_->load(std::memory_order_relaxed)) break;
        PickBestMove(i);
        const MoveWord move = moves_.ListMove(i);
        if (!PlaySearchMove(move)) continue;
        legal = true;
        if (ply_ == 1 && !rootHasMove_) {
            rootHasMove_ = true;
            firstRootMove_ = move;
        }
        const int score = -AlphaBeta(-beta, -alpha, depth - 1);
        UndoSearchMove();
        if (score > alpha) {
            moves_.RaiseHistory(MoveOrigin(move), MoveTarget(move), depth);
            if (score >= beta) return beta;
            alpha = score;
            TakePrincipalLine(move);
        }
    }
    if (!legal) return inCheck ? -Mate + ply_ : 0;
    return alpha;
}

int Searcher::QuiescenceSearch(int alpha, int beta) {
    ++nodes_;
    pvLength_[ply_] = ply_;
    if (AtLimit()) return Evaluate();
    const bool inCheck = SideInCheck(side_);
    if (inCheck) {
        GenerateAllMoves(); // every evasion, no standing pat while in check
    } else {
        const int standPat = Evaluate();
        if (standPat >= beta) return beta;
        if (standPat > alpha) alpha = standPat;
        GenerateQuiescenceMoves();
    }
    if (followPrincipal_) BoostPrincipalMove();
    bool legal = false;
    const int end = moves_.ListEnd(ply_);
    for (int i = moves_.ListBegin(ply_); i < end; ++i) {
        PickBestMove(i);
        const MoveWord move = moves_.ListMove(i);
        if (!PlaySearchMove(move)) continue;
        legal = true;
        const int score = -QuiescenceSearch(-beta, -alpha);
        UndoSearchMove();
        if (score > alpha) {
            if (score >= beta) return beta;
            alpha = score;
            TakePrincipalLine(move);
        }
    }
    if (!legal && inCheck) return -Mate + ply_;
    return alpha;
}

SearchResult Searcher::RunSearch(const BoardState& position, int depth,
                                 const std::atomic<bool>& stop, SearchStats* stats) {
    return RunSearch(position.PositionView(), position.WhiteToMove, position.CastlingAllowed,
                     position.EnPassant, depth, stop, stats);
}

SearchResult Searcher::RunSearch(std::string_view position, bool whiteToMove, CastleSet castling,
                                 Square enPassant, int depth, const std::atomic<bool>& stop,
                                 SearchStats* stats) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto elapsed = [&] {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    LoadPosition(position, whiteToMove, castling, enPassant);
    PrepareEvaluation();
    moves_.ClearHistory();
    nodes_ = 0;
    stop_ = &stop;
    if (depth < 1) depth = 1;
    if (depth > MaxPly - 1) depth = MaxPly - 1;

    SearchResult result;
    for (int d = 1; d <= depth; ++d) {
        if (stop.load(std::memory_order_relaxed)) break;
        followPrincipal_ = true;
        rootHasMove_ = false;
        const int score = AlphaBeta(-Mate, Mate, d);
        if (stop.load(std::memory_order_relaxed)) break;
        result.CompletedDepth = d;
        result.Score = score;
        if (stats && stats->OnIteration) stats->OnIteration({d, nodes_, elapsed(), score});
    }
    result.Stopped = stop.load(std::memory_order_relaxed);
    stop_ = nullptr;
    // Without a line at the root (every move scored at the bottom of the window) the
    // first legal move tried stands, as it would for any tie.
    result.Move = pvLength_[0] > 0 ? pv_[0][0] : firstRootMove_;
    result.Found = !result.Stopped && result.CompletedDepth > 0 && rootHasMove_;
    if (result.Found) {
        result.From = static_cast<Square>(MoveOrigin(result.Move) + 1);
        result.To = static_cast<Square>(MoveTarget(result.Move) + 1);
        static constexpr char Letters[5] = {'\0', 'n', 'b', 'r', 'q'};
        const int promo = MovePromotion(result.Move);
        result.Promotion = (promo >= 1 && promo <= 4) ? Letters[promo] : '\0';
    }
    if (stats) {
        stats->Nodes = nodes_;
        stats->Milliseconds = elapsed();
    }
    return result;
}

} // namespace qv::engine
