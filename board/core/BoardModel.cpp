// Move making, the game record and the board's events.
#include "board/core/BoardModel.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace qv {

BoardModel::BoardModel() {
    ResetBoard();
}

void BoardModel::SetPosition(std::string_view text) {
    StopThinking();
    state_.SetSquaresFromText(text);
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "init" || lower == "newgame") state_.SetSquaresFromText(InitialPosition);
    // An en-passant square left from a double step before the new squares would let a
    // pawn take a piece that never passed over it.
    if (!EnPassantFits(state_)) state_.EnPassant = None;
    if (view_) view_->Paint();
}

void BoardModel::SetWhiteToMove(bool white) {
    StopThinking();
    state_.WhiteToMove = white;
}

void BoardModel::SetEnPassant(Square sq) {
    if ((sq >= A6 && sq <= H6) || (sq >= A3 && sq <= H3)) {
        StopThinking();
        state_.EnPassant = sq;
    }
}

void BoardModel::ResetBoard() {
    StopThinking();
    state_.SetSquaresFromText(InitialPosition);
    state_.WhiteToMove = true;
    state_.CurrentMove = 1;
    first_ = last_ = HalfMove{1, true};
    state_.EnPassant = None;
    state_.CastlingAllowed = AllCastling;
    // A new game: entries of earlier games stay in the table but no longer count.
    ++game_;
    recordStarted_ = false;
}

void BoardModel::NewGame() {
    ResetBoard();
    if (view_) view_->Paint();
}

// The record is indexed from the game's first half-move, so a game set up at a high
// move number costs no more memory than one from move 1.
MoveInfo* BoardModel::Entry(const HalfMove& h) {
    const long i = h.Index() - first_.Index();
    if (i < 0) return nullptr;
    if (static_cast<std::size_t>(i) >= record_.size())
        record_.resize(static_cast<std::size_t>(i) + 64);
    return &record_[static_cast<std::size_t>(i)];
}

const MoveInfo* BoardModel::Entry(const HalfMove& h) const {
    const long i = h.Index() - first_.Index();
    if (i < 0 || static_cast<std::size_t>(i) >= record_.size()) return nullptr;
    return &record_[static_cast<std::size_t>(i)];
}

const MoveInfo* BoardModel::RecordEntry(int move, bool white) const {
    const HalfMove h{move, white};
    if (h.Index() < first_.Index() || h.Index() > last_.Index()) return nullptr;
    const MoveInfo* e = Entry(h);
    return (e && e->Game == game_) ? e : nullptr;
}

void BoardModel::Record(const HalfMove& h, Square from, Square to, bool withMove) {
    MoveInfo* e = Entry(h);
    if (!e) return;
    e->PositionText = state_.PositionText();
    e->CastleRights = state_.CastlingAllowed;
    e->EnPassantSquare = state_.EnPassant;
    if (withMove) {
        e->FromSquare = from;
        e->ToSquare = to;
    }
    e->Game = game_;
}

bool BoardModel::IsLegalMove(int origin, int target) const {
    if (!IsOnBoard(origin) || !IsOnBoard(target)) return false;
    if (ThreefoldRepetition()) return false;
    return IsLegalIgnoringRepetition(state_, origin, target);
}

bool BoardModel::ThreefoldRepetition() const {
    const HalfMove cur = Current();
    const MoveInfo* now = RecordEntry(cur.Move, cur.WhiteToMove);
    if (!now) return false;
    // The same position means the same squares, side to move, castling rights and
    // en-passant square; entries two half-moves apart have the same side to move.
    int count = 0;
    for (long i = cur.Index() - 2 - first_.Index(); i >= 0; i -= 2) {
        const MoveInfo& e = record_[static_cast<std::size_t>(i)];
        if (e.Game == game_ && e.PositionText == now->PositionText &&
            e.CastleRights == now->CastleRights && e.EnPassantSquare == now->EnPassantSquare)
            ++count;
    }
    return count >= 2;
}

void BoardModel::RepaintSquare(Square sq) {
    if (!view_) return;
    view_->PaintSquare(sq);
    const char piece = state_.Squares[sq];
    if (piece != ' ') view_->DrawPiece(sq, piece);
    view_->DrawGridLines();
}

bool BoardModel::PlayMove(Square origin, Square target) {
    // A move asked for by a handler of a move still being played is refused: the outer
    // move would go on from a position it did not make and overwrite the inner move's
    // en-passant square and record entry.
    if (playing_) return false;
    GameOver = false;
    if (!IsLegalMove(origin, target)) return false;
    // The move number is a signed 32-bit count: Black's move at its largest value is refused.
    if (!state_.WhiteToMove && state_.CurrentMove == std::numeric_limits<int>::max()) return false;
    struct Playing {
        bool& flag;
        explicit Playing(bool& f) : flag(f) { flag = true; }
        ~Playing() { flag = false; }
    } playing(playing_);
    bool drawn = false;

    // The game's first recorded half-move is the one the first move is played from,
    // so a game set up with Black to move starts its record at Black's half-move.
    if (!recordStarted_) {
        first_ = last_ = Current();
        recordStarted_ = true;
    }
    Record(Current(), origin, target, true);

    if (view_) {
        view_->PaintSquare(origin);
        if (AnimateMoves && (origin != DragFrom || target != DropTo)) {
            view_->DrawGridLines();
            view_->AnimateMove(origin, target, AnimationDelay);
        }
    }
    // An en-passant capture takes the pawn that passed over the target.
    const Square epVictim = EnPassantVictim(state_, origin, target);
    const char captured = state_.Squares[target];
    state_.Squares[target] = state_.Squares[origin];
    state_.Squares[origin] = ' ';
    RepaintSquare(target);

    if (!state_.WhiteToMove) ++state_.CurrentMove;
    state_.WhiteToMove = !state_.WhiteToMove;
    last_ = Current();

    if (OnLegalMove) OnLegalMove(this, origin, target);
    if (captured != ' ' && OnCapture) OnCapture(this, origin, target, captured);

    // Promotion.
    const char moved = state_.Squares[target];
    if ((moved == 'p' || moved == 'P') && (RankOf(target) == 8 || RankOf(target) == 1)) {
        if (OnPromotion) OnPromotion(this, origin, target, PromotionPiece);
        const char upper =
            static_cast<char>(std::toupper(static_cast<unsigned char>(PromotionPiece)));
        state_.Squares[target] = RankOf(target) == 8 ? upper : static_cast<char>(upper + 32);
        RepaintSquare(target);
    }

    // En-passant capture: the passed pawn leaves the board.
    if (epVictim != None) {
        if (OnCapture) OnCapture(this, origin, target, state_.Squares[epVictim]);
        state_.Squares[epVictim] = ' ';
        if (view_) {
            view_->PaintSquare(epVictim);
            view_->DrawGridLines();
        }
    }

    // New en-passant square.
    {
        const char piece = state_.Squares[target];
        if ((piece == 'P' && RankOf(origin) == 2 && RankOf(target) == 4) ||
            (piece == 'p' && RankOf(origin) == 7 && RankOf(target) == 5))
            state_.EnPassant = static_cast<Square>((origin + target) / 2);
        else
            state_.EnPassant = None;
    }

    // Castling: the rook follows the king.
    auto moveRook = [&](Square from, Square to, char rook) {
        state_.Squares[to] = rook;
        state_.Squares[from] = ' ';
        if (view_) {
            view_->PaintSquare(from);
            view_->DrawPiece(to, rook);
            view_->DrawGridLines();
        }
        if (OnCastle) OnCastle(this, origin, target);
    };
    const char king = state_.Squares[target];
    if (king == 'K' && origin == E1) {
        if (target == G1)
            moveRook(H1, F1, 'R');
        else if (target == C1)
            moveRook(A1, D1, 'R');
    } else if (king == 'k' && origin == E8) {
        if (target == G8)
            moveRook(H8, F8, 'r');
        else if (target == C8)
            moveRook(A8, D8, 'r');
    }

    // Castling rights, by origin only.
    switch (origin) {
    case A1:
        state_.CastlingAllowed &= ~WhiteQueenSide;
        break;
    case H1:
        state_.CastlingAllowed &= ~WhiteKingSide;
        break;
    case E1:
        state_.CastlingAllowed &= ~(WhiteKingSide | WhiteQueenSide);
        break;
    case A8:
        state_.CastlingAllowed &= ~BlackQueenSide;
        break;
    case H8:
        state_.CastlingAllowed &= ~BlackKingSide;
        break;
    case E8:
        state_.CastlingAllowed &= ~(BlackKingSide | BlackQueenSide);
        break;
    default:
        break;
    }

    // Check is judged on the position after every side effect (castled rook,
    // removed en-passant victim, promoted piece).
    const bool givesCheck = qv::KingAttacked(state_, WhiteColor, target, target) ||
                            qv::KingAttacked(state_, BlackColor, target, target);
    const bool canMove = qv::HasLegalMove(state_);
    if (givesCheck) {
        if (OnCheck) OnCheck(this, origin, target);
        if (!canMove && OnMate) {
            GameOver = true;
            OnMate(this, origin, target);
        }
    } else if (!canMove) {
        if (OnStaleMate) OnStaleMate(this, origin, target);
        drawn = true;
    }

    // Too little material to mate.
    int material[2] = {0, 0};
    for (int sq = 1; sq <= 64; ++sq) {
        const char c = state_.Squares[sq];
        const int colour = PieceColorOf(c);
        if (colour == NoColor) continue;
        int v = 0;
        switch (c | 32) {
        case 'b':
            v = 3;
            break;
        case 'n':
            v = 2;
            break;
        case 'p':
        case 'r':
        case 'q':
            v = 5;
            break;
        default:
            break;
        }
        material[colour] += v;
    }
    if (material[0] < 5 && material[1] < 5) {
        if (OnNoMatingMaterial) OnNoMatingMaterial(this);
        drawn = true;
    }

    Record(Current(), None, None, false);
    last_ = Current();

    if (ThreefoldRepetition()) {
        if (OnThreefoldPosition) OnThreefoldPosition(this);
        drawn = true;
    }
    if (drawn && OnDraw) {
        GameOver = true;
        OnDraw(this);
    }
    if (OnPaint) OnPaint(this);
    return true;
}

bool BoardModel::MakeMove(Square origin, Square target) {
    StopThinking();
    const bool ok = PlayMove(origin, target);
    EngineHold = false;
    StartThinking();
    return ok;
}

bool BoardModel::GotoMove(int move, bool white) {
    StopThinking();
    const MoveInfo* e = RecordEntry(move, white);
    if (!e) return false;
    state_.CurrentMove = move;
    state_.WhiteToMove = white;
    const std::string old = state_.PositionText();
    state_.SetSquaresFromText(e->PositionText);
    state_.EnPassant = e->EnPassantSquare;
    state_.CastlingAllowed = e->CastleRights;
    if (view_) view_->RepaintChanges(old);
    return true;
}

bool BoardModel::MoveBack() {
    return state_.WhiteToMove ? GotoMove(state_.CurrentMove - 1, false)
                              : GotoMove(state_.CurrentMove, true);
}

bool BoardModel::MoveForward() {
    return state_.WhiteToMove ? GotoMove(state_.CurrentMove, false)
                              : GotoMove(state_.CurrentMove + 1, true);
}

} // namespace qv
