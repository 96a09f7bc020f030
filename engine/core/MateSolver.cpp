// The exact mate solver: proof search over the attacker's and the defender's moves.
#include "engine/core/MateSolver.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace qv::engine {

namespace {

constexpr int White = SearchBoard::White;
constexpr int Empty = SearchBoard::Empty;

// Random numbers for the position hash, one per piece on a square, per castling set,
// per en-passant square (index 0: none) and for the side to move.
struct Zobrist {
    std::uint64_t Piece[2][6][64]{};
    std::uint64_t Castle[16]{};
    std::uint64_t EnPassant[65]{};
    std::uint64_t BlackToMove = 0;
};

constexpr Zobrist BuildZobrist() {
    Zobrist z{};
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    auto next = [&state] {
        state += 0x9E3779B97F4A7C15ULL;
        std::uint64_t x = state;
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
        return x ^ (x >> 31);
    };
    for (auto& side : z.Piece)
        for (auto& piece : side)
            for (auto& square : piece) square = next();
    for (int c = 1; c < 16; ++c) z.Castle[c] = next(); // no rights: 0
    for (int e = 1; e < 65; ++e) z.EnPassant[e] = next();
    z.BlackToMove = next();
    return z;
}

constexpr Zobrist Z = BuildZobrist();

// Ordering bonuses; they stay below 2^31 together with capture scores and history.
constexpr int HintBonus = 1 << 29;
constexpr int CheckBonus = 1 << 28;
constexpr int KillerBonus = 1 << 27;
constexpr int Illegal = -(1 << 30);
constexpr int HistoryCap = 1 << 20;

} // namespace

// What the table knows of a position: the attacker mates with WinFrom - 1 further moves
// (and so with any more), and fails with FailTo - 1 (and so with any fewer); 0: unknown.
// For a position with the defender to move, the count is the attacker's moves after it.
struct MateSolver::TableEntry {
    std::uint64_t Key = 0;
    MoveWord Move = 0; // the mating move, or the refutation
    std::uint8_t WinFrom = 0;
    std::uint8_t FailTo = 0;
};

MateSolver::MateSolver(std::size_t tableEntries) {
    std::size_t size = 1024;
    while (size * 2 <= tableEntries) size *= 2;
    table_ = std::make_unique<TableEntry[]>(size);
    tableMask_ = size - 1;
}

MateSolver::~MateSolver() = default;

void MateSolver::ClearTable() {
    std::fill(table_.get(), table_.get() + tableMask_ + 1, TableEntry{});
    std::memset(history_, 0, sizeof history_);
}

std::uint64_t MateSolver::FullKey() const {
    std::uint64_t k = 0;
    for (int s = 0; s < 64; ++s)
        if (board_.ColourAt(s) != Empty) k ^= Z.Piece[board_.ColourAt(s)][board_.PieceAt(s)][s];
    k ^= Z.Castle[board_.CastlingRights()] ^ Z.EnPassant[board_.EnPassantSquare() + 1];
    if (board_.SideToMove() != White) k ^= Z.BlackToMove;
    // The same position means something else with the other side attacking.
    if (attacker_ != White) k = ~k;
    return k;
}

bool MateSolver::Play(MoveWord move) {
    const int from = MoveOrigin(move), to = MoveTarget(move), flags = MoveFlags(move);
    const int side = board_.SideToMove();
    const int mover = board_.PieceAt(from);
    const int captured = board_.PieceAt(to);
    const int oldCastle = board_.CastlingRights(), oldEp = board_.EnPassantSquare();
    if (!board_.PlaySearchMove(move)) return false;
    ++nodes_;
    const int placed = (flags & MoveFlag::Promotion) ? MovePromotion(move) : mover;
    std::uint64_t k = key_ ^ Z.BlackToMove ^ Z.Piece[side][mover][from] ^ Z.Piece[side][placed][to];
    if (captured != Empty) k ^= Z.Piece[side ^ 1][captured][to];
    if (flags & MoveFlag::EnPassant)
        k ^= Z.Piece[side ^ 1][SearchBoard::Pawn][side == White ? to + 8 : to - 8];
    if (flags & MoveFlag::Castling) {
        int rookFrom = Sq::H1, rookTo = Sq::F1;
        if (to == Sq::C1) rookFrom = Sq::A1, rookTo = Sq::D1;
        if (to == Sq::G8) rookFrom = Sq::H8, rookTo = Sq::F8;
        if (to == Sq::C8) rookFrom = Sq::A8, rookTo = Sq::D8;
        k ^= Z.Piece[side][SearchBoard::Rook][rookFrom] ^ Z.Piece[side][SearchBoard::Rook][rookTo];
    }
    k ^= Z.Castle[oldCastle] ^ Z.Castle[board_.CastlingRights()];
    k ^= Z.EnPassant[oldEp + 1] ^ Z.EnPassant[board_.EnPassantSquare() + 1];
    keyStack_[board_.Ply() - 1] = key_;
    key_ = k;
    return true;
}

void MateSolver::Undo() {
    board_.UndoSearchMove();
    key_ = keyStack_[board_.Ply()];
}

bool MateSolver::Abort() {
    if (aborted_) return true;
    if ((limits_.MaxNodes > 0 && nodes_ >= limits_.MaxNodes) ||
        (limits_.Stop && limits_.Stop->load(std::memory_order_relaxed)) ||
        board_.Ply() >= SearchBoard::MaxPly - 2 || moves_.Full(board_.Ply()))
        aborted_ = true; // a proof that cannot go on is no proof: the solve is incomplete
    return aborted_;
}

MateSolver::TableEntry* MateSolver::Probe(std::uint64_t key) {
    TableEntry& e = table_[key & tableMask_];
    return e.Key == key ? &e : nullptr;
}

void MateSolver::Store(std::uint64_t key, int depth, bool value, MoveWord move) {
    if (aborted_) return; // an interrupted answer proves nothing
    TableEntry& e = table_[key & tableMask_];
    if (e.Key != key) e = TableEntry{key, 0, 0, 0};
    const auto d = static_cast<std::uint8_t>(depth + 1);
    if (value) {
        if (e.WinFrom == 0 || d < e.WinFrom) e.WinFrom = d;
    } else if (d > e.FailTo) {
        e.FailTo = d;
    }
    if (move) e.Move = move;
}

void MateSolver::RaiseHistory(MoveWord move, int depth) {
    int& h = history_[MoveOrigin(move)][MoveTarget(move)];
    h += depth * depth;
    if (h > HistoryCap)
        for (auto& row : history_)
            for (int& v : row) v /= 2;
}

bool MateSolver::HasLegalMove() {
    moves_.GenerateAllMoves(board_);
    const int ply = board_.Ply();
    for (int i = moves_.ListBegin(ply); i < moves_.ListEnd(ply); ++i) {
        if (board_.PlaySearchMove(moves_.ListMove(i))) {
            board_.UndoSearchMove();
            return true;
        }
    }
    return false;
}

bool MateSolver::AttackerMates(int n) {
    int from = 1;
    if (const TableEntry* e = Probe(key_)) {
        if (e->WinFrom && n >= e->WinFrom - 1) return true;
        if (e->FailTo && n <= e->FailTo - 1) return false;
        if (e->FailTo) from = e->FailTo; // fails are known up to FailTo - 1
    }
    // Shorter mates first: they are cheap to find, and the table then knows the fails.
    for (int j = from; j <= n; ++j) {
        if (AttackerMatesExactly(j)) return true;
        if (aborted_) return false;
    }
    return false;
}

bool MateSolver::AttackerMatesExactly(int n) {
    if (Abort()) return false;
    const int ply = board_.Ply();
    const int defender = board_.SideToMove() ^ 1;
    const TableEntry* e = Probe(key_);
    const MoveWord hint = e ? e->Move : 0;
    moves_.GenerateAllMoves(board_);
    const int begin = moves_.ListBegin(ply), end = moves_.ListEnd(ply);
    if (n == 1) {
        // The last move must give mate, so it must give check.
        for (int i = begin; i < end; ++i) {
            const MoveWord m = moves_.ListMove(i);
            if (!board_.PlaySearchMove(m)) continue;
            ++nodes_;
            const bool mate = board_.SideInCheck(defender) && !HasLegalMove();
            board_.UndoSearchMove();
            if (mate) {
                Store(key_, 1, true, m);
                return true;
            }
        }
        Store(key_, 1, false, 0);
        return false;
    }
    // Checks first, then captures, then quiet moves by history; illegal moves last.
    for (int i = begin; i < end; ++i) {
        const MoveWord m = moves_.ListMove(i);
        if (!board_.PlaySearchMove(m)) {
            moves_.AddToScore(i, Illegal);
            continue;
        }
        const bool check = board_.SideInCheck(defender);
        board_.UndoSearchMove();
        int bonus = check ? CheckBonus : 0;
        if (m == hint) bonus += HintBonus;
        if (!(MoveFlags(m) & (MoveFlag::Capture | MoveFlag::Promotion)))
            bonus += history_[MoveOrigin(m)][MoveTarget(m)];
        moves_.AddToScore(i, bonus);
    }
    for (int i = begin; i < end; ++i) {
        moves_.PickBestMove(ply, i);
        if (moves_.ListScore(i) < Illegal / 2) break;
        const MoveWord m = moves_.ListMove(i);
        if (!Play(m)) continue;
        const bool wins = DefenderLoses(n - 1);
        Undo();
        if (aborted_) return false;
        if (wins) {
            RaiseHistory(m, n);
            Store(key_, n, true, m);
            return true;
        }
    }
    Store(key_, n, false, 0);
    return false;
}

bool MateSolver::DefenderLoses(int k) {
    if (k == 0) {
        // The attacker's last move: mate, or not.
        const int side = board_.SideToMove();
        return board_.SideInCheck(side) && !HasLegalMove();
    }
    if (const TableEntry* e = Probe(key_)) {
        if (e->WinFrom && k >= e->WinFrom - 1) return true;
        if (e->FailTo && k <= e->FailTo - 1) return false;
    }
    return DefenderLosesExactly(k);
}

bool MateSolver::DefenderLosesExactly(int k) {
    if (Abort()) return false;
    const int ply = board_.Ply();
    const TableEntry* e = Probe(key_);
    const MoveWord hint = e ? e->Move : 0;
    moves_.GenerateAllMoves(board_);
    const int begin = moves_.ListBegin(ply), end = moves_.ListEnd(ply);
    // The refutation that worked before, here or in a sibling, first; then captures.
    for (int i = begin; i < end; ++i) {
        const MoveWord m = moves_.ListMove(i);
        int bonus = 0;
        if (m == hint)
            bonus = HintBonus;
        else if (m == killers_[ply][0])
            bonus = KillerBonus;
        else if (m == killers_[ply][1])
            bonus = KillerBonus / 2;
        if (!(MoveFlags(m) & (MoveFlag::Capture | MoveFlag::Promotion)))
            bonus += history_[MoveOrigin(m)][MoveTarget(m)];
        moves_.AddToScore(i, bonus);
    }
    bool anyMove = false;
    for (int i = begin; i < end; ++i) {
        moves_.PickBestMove(ply, i);
        const MoveWord m = moves_.ListMove(i);
        if (!Play(m)) continue;
        anyMove = true;
        const bool mated = AttackerMates(k);
        Undo();
        if (aborted_) return false;
        if (!mated) {
            if (killers_[ply][0] != m) {
                killers_[ply][1] = killers_[ply][0];
                killers_[ply][0] = m;
            }
            RaiseHistory(m, k);
            Store(key_, k, false, m);
            return false;
        }
    }
    // No move at all: mate if in check (the attacker's move mated), stalemate otherwise.
    const bool lost = anyMove || board_.SideInCheck(board_.SideToMove());
    Store(key_, k, lost, 0);
    return lost;
}

int MateSolver::FewestMoves(int limit) {
    for (int j = 1; j <= limit; ++j) {
        if (AttackerMates(j)) return j;
        if (aborted_) return 0;
    }
    return 0;
}

namespace {

// Of two moves the one whose text comes first, so that lines do not depend on the order
// in which the moves were generated.
bool TextBefore(MoveWord a, MoveWord b) {
    return MoveText(a) < MoveText(b);
}

} // namespace

void MateSolver::MainLine(int mateIn, std::vector<MoveWord>& line) {
    int played = 0;
    int k = mateIn - 1; // attacker moves left after the key
    while (!aborted_) {
        // The defender: the reply that puts the mate off longest.
        const int ply = board_.Ply();
        moves_.GenerateAllMoves(board_);
        MoveWord best = 0;
        int bestLength = -1;
        for (int i = moves_.ListBegin(ply); i < moves_.ListEnd(ply); ++i) {
            const MoveWord m = moves_.ListMove(i);
            if (!Play(m)) continue;
            const int length = FewestMoves(k);
            Undo();
            if (aborted_) break;
            if (length > bestLength || (length == bestLength && TextBefore(m, best))) {
                best = m;
                bestLength = length;
            }
        }
        if (!best || aborted_ || bestLength <= 0) break; // mated (or interrupted)
        Play(best);
        ++played;
        line.push_back(best);
        // The attacker: the quickest mate from here.
        moves_.GenerateAllMoves(board_);
        const int aply = board_.Ply();
        MoveWord answer = 0;
        for (int i = moves_.ListBegin(aply); i < moves_.ListEnd(aply); ++i) {
            const MoveWord m = moves_.ListMove(i);
            if (!Play(m)) continue;
            const bool wins = DefenderLoses(bestLength - 1);
            Undo();
            if (aborted_) break;
            if (wins && (!answer || TextBefore(m, answer))) answer = m;
        }
        if (!answer || aborted_) break;
        Play(answer);
        ++played;
        line.push_back(answer);
        k = bestLength - 1;
    }
    while (played-- > 0) Undo();
}

MateSolution MateSolver::Solve(const BoardState& position, int n, bool withLines,
                               MateLimits limits) {
    MateSolution result;
    n = std::clamp(n, 1, MaxMoves);
    board_.LoadPosition(position);
    moves_.Clear();
    attacker_ = board_.SideToMove();
    key_ = FullKey();
    nodes_ = 0;
    limits_ = limits;
    aborted_ = false;
    std::memset(killers_, 0, sizeof killers_);

    moves_.GenerateAllMoves(board_);
    std::vector<MoveWord> roots;
    for (int i = moves_.ListBegin(0); i < moves_.ListEnd(0); ++i) {
        const MoveWord m = moves_.ListMove(i);
        if (!board_.PlaySearchMove(m)) continue;
        board_.UndoSearchMove();
        roots.push_back(m);
    }
    // Every move is asked for a mate in 1, then the rest in 2, and so on: a move that
    // mates in j mates in every count above j too.
    std::vector<int> mateIn(roots.size(), 0);
    for (int j = 1; j <= n && !aborted_; ++j) {
        for (std::size_t i = 0; i < roots.size() && !aborted_; ++i) {
            if (mateIn[i]) continue;
            Play(roots[i]);
            const bool wins = DefenderLoses(j - 1);
            Undo();
            if (wins && !aborted_) mateIn[i] = j;
        }
    }
    for (std::size_t i = 0; i < roots.size(); ++i) {
        if (!mateIn[i]) continue;
        MateKey key;
        key.Move = roots[i];
        key.MateIn = mateIn[i];
        if (result.ShortestMate == 0 || key.MateIn < result.ShortestMate)
            result.ShortestMate = key.MateIn;
        result.Keys.push_back(std::move(key));
    }
    std::sort(result.Keys.begin(), result.Keys.end(),
              [](const MateKey& a, const MateKey& b) { return TextBefore(a.Move, b.Move); });
    if (withLines) {
        for (MateKey& key : result.Keys) {
            if (aborted_) break;
            key.Line.push_back(key.Move);
            Play(key.Move);
            MainLine(key.MateIn, key.Line);
            Undo();
        }
    }
    result.Complete = !aborted_;
    result.Nodes = nodes_;
    return result;
}

} // namespace qv::engine
