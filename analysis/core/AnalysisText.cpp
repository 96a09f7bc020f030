// The engine's view of a position and the texts of the analysis.
#include "analysis/core/AnalysisText.h"

#include "analysis/core/UciParser.h"
#include "board/core/BoardModel.h"
#include "board/core/Playable.h"
#include "board/core/San.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace qv::analysis {

namespace {

// Moves of a mate score: the search never goes deeper than this many plies.
constexpr int MateZone = 200;

std::string MoveTextOf(const BoardState& b, const std::string& move) {
    ChessMove m;
    m.From = StrToSquare(move.substr(0, 2));
    m.To = StrToSquare(move.substr(2, 2));
    m.Promotion = move.size() == 5 ? move[4] : 0;
    return ToSan(b, m);
}

} // namespace

BoardState EnginePosition(const BoardState& b) {
    BoardState e = b;
    auto at = [&](Square sq) { return b.Squares[sq]; };
    CastleSet rights = 0;
    if (at(E1) == 'K') {
        if (at(H1) == 'R') rights |= b.CastlingAllowed & WhiteKingSide;
        if (at(A1) == 'R') rights |= b.CastlingAllowed & WhiteQueenSide;
    }
    if (at(E8) == 'k') {
        if (at(H8) == 'r') rights |= b.CastlingAllowed & BlackKingSide;
        if (at(A8) == 'r') rights |= b.CastlingAllowed & BlackQueenSide;
    }
    e.CastlingAllowed = rights;
    e.EnPassant = None;
    const Square ep = b.EnPassant;
    if (IsOnBoard(ep)) {
        // White to move: Black's pawn passed over a6..h6 to the square below it.
        const int rank = RankOf(ep), file = FileOf(ep);
        const bool white = b.WhiteToMove;
        if (rank == (white ? 6 : 3)) {
            const Square pawn = SquareAt(file, white ? 5 : 4);
            const Square from = SquareAt(file, white ? 7 : 2);
            if (at(pawn) == (white ? 'p' : 'P') && at(ep) == ' ' && at(from) == ' ')
                e.EnPassant = ep;
        }
    }
    return e;
}

std::string EngineFen(const BoardState& b) {
    const BoardState e = EnginePosition(b);
    std::string fen;
    for (int rank = 8; rank >= 1; --rank) {
        int empty = 0;
        for (int file = 1; file <= 8; ++file) {
            const char c = e.Squares[SquareAt(file, rank)];
            if (std::string_view("PNBRQKpnbrqk").find(c) == std::string_view::npos) {
                ++empty;
                continue;
            }
            if (empty) fen += char('0' + empty);
            empty = 0;
            fen += c;
        }
        if (empty) fen += char('0' + empty);
        if (rank > 1) fen += '/';
    }
    fen += e.WhiteToMove ? " w " : " b ";
    std::string castling;
    if (e.CastlingAllowed & WhiteKingSide) castling += 'K';
    if (e.CastlingAllowed & WhiteQueenSide) castling += 'Q';
    if (e.CastlingAllowed & BlackKingSide) castling += 'k';
    if (e.CastlingAllowed & BlackQueenSide) castling += 'q';
    fen += castling.empty() ? "-" : castling;
    fen += ' ';
    fen += e.EnPassant == None ? std::string("-") : SquareName(e.EnPassant);
    fen += " 0 " + std::to_string(e.CurrentMove > 0 ? e.CurrentMove : 1);
    return fen;
}

std::string WhyNotAnalysable(const BoardState& b) {
    const auto why = WhyNotPlayable(b);
    if (!why || why->empty()) return {};
    std::string sentence = *why;
    sentence[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence[0])));
    return sentence + ".";
}

EngineScore ScoreFromSearch(int score) {
    constexpr int Mate = 10000;
    if (score >= Mate - MateZone) return {true, (Mate - score + 1) / 2};
    if (score <= -Mate + MateZone) return {true, -((Mate + score) / 2)};
    return {false, score};
}

std::string ScoreText(const EngineScore& score, bool whiteToMove) {
    if (score.Mate) {
        // From White's view: positive when White mates.
        const bool whiteMates = whiteToMove ? score.Value > 0 : score.Value < 0;
        const bool moverMated = score.Value == 0;
        const bool forWhite = moverMated ? !whiteToMove : whiteMates;
        return std::string(forWhite ? "" : "-") + "mate in " +
               std::to_string(std::abs(score.Value));
    }
    const int cp = whiteToMove ? score.Value : -score.Value;
    char text[32];
    std::snprintf(text, sizeof text, "%s%d.%02d",
                  cp > 0   ? "+"
                  : cp < 0 ? "-"
                           : "",
                  std::abs(cp) / 100, std::abs(cp) % 100);
    return text;
}

std::string LineText(const BoardState& b, const std::vector<std::string>& pv, int maxMoves) {
    BoardModel board;
    if (!board.SetFen(EngineFen(b))) return {};
    std::string text;
    int count = 0;
    for (const std::string& move : pv) {
        if (maxMoves > 0 && count == maxMoves) break;
        if (!IsCoordinateMove(move)) break;
        const Square from = StrToSquare(move.substr(0, 2));
        const Square to = StrToSquare(move.substr(2, 2));
        if (!IsLegalIgnoringRepetition(board.State(), from, to)) break;
        const char piece = board.State().Squares[from];
        const bool promotes =
            (piece == 'P' && RankOf(to) == 8) || (piece == 'p' && RankOf(to) == 1);
        if (promotes != (move.size() == 5)) break;
        const BoardState before = board.State();
        board.PromotionPiece = promotes ? move[4] : 'q';
        if (!board.PlayMove(from, to)) break;
        if (!text.empty()) text += ' ';
        if (before.WhiteToMove)
            text += std::to_string(before.CurrentMove) + ". ";
        else if (count == 0)
            text += std::to_string(before.CurrentMove) + "... ";
        text += MoveTextOf(before, move);
        ++count;
    }
    return text;
}

std::string AnalysisLine(const AnalysisInfo& info, bool withMultiPv) {
    std::string line = "depth " + std::to_string(info.Depth);
    if (withMultiPv) line += " multipv " + std::to_string(info.MultiPv);
    line += info.Score.Mate ? " score mate " : " score cp ";
    line += std::to_string(info.Score.Value);
    line += " pv";
    for (const std::string& m : info.Pv) line += " " + m;
    return line;
}

} // namespace qv::analysis
