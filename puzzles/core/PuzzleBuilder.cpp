// Records checked move by move against the rules and turned into puzzles.
#include "puzzles/core/PuzzleBuilder.h"

#include "board/core/Playable.h"
#include "board/core/Rules.h"
#include "engine/core/MateSolver.h"
#include "puzzles/core/TextClean.h"

#include <algorithm>

namespace qv {

namespace {

// A FEN as collections write it: a move number of 0 is read as 1, and a missing
// side to move as White.
std::string NormaliseFen(const std::string& fen) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (i < fen.size()) {
        while (i < fen.size() && (fen[i] == ' ' || fen[i] == '\t')) ++i;
        std::size_t j = i;
        while (j < fen.size() && fen[j] != ' ' && fen[j] != '\t') ++j;
        if (j > i) fields.push_back(fen.substr(i, j - i));
        i = j;
    }
    if (fields.size() >= 6 && fields[5] == "0") fields[5] = "1";
    std::string out;
    for (const auto& f : fields) out += (out.empty() ? "" : " ") + f;
    return out;
}

std::string MoveLabel(const BoardState& b, const std::string& text) {
    return std::to_string(b.CurrentMove) + (b.WhiteToMove ? ". " : "... ") + text;
}

PuzzleMove Describe(const BoardState& b, const ChessMove& m) {
    PuzzleMove pm;
    pm.Move = m;
    pm.San = ToSan(b, m);
    pm.ScriptText = ScriptMoveText(b, m, pm.San);
    return pm;
}

// A position with an en-passant right cannot be set up by a script: set up the
// one before the double step instead and play the step as a lead-in. False when
// the position cannot have come about that way.
bool UndoDoubleStep(BoardState& start, PuzzleStep& step) {
    const Square ep = start.EnPassant;
    const bool whiteMoved = RankOf(ep) == 3; // the pawn passed over a3..h3
    const Square now = SquareAt(FileOf(ep), whiteMoved ? 4 : 5);
    const Square from = SquareAt(FileOf(ep), whiteMoved ? 2 : 7);
    const char pawn = whiteMoved ? 'P' : 'p';
    if (start.WhiteToMove != !whiteMoved || start.Squares[now] != pawn ||
        start.Squares[from] != ' ' || start.Squares[ep] != ' ')
        return false;
    BoardState before = start;
    before.Squares[now] = ' ';
    before.Squares[from] = pawn;
    before.EnPassant = None;
    before.WhiteToMove = whiteMoved;
    if (whiteMoved && before.CurrentMove > 1) --before.CurrentMove;
    const ChessMove m{from, now, 0};
    if (!IsLegalChessMove(before, m)) return false;
    BoardState check = before;
    ApplyMove(check, from, now, 0);
    if (check.PositionView() != start.PositionView() || check.EnPassant != ep) return false;
    step.Role = PuzzleStep::LeadIn;
    step.Move = Describe(before, m);
    start = before;
    return true;
}

bool HasEnPassantCapture(const BoardState& b) {
    if (b.EnPassant == None) return false;
    std::array<ChessMove, 256> moves;
    const int n = ListLegalMoves(b, moves);
    for (int i = 0; i < n; ++i) {
        const char p = b.Squares[moves[i].From];
        if (moves[i].To == b.EnPassant && (p == 'P' || p == 'p')) return true;
    }
    return false;
}

bool ReadMove(const BoardState& b, const std::string& text, bool coordinate, ChessMove& m) {
    return coordinate ? ParseCoordinateMove(b, text, m) : ParseSan(b, text, m);
}

ChessMove FromMoveWord(engine::MoveWord w) {
    static constexpr char Pieces[] = {0, 'n', 'b', 'r', 'q'};
    const int promotion = engine::MovePromotion(w);
    return ChessMove{static_cast<Square>(engine::MoveOrigin(w) + 1),
                     static_cast<Square>(engine::MoveTarget(w) + 1),
                     promotion >= 1 && promotion <= 4 ? Pieces[promotion] : '\0'};
}

bool SameSquares(const PuzzleMove& a, const ChessMove& m) {
    return a.Move.From == m.From && a.Move.To == m.To;
}

bool Accepts(const PuzzleStep& step, const ChessMove& m) {
    return std::any_of(step.Accepted.begin(), step.Accepted.end(),
                       [&](const PuzzleMove& a) { return SameSquares(a, m); });
}

// The steps of a goal-only record: the main line of the key that mates soonest.
bool SolveGoal(const PuzzleRecord& record, const BoardState& b, Puzzle& puzzle,
               const MateSearch& mates, std::string& reason) {
    const std::string goal = "mate in " + std::to_string(record.MateIn);
    if (record.MateSide && (record.MateSide == 'w') != b.WhiteToMove) {
        reason = std::string("the goal says ") + (record.MateSide == 'w' ? "White" : "Black") +
                 " mates, but the other side is to move";
        return false;
    }
    engine::MateLimits limits;
    limits.MaxNodes = mates.GoalNodes;
    const engine::MateSolution s = mates.Solver()->Solve(
        b, std::min(record.MateIn, engine::MateSolver::MaxMoves), true, limits);
    const engine::MateKey* key = nullptr;
    for (const engine::MateKey& k : s.Keys)
        if (!key || k.MateIn < key->MateIn) key = &k;
    if (!key) {
        reason = s.Complete ? "no " + goal + " (the solver finds none)"
                            : "no " + goal + " found within the solver's budget";
        return false;
    }
    BoardState pos = b;
    puzzle.PlayerIsWhite = b.WhiteToMove;
    for (std::size_t i = 0; i < key->Line.size(); ++i) {
        const ChessMove m = FromMoveWord(key->Line[i]);
        PuzzleStep step;
        step.Role = i % 2 == 0 ? PuzzleStep::Player : PuzzleStep::Opponent;
        step.Move = Describe(pos, m);
        if (step.Role == PuzzleStep::Player) step.Accepted.push_back(step.Move);
        puzzle.Steps.push_back(std::move(step));
        ApplyMove(pos, m.From, m.To, m.Promotion);
    }
    return true;
}

} // namespace

std::string ScriptMoveText(const BoardState& b, const ChessMove& m, const std::string& san) {
    std::string text;
    const char piece = b.Squares[m.From];
    const int df = FileOf(m.To) - FileOf(m.From);
    if ((piece == 'K' || piece == 'k') && (df == 2 || df == -2)) {
        text = df == 2 ? "0-0" : "0-0-0";
    } else {
        const bool pawn = piece == 'P' || piece == 'p';
        if (!pawn) text += static_cast<char>(piece >= 'a' ? piece - 32 : piece);
        text += SquareName(m.From);
        const bool capture = b.Squares[m.To] != ' ' || (pawn && df != 0);
        text += capture ? 'x' : '-';
        text += SquareName(m.To);
        if (m.Promotion) {
            text += '=';
            text += static_cast<char>(m.Promotion - 32);
        }
    }
    if (!san.empty() && (san.back() == '+' || san.back() == '#')) text += san.back();
    return text;
}

bool BuildPuzzle(const PuzzleRecord& record, Puzzle& puzzle, std::string& reason,
                 const MateSearch& mates) {
    puzzle = Puzzle();
    puzzle.Label = record.Ordinal;
    if (!record.Error.empty()) {
        reason = record.Error;
        return false;
    }
    BoardState b; // the initial position unless the record gives one
    if (!record.Fen.empty()) {
        std::string error;
        if (!ParseFen(NormaliseFen(record.Fen), b, &error)) {
            reason = "broken FEN: " + error;
            return false;
        }
    }
    if (const auto why = WhyNotPlayable(b)) {
        reason = "impossible position: " + *why;
        return false;
    }

    puzzle.Title = CleanText(record.Title);
    puzzle.Players = CleanText(record.Players);
    puzzle.Intro = record.Intro;

    // An en-passant right that matters is set up by playing the double step.
    PuzzleStep doubleStep;
    const bool undoStep = HasEnPassantCapture(b);
    if (!undoStep) b.EnPassant = None;
    BoardState start = b;
    if (undoStep) {
        if (!UndoDoubleStep(start, doubleStep)) {
            reason = "the en-passant right of the position cannot be set up";
            return false;
        }
        puzzle.Steps.push_back(doubleStep);
    }
    puzzle.Start = start;

    const std::size_t playerStarts = record.PlayerStarts;
    for (std::size_t i = 0; i < record.Moves.size(); ++i) {
        const RecordMove& rm = record.Moves[i];
        ChessMove m;
        if (!ReadMove(b, rm.Text, record.CoordinateMoves, m)) {
            reason = "illegal move " + MoveLabel(b, CleanText(rm.Text));
            return false;
        }
        PuzzleStep step;
        step.Role = i < playerStarts              ? PuzzleStep::LeadIn
                    : (i - playerStarts) % 2 == 0 ? PuzzleStep::Player
                                                  : PuzzleStep::Opponent;
        step.Move = Describe(b, m);
        if (step.Role == PuzzleStep::Player) {
            if (i == playerStarts) puzzle.PlayerIsWhite = b.WhiteToMove;
            step.Accepted.push_back(step.Move);
        }
        step.Comments = rm.Comments;
        puzzle.Steps.push_back(std::move(step));
        ApplyMove(b, m.From, m.To, m.Promotion);
    }

    // EPD: one turn; each bm move scores; with am alone every other move does.
    if (!record.BestMoves.empty() || !record.AvoidMoves.empty()) {
        if (!record.Moves.empty()) {
            reason = "a record with both moves and bm/am";
            return false;
        }
        PuzzleStep turn;
        turn.Role = PuzzleStep::Player;
        puzzle.PlayerIsWhite = b.WhiteToMove;
        for (const std::string& text : record.BestMoves) {
            ChessMove m;
            if (!ParseSan(b, text, m)) {
                reason = "illegal bm move " + CleanText(text);
                return false;
            }
            const PuzzleMove pm = Describe(b, m);
            if (std::none_of(turn.Accepted.begin(), turn.Accepted.end(),
                             [&](const PuzzleMove& a) { return a.Move == m; }))
                turn.Accepted.push_back(pm);
        }
        std::vector<ChessMove> avoid;
        for (const std::string& text : record.AvoidMoves) {
            ChessMove m;
            if (!ParseSan(b, text, m)) {
                reason = "illegal am move " + CleanText(text);
                return false;
            }
            avoid.push_back(m);
            turn.Avoided.push_back(ToSan(b, m));
        }
        if (turn.Accepted.empty()) {
            // Every legal move but the ones to avoid (a promotion counts once per
            // square pair: the .if lines compare origin and target only).
            std::array<ChessMove, 256> moves;
            const int n = ListLegalMoves(b, moves);
            for (int i = 0; i < n; ++i) {
                const ChessMove m = moves[i];
                if (m.Promotion && m.Promotion != 'q') continue;
                const bool avoided =
                    std::any_of(avoid.begin(), avoid.end(), [&](const ChessMove& a) {
                        return a.From == m.From && a.To == m.To;
                    });
                if (!avoided) turn.Accepted.push_back(Describe(b, m));
            }
            if (turn.Accepted.empty()) {
                reason = "no move is left to play";
                return false;
            }
            turn.HasMove = false;
        } else {
            turn.Move = turn.Accepted.front();
        }
        turn.Comments = record.Closing;
        puzzle.Steps.push_back(std::move(turn));
    }

    // A goal instead of moves: the solver finds them.
    if (record.Moves.empty() && record.BestMoves.empty() && record.AvoidMoves.empty() &&
        record.MateIn > 0 && mates.Solver) {
        if (!SolveGoal(record, b, puzzle, mates, reason)) return false;
    } else if (record.Moves.empty() && record.MateIn > 0 && !mates.Solver) {
        reason = "a mate in " + std::to_string(record.MateIn) + " without moves (solving is off)";
        return false;
    }

    if (std::none_of(puzzle.Steps.begin(), puzzle.Steps.end(),
                     [](const PuzzleStep& s) { return s.Role == PuzzleStep::Player; })) {
        reason = "no solution";
        return false;
    }
    if (puzzle.Title.empty())
        puzzle.Title = puzzle.PlayerIsWhite ? "White to play" : "Black to play";
    for (PuzzleStep& step : puzzle.Steps) step.FromSource = step.Accepted.size();
    AcceptAlternatives(puzzle, mates);
    return true;
}

void AcceptAlternatives(Puzzle& puzzle, const MateSearch& mates) {
    if (puzzle.Steps.empty()) return;
    PuzzleStep& last = puzzle.Steps.back();
    if (last.Role != PuzzleStep::Player || !last.HasMove || last.Move.San.empty() ||
        last.Move.San.back() != '#')
        return;
    int turnsLeft = 0;
    for (const PuzzleStep& step : puzzle.Steps) turnsLeft += step.Role == PuzzleStep::Player;
    long long budget = mates.MaxNodes;
    BoardState b = puzzle.Start;
    std::array<ChessMove, 256> moves;
    for (PuzzleStep& step : puzzle.Steps) {
        if (step.Role == PuzzleStep::Player && turnsLeft == 1) {
            // The last turn: every mating move (no search needed).
            const int n = ListLegalMoves(b, moves);
            for (int i = 0; i < n; ++i) {
                const ChessMove m = moves[i];
                if (Accepts(step, m)) continue;
                BoardState after = b;
                ApplyMove(after, m.From, m.To, m.Promotion);
                if (IsCheckmate(after)) step.Accepted.push_back(Describe(b, m));
            }
        } else if (step.Role == PuzzleStep::Player && mates.Solver &&
                   (mates.MaxNodes == 0 || budget > 0)) {
            engine::MateLimits limits;
            limits.MaxNodes = mates.MaxNodes == 0 ? 0 : budget;
            const engine::MateSolution s = mates.Solver()->Solve(
                b, std::min(turnsLeft, engine::MateSolver::MaxMoves), false, limits);
            budget -= s.Nodes;
            for (const engine::MateKey& key : s.Keys) {
                const ChessMove m = FromMoveWord(key.Move);
                if (!Accepts(step, m)) step.Accepted.push_back(Describe(b, m));
            }
        }
        if (step.Role == PuzzleStep::Player) --turnsLeft;
        const ChessMove& m = step.Move.Move;
        ApplyMove(b, m.From, m.To, m.Promotion);
    }
}

} // namespace qv
