// Records checked move by move against the rules and turned into puzzles.
#include "puzzles/core/PuzzleBuilder.h"

#include "board/core/Playable.h"
#include "board/core/Rules.h"
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

bool BuildPuzzle(const PuzzleRecord& record, Puzzle& puzzle, std::string& reason) {
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

    if (std::none_of(puzzle.Steps.begin(), puzzle.Steps.end(),
                     [](const PuzzleStep& s) { return s.Role == PuzzleStep::Player; })) {
        reason = "no solution";
        return false;
    }
    if (puzzle.Title.empty())
        puzzle.Title = puzzle.PlayerIsWhite ? "White to play" : "Black to play";
    for (PuzzleStep& step : puzzle.Steps) step.FromSource = step.Accepted.size();
    AcceptAlternatives(puzzle);
    return true;
}

void AcceptAlternatives(Puzzle& puzzle) {
    if (puzzle.Steps.empty()) return;
    PuzzleStep& last = puzzle.Steps.back();
    if (last.Role != PuzzleStep::Player || !last.HasMove || last.Move.San.empty() ||
        last.Move.San.back() != '#')
        return;
    // The position of the last turn: replay the steps before it.
    BoardState b = puzzle.Start;
    for (std::size_t i = 0; i + 1 < puzzle.Steps.size(); ++i) {
        const ChessMove& m = puzzle.Steps[i].Move.Move;
        ApplyMove(b, m.From, m.To, m.Promotion);
    }
    std::array<ChessMove, 256> moves;
    const int n = ListLegalMoves(b, moves);
    for (int i = 0; i < n; ++i) {
        const ChessMove m = moves[i];
        const bool known =
            std::any_of(last.Accepted.begin(), last.Accepted.end(), [&](const PuzzleMove& a) {
                return a.Move.From == m.From && a.Move.To == m.To;
            });
        if (known) continue;
        BoardState after = b;
        ApplyMove(after, m.From, m.To, m.Promotion);
        if (IsCheckmate(after)) last.Accepted.push_back(Describe(b, m));
    }
}

} // namespace qv
