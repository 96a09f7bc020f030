// The search board, its move generator, making and taking back moves, and the alpha-beta search.
#include "core/Searcher.h"

#include <bit>
#include <chrono>
#include <cstring>

namespace qv::engine {

namespace {

constexpr int Mate = Searcher::ScoreLimit;

// The 10 x 12 frame: entry 21 + 10 * row + file holds that square, the rest -1.
struct Geometry {
    std::int8_t Frame[120]{};
    std::int8_t FrameIndex[64]{};
    std::int8_t CastleMask[64]{};
    // Bit sets for the attack test: the squares from which a piece of that kind attacks a square.
    std::uint64_t KnightFrom[64]{};
    std::uint64_t KingFrom[64]{};
    std::uint64_t PawnFrom[2][64]{}; // [side of the pawn][attacked square]
    // Rays leaving a square: 0 east, 1 south, 2 south-east, 3 south-west (towards higher
    // square numbers), 4 west, 5 north, 6 north-west, 7 north-east (towards lower).
    std::uint64_t Ray[8][64]{};
    std::uint64_t RookLines[64]{};
    std::uint64_t BishopLines[64]{};
};

constexpr int KnightSteps[8] = {-21, -19, -12, -8, 8, 12, 19, 21};
constexpr int BishopSteps[4] = {-11, -9, 9, 11};
constexpr int RookSteps[4] = {-10, -1, 1, 10};
constexpr int QueenSteps[8] = {-11, -10, -9, -1, 1, 9, 10, 11};

constexpr Geometry BuildGeometry() {
    Geometry g{};
    for (int i = 0; i < 120; ++i) g.Frame[i] = -1;
    for (int s = 0; s < 64; ++s) {
        const int f = 21 + 10 * (s / 8) + s % 8;
        g.Frame[f] = static_cast<std::int8_t>(s);
        g.FrameIndex[s] = static_cast<std::int8_t>(f);
        g.CastleMask[s] = 15;
    }
    g.CastleMask[0] = 7;
    g.CastleMask[4] = 3;
    g.CastleMask[7] = 11;
    g.CastleMask[56] = 13;
    g.CastleMask[60] = 12;
    g.CastleMask[63] = 14;
    auto bit = [](int s) { return std::uint64_t{1} << s; };
    for (int s = 0; s < 64; ++s) {
        const int f = g.FrameIndex[s];
        for (int d : KnightSteps)
            if (g.Frame[f + d] >= 0) g.KnightFrom[s] |= bit(g.Frame[f + d]);
        for (int d : QueenSteps)
            if (g.Frame[f + d] >= 0) g.KingFrom[s] |= bit(g.Frame[f + d]);
        // A White pawn attacks towards lower numbers, so it stands below (frame +9, +11).
        if (g.Frame[f + 9] >= 0) g.PawnFrom[0][s] |= bit(g.Frame[f + 9]);
        if (g.Frame[f + 11] >= 0) g.PawnFrom[0][s] |= bit(g.Frame[f + 11]);
        if (g.Frame[f - 9] >= 0) g.PawnFrom[1][s] |= bit(g.Frame[f - 9]);
        if (g.Frame[f - 11] >= 0) g.PawnFrom[1][s] |= bit(g.Frame[f - 11]);
        constexpr int RaySteps[8] = {1, 10, 11, 9, -1, -10, -11, -9};
        for (int r = 0; r < 8; ++r)
            for (int t = f + RaySteps[r]; g.Frame[t] >= 0; t += RaySteps[r])
                g.Ray[r][s] |= bit(g.Frame[t]);
        g.RookLines[s] = g.Ray[0][s] | g.Ray[1][s] | g.Ray[4][s] | g.Ray[5][s];
        g.BishopLines[s] = g.Ray[2][s] | g.Ray[3][s] | g.Ray[6][s] | g.Ray[7][s];
    }
    return g;
}

constexpr Geometry Geo = BuildGeometry();

// The bit-set ray (see Geometry::Ray) that follows a frame step.
constexpr int RayOfStep(int step) {
    switch (step) {
    case 1:
        return 0;
    case 10:
        return 1;
    case 11:
        return 2;
    case 9:
        return 3;
    case -1:
        return 4;
    case -10:
        return 5;
    case -11:
        return 6;
    default:
        return 7; // -9
    }
}

constexpr int CaptureBase = 1000000;
constexpr int PrincipalBonus = 10000000;

inline bool FirstBlockerIs(std::uint64_t ray, std::uint64_t occupied, std::uint64_t attackers,
                           bool upwards) {
    const std::uint64_t blockers = ray & occupied;
    if (!blockers) return false;
    const int s = upwards ? std::countr_zero(blockers) : 63 - std::countl_zero(blockers);
    return (attackers >> s) & 1;
}

} // namespace

std::string MoveText(MoveWord m) {
    const int from = MoveOrigin(m), to = MoveTarget(m);
    std::string text = SquareName(from + 1) + SquareName(to + 1);
    static constexpr char Letters[5] = {'\0', 'n', 'b', 'r', 'q'};
    const int promo = MovePromotion(m);
    if (promo >= 1 && promo <= 4) text += Letters[promo];
    return text;
}

Searcher::Searcher() {
    LoadPosition(InitialPosition, true, AllCastling, None);
}

// ---------------------------------------------------------------------------
// The search board

void Searcher::Put(int square, int colour, int piece) {
    colour_[square] = static_cast<std::uint8_t>(colour);
    piece_[square] = static_cast<std::uint8_t>(piece);
    const std::uint64_t b = std::uint64_t{1} << square;
    pieces_[colour][piece] |= b;
    occupied_[colour] |= b;
    material_[colour] += prepared_[colour][piece][square];
}

void Searcher::Remove(int square) {
    const int colour = colour_[square], piece = piece_[square];
    const std::uint64_t b = std::uint64_t{1} << square;
    pieces_[colour][piece] &= ~b;
    occupied_[colour] &= ~b;
    material_[colour] -= prepared_[colour][piece][square];
    colour_[square] = Empty;
    piece_[square] = Empty;
}

void Searcher::LoadPosition(const BoardState& position) {
    LoadPosition(position.PositionView(), position.WhiteToMove, position.CastlingAllowed,
                 position.EnPassant);
}

void Searcher::LoadPosition(std::string_view position, bool whiteToMove, CastleSet castling,
                            Square enPassant) {
    std::memset(pieces_, 0, sizeof pieces_);
    occupied_[0] = occupied_[1] = 0;
    material_[0] = material_[1] = 0;
    for (int s = 0; s < 64; ++s) {
        colour_[s] = piece_[s] = Empty;
        const char ch = s < static_cast<int>(position.size()) ? position[s] : ' ';
        int colour = Empty;
        if (ch >= 'b' && ch <= 'r')
            colour = Black;
        else if (ch >= 'B' && ch <= 'R')
            colour = White;
        const char lower = (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch + 32) : ch;
        int piece = Empty;
        switch (lower) {
        case 'p':
            piece = Pawn;
            break;
        case 'n':
            piece = Knight;
            break;
        case 'b':
            piece = Bishop;
            break;
        case 'r':
            piece = Rook;
            break;
        case 'q':
            piece = Queen;
            break;
        case 'k':
            piece = King;
            break;
        default:
            break;
        }
        if (colour != Empty && piece != Empty) Put(s, colour, piece);
    }
    side_ = whiteToMove ? White : Black;
    opponent_ = 1 - side_;

    // Rights are kept only where the king and the rook still stand at home, so that
    // castling never moves a piece that is not there.
    auto at = [&](int s, int colour, int piece) {
        return colour_[s] == colour && piece_[s] == piece;
    };
    castling_ = castling & 15;
    if (!(at(60, White, King) && at(63, White, Rook))) castling_ &= ~1;
    if (!(at(60, White, King) && at(56, White, Rook))) castling_ &= ~2;
    if (!(at(4, Black, King) && at(7, Black, Rook))) castling_ &= ~4;
    if (!(at(4, Black, King) && at(0, Black, Rook))) castling_ &= ~8;

    // The en-passant square must lie behind an enemy pawn that can just have made a double step.
    ep_ = static_cast<int>(enPassant) - 1;
    if (ep_ >= 0) {
        const bool ok =
            side_ == White
                ? (ep_ >= 16 && ep_ <= 23 && colour_[ep_] == Empty && at(ep_ + 8, Black, Pawn))
                : (ep_ >= 40 && ep_ <= 47 && colour_[ep_] == Empty && at(ep_ - 8, White, Pawn));
        if (!ok) ep_ = -1;
    }
    ply_ = 0;
    listStart_[0] = 0;
    listEnd_[0] = 0;
}

std::string Searcher::PositionText() const {
    static constexpr char Letters[2][7] = {{'P', 'N', 'B', 'R', 'Q', 'K', ' '},
                                           {'p', 'n', 'b', 'r', 'q', 'k', ' '}};
    std::string text(64, ' ');
    for (int s = 0; s < 64; ++s)
        if (colour_[s] != Empty) text[s] = Letters[colour_[s]][piece_[s]];
    return text;
}

void Searcher::SumMaterial() {
    material_[0] = material_[1] = 0;
    for (int s = 0; s < 64; ++s)
        if (colour_[s] != Empty) material_[colour_[s]] += prepared_[colour_[s]][piece_[s]][s];
}

// ---------------------------------------------------------------------------
// Attacks

bool Searcher::SquareAttacked(int square, int bySide) const {
    const std::uint64_t* p = pieces_[bySide];
    if (Geo.PawnFrom[bySide][square] & p[Pawn]) return true;
    if (Geo.KnightFrom[square] & p[Knight]) return true;
    if (Geo.KingFrom[square] & p[King]) return true;
    const std::uint64_t occupied = occupied_[0] | occupied_[1];
    const std::uint64_t straight = p[Rook] | p[Queen];
    if (straight & Geo.RookLines[square]) {
        if (FirstBlockerIs(Geo.Ray[0][square], occupied, straight, true) ||
            FirstBlockerIs(Geo.Ray[1][square], occupied, straight, true) ||
            FirstBlockerIs(Geo.Ray[4][square], occupied, straight, false) ||
            FirstBlockerIs(Geo.Ray[5][square], occupied, straight, false))
            return true;
    }
    const std::uint64_t diagonal = p[Bishop] | p[Queen];
    if (diagonal & Geo.BishopLines[square]) {
        if (FirstBlockerIs(Geo.Ray[2][square], occupied, diagonal, true) ||
            FirstBlockerIs(Geo.Ray[3][square], occupied, diagonal, true) ||
            FirstBlockerIs(Geo.Ray[6][square], occupied, diagonal, false) ||
            FirstBlockerIs(Geo.Ray[7][square], occupied, diagonal, false))
            return true;
    }
    return false;
}

bool Searcher::SideInCheck(int side) const {
    // The first king in square order counts; a side without a king is never in check.
    const std::uint64_t kings = pieces_[side][King];
    if (!kings) return false;
    return SquareAttacked(std::countr_zero(kings), side ^ 1);
}

// ---------------------------------------------------------------------------
// Move generation

inline void Searcher::AddMove(int& n, int origin, int target, int flags) {
    StackEntry& e = stack_[n++];
    e.Move = MakeMoveWord(origin, target, 0, flags);
    e.Score = (flags & MoveFlag::Capture) ? CaptureBase + 10 * piece_[target] - piece_[origin]
                                          : history_[origin][target];
}

inline void Searcher::AddPawnMove(int& n, int origin, int target, int flags, bool lastRank) {
    if (!lastRank) {
        AddMove(n, origin, target, flags);
        return;
    }
    for (int promo = Knight; promo <= Queen; ++promo) {
        StackEntry& e = stack_[n++];
        e.Move = MakeMoveWord(origin, target, promo, flags | MoveFlag::Promotion);
        e.Score = CaptureBase + 10 * promo;
    }
}

template <int Side, bool AllMoves> inline void Searcher::GeneratePawn(int s, int& n) {
    constexpr int Enemy = 1 - Side;
    const int file = s & 7;
    if constexpr (Side == White) {
        if (s < 8 || s >= 56) return; // a pawn on its own first or last rank has no moves
        const bool last = s < 16;
        if (file != 0 && colour_[s - 9] == Enemy) AddPawnMove(n, s, s - 9, 17, last);
        if (file != 7 && colour_[s - 7] == Enemy) AddPawnMove(n, s, s - 7, 17, last);
        if (colour_[s - 8] == Empty) {
            if (AllMoves || last) AddPawnMove(n, s, s - 8, 16, last);
            if (AllMoves && s >= 48 && colour_[s - 16] == Empty) AddMove(n, s, s - 16, 24);
        }
    } else {
        if (s < 8 || s >= 56) return;
        const bool last = s >= 48;
        if (file != 0 && colour_[s + 7] == Enemy) AddPawnMove(n, s, s + 7, 17, last);
        if (file != 7 && colour_[s + 9] == Enemy) AddPawnMove(n, s, s + 9, 17, last);
        if (colour_[s + 8] == Empty) {
            if (AllMoves || last) AddPawnMove(n, s, s + 8, 16, last);
            if (AllMoves && s <= 15 && colour_[s + 16] == Empty) AddMove(n, s, s + 16, 24);
        }
    }
}

template <int Side, bool AllMoves> void Searcher::Generate() {
    constexpr int Enemy = 1 - Side;
    int n = listStart_[ply_];
    const std::uint64_t enemies = occupied_[Enemy];
    const std::uint64_t occupied = occupied_[Side] | enemies;
    std::uint64_t own = occupied_[Side];
    while (own) {
        const int s = std::countr_zero(own);
        own &= own - 1;
        const int piece = piece_[s];
        if (piece == Pawn) {
            GeneratePawn<Side, AllMoves>(s, n);
            continue;
        }
        if (piece == Knight || piece == King) {
            // Their steps, in table order, reach the squares in ascending order, so the
            // bit set can be walked instead of the frame.
            const std::uint64_t reach = piece == Knight ? Geo.KnightFrom[s] : Geo.KingFrom[s];
            for (std::uint64_t b = reach & (AllMoves ? ~occupied_[Side] : enemies); b; b &= b - 1) {
                const int t = std::countr_zero(b);
                AddMove(n, s, t, colour_[t] == Enemy ? MoveFlag::Capture : 0);
            }
            continue;
        }
        const int* steps;
        int count;
        switch (piece) {
        case Bishop:
            steps = BishopSteps, count = 4;
            break;
        case Rook:
            steps = RookSteps, count = 4;
            break;
        default:
            steps = QueenSteps, count = 8;
            break;
        }
        if constexpr (AllMoves) {
            const int from = Geo.FrameIndex[s];
            for (int k = 0; k < count; ++k) {
                const int step = steps[k];
                for (int f = from + step;; f += step) {
                    const int t = Geo.Frame[f];
                    if (t < 0) break;
                    const int c = colour_[t];
                    if (c == Empty) {
                        AddMove(n, s, t, 0);
                        continue;
                    }
                    if (c == Enemy) AddMove(n, s, t, MoveFlag::Capture);
                    break;
                }
            }
        } else {
            // Captures only: the first piece on each ray, found from the bit sets.
            const std::uint64_t lines =
                (piece == Bishop ? 0 : Geo.RookLines[s]) | (piece == Rook ? 0 : Geo.BishopLines[s]);
            if (!(lines & enemies)) continue;
            for (int k = 0; k < count; ++k) {
                const int ray = RayOfStep(steps[k]);
                const std::uint64_t blockers = Geo.Ray[ray][s] & occupied;
                if (!blockers) continue;
                const int t =
                    ray < 4 ? std::countr_zero(blockers) : 63 - std::countl_zero(blockers);
                if (colour_[t] == Enemy) AddMove(n, s, t, MoveFlag::Capture);
            }
        }
    }
    if constexpr (AllMoves) {
        if constexpr (Side == White) {
            if (castling_ & 1) AddMove(n, 60, 62, MoveFlag::Castling);
            if (castling_ & 2) AddMove(n, 60, 58, MoveFlag::Castling);
        } else {
            if (castling_ & 4) AddMove(n, 4, 6, MoveFlag::Castling);
            if (castling_ & 8) AddMove(n, 4, 2, MoveFlag::Castling);
        }
    }
    if (ep_ >= 0) {
        const int e = ep_;
        if constexpr (Side == White) {
            if ((e & 7) != 0 && colour_[e + 7] == White && piece_[e + 7] == Pawn)
                AddMove(n, e + 7, e, 21);
            if ((e & 7) != 7 && colour_[e + 9] == White && piece_[e + 9] == Pawn)
                AddMove(n, e + 9, e, 21);
        } else {
            if ((e & 7) != 0 && colour_[e - 9] == Black && piece_[e - 9] == Pawn)
                AddMove(n, e - 9, e, 21);
            if ((e & 7) != 7 && colour_[e - 7] == Black && piece_[e - 7] == Pawn)
                AddMove(n, e - 7, e, 21);
        }
    }
    listEnd_[ply_] = n;
    listStart_[ply_ + 1] = n;
}

void Searcher::GenerateAllMoves() {
    if (side_ == White)
        Generate<White, true>();
    else
        Generate<Black, true>();
}

void Searcher::GenerateQuiescenceMoves() {
    if (side_ == White)
        Generate<White, false>();
    else
        Generate<Black, false>();
}

void Searcher::PickBestMove(int index) {
    const int end = listEnd_[ply_];
    int best = index;
    int bestScore = stack_[index].Score;
    for (int j = index + 1; j < end; ++j) {
        if (stack_[j].Score > bestScore) {
            bestScore = stack_[j].Score;
            best = j;
        }
    }
    if (best != index) std::swap(stack_[index], stack_[best]);
}

void Searcher::BoostPrincipalMove() {
    followPrincipal_ = false;
    // Origin and target alone identify the move of the previous iteration's line.
    const MoveWord wanted = pv_[0][ply_] & 0xFFFF;
    const int end = listEnd_[ply_];
    for (int i = listStart_[ply_]; i < end; ++i) {
        if ((stack_[i].Move & 0xFFFF) == wanted) {
            stack_[i].Score += PrincipalBonus;
            followPrincipal_ = true;
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Making and taking back moves

bool Searcher::PlaySearchMove(MoveWord move) {
    const int from = MoveOrigin(move), to = MoveTarget(move), flags = MoveFlags(move);
    if (flags & MoveFlag::Castling) {
        if (SideInCheck(side_)) return false;
        const int enemy = opponent_;
        auto free = [&](int s) { return colour_[s] == Empty; };
        auto safe = [&](int s) { return !SquareAttacked(s, enemy); };
        int rookFrom, rookTo;
        switch (to) {
        case 62:
            if (!free(61) || !free(62) || !safe(61) || !safe(62)) return false;
            rookFrom = 63, rookTo = 61;
            break;
        case 58:
            if (!free(57) || !free(58) || !free(59) || !safe(58) || !safe(59)) return false;
            rookFrom = 56, rookTo = 59;
            break;
        case 6:
            if (!free(5) || !free(6) || !safe(5) || !safe(6)) return false;
            rookFrom = 7, rookTo = 5;
            break;
        case 2:
            if (!free(1) || !free(2) || !free(3) || !safe(2) || !safe(3)) return false;
            rookFrom = 0, rookTo = 3;
            break;
        default:
            return false;
        }
        Remove(rookFrom);
        Put(rookTo, side_, Rook);
    }
    UndoRecord& u = undo_[ply_];
    u.Move = move;
    u.Captured = piece_[to];
    u.Castling = castling_;
    u.EnPassant = ep_;
    ++ply_;
    castling_ &= Geo.CastleMask[from] & Geo.CastleMask[to];
    ep_ = (flags & MoveFlag::DoubleStep) ? (side_ == White ? to + 8 : to - 8) : -1;
    const int mover = piece_[from];
    if (u.Captured != Empty) Remove(to);
    Remove(from);
    Put(to, side_, (flags & MoveFlag::Promotion) ? MovePromotion(move) : mover);
    if (flags & MoveFlag::EnPassant) Remove(side_ == White ? to + 8 : to - 8);
    opponent_ = side_;
    side_ ^= 1;
    if (SideInCheck(opponent_)) {
        UndoSearchMove();
        return false;
    }
    return true;
}

void Searcher::UndoSearchMove() {
    side_ = opponent_;
    opponent_ ^= 1;
    --ply_;
    const UndoRecord& u = undo_[ply_];
    castling_ = u.Castling;
    ep_ = u.EnPassant;
    const int from = MoveOrigin(u.Move), to = MoveTarget(u.Move), flags = MoveFlags(u.Move);
    const int placed = piece_[to];
    Remove(to);
    Put(from, side_, (flags & MoveFlag::Promotion) ? static_cast<int>(Pawn) : placed);
    if (u.Captured != Empty) Put(to, opponent_, u.Captured);
    if (flags & MoveFlag::Castling) {
        switch (to) {
        case 62:
            Remove(61), Put(63, side_, Rook);
            break;
        case 58:
            Remove(59), Put(56, side_, Rook);
            break;
        case 6:
            Remove(5), Put(7, side_, Rook);
            break;
        case 2:
            Remove(3), Put(0, side_, Rook);
            break;
        default:
            break;
        }
    }
    if (flags & MoveFlag::EnPassant) Put(side_ == White ? to + 8 : to - 8, opponent_, Pawn);
}

// ---------------------------------------------------------------------------
// The search

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
    const int end = listEnd_[ply_];
    for (int i = listStart_[ply_]; i < end; ++i) {
        if (stop_->load(std::memory_order_relaxed)) break;
        PickBestMove(i);
        const MoveWord move = stack_[i].Move;
        if (!PlaySearchMove(move)) continue;
        legal = true;
        if (ply_ == 1 && !rootHasMove_) {
            rootHasMove_ = true;
            firstRootMove_ = move;
        }
        const int score = -AlphaBeta(-beta, -alpha, depth - 1);
        UndoSearchMove();
        if (score > alpha) {
            history_[MoveOrigin(move)][MoveTarget(move)] += depth;
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
    const int end = listEnd_[ply_];
    for (int i = listStart_[ply_]; i < end; ++i) {
        PickBestMove(i);
        const MoveWord move = stack_[i].Move;
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
    std::memset(history_, 0, sizeof history_);
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
