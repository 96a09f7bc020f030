// The search: iterative deepening, alpha-beta with a check extension and quiescence.
#include "engine/core/Searcher.h"

#include <algorithm>
#include <chrono>
#include <limits>

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
    CountNode();
    if (halted_ || stop_->load(std::memory_order_relaxed)) return 0;
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
        if (halted_ || stop_->load(std::memory_order_relaxed)) break;
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
        if (halted_) break; // the score of an interrupted subtree means nothing
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
    CountNode();
    if (halted_) return 0;
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
        if (halted_) break;
        if (score > alpha) {
            if (score >= beta) return beta;
            alpha = score;
            TakePrincipalLine(move);
        }
    }
    if (!legal && inCheck) return -Mate + ply_;
    return alpha;
}

double Searcher::NowMs() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

void Searcher::CheckBudget() {
    nextCheck_ = nodes_ + BudgetInterval;
    if (budget_.MaxNodes > 0) {
        if (nodes_ >= budget_.MaxNodes) halted_ = true;
        nextCheck_ = std::min(nextCheck_, budget_.MaxNodes); // stop at exactly MaxNodes
    }
    if (budget_.MaxMilliseconds > 0 && NowMs() - startMs_ >= budget_.MaxMilliseconds)
        halted_ = true;
    if (budget_.StopInQuiescence && stop_->load(std::memory_order_relaxed)) halted_ = true;
}

SearchResult Searcher::RunSearch(const BoardState& position, int depth,
                                 const std::atomic<bool>& stop, SearchStats* stats,
                                 const SearchBudget& budget) {
    return RunSearch(position.PositionView(), position.WhiteToMove, position.CastlingAllowed,
                     position.EnPassant, depth, stop, stats, budget);
}

SearchResult Searcher::RunSearch(std::string_view position, bool whiteToMove, CastleSet castling,
                                 Square enPassant, int depth, const std::atomic<bool>& stop,
                                 SearchStats* stats, const SearchBudget& budget) {
    startMs_ = NowMs();
    auto elapsed = [&] { return NowMs() - startMs_; };
    LoadPosition(position, whiteToMove, castling, enPassant);
    PrepareEvaluation();
    moves_.ClearHistory();
    nodes_ = 0;
    stop_ = &stop;
    budget_ = budget;
    halted_ = false;
    nextCheck_ = budget.Any() ? BudgetInterval : std::numeric_limits<long long>::max();
    if (budget.MaxNodes > 0) nextCheck_ = std::min(nextCheck_, budget.MaxNodes);
    if (depth < 1) depth = 1;
    if (depth > MaxPly - 1) depth = MaxPly - 1;

    // The line, score and root facts of the last completed depth, which an exhausted
    // budget falls back on.
    struct Completed {
        MoveWord Line[MaxPly];
        int Length = 0;
        bool RootHasMove = false;
        MoveWord FirstRootMove = 0;
    } completed;

    SearchResult result;
    for (int d = 1; d <= depth; ++d) {
        if (stop.load(std::memory_order_relaxed)) break;
        followPrincipal_ = true;
        rootHasMove_ = false;
        const int score = AlphaBeta(-Mate, Mate, d);
        if (halted_ || stop.load(std::memory_order_relaxed)) break;
        result.CompletedDepth = d;
        result.Score = score;
        completed.Length = pvLength_[0];
        std::copy(pv_[0], pv_[0] + pvLength_[0], completed.Line);
        completed.RootHasMove = rootHasMove_;
        completed.FirstRootMove = firstRootMove_;
        if (stats && stats->OnIteration) {
            // Without a line the first legal move tried stands (see below).
            const bool line = pvLength_[0] > 0;
            stats->OnIteration({d, nodes_, elapsed(), score, line ? pv_[0] : &firstRootMove_,
                                line ? pvLength_[0] : (rootHasMove_ ? 1 : 0)});
        }
    }
    result.Stopped = stop.load(std::memory_order_relaxed);
    result.BudgetExhausted = halted_ && !result.Stopped;
    if (halted_) {
        // Back to the last completed depth (or to no line at all).
        std::copy(completed.Line, completed.Line + completed.Length, pv_[0]);
        pvLength_[0] = completed.Length;
        rootHasMove_ = completed.RootHasMove;
        firstRootMove_ = completed.FirstRootMove;
        halted_ = false;
    }
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
