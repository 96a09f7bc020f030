// Reading and writing positions in Forsyth-Edwards Notation.
#include "board/core/BoardModel.h"

#include <charconv>
#include <sstream>
#include <vector>

namespace qv {

namespace {

std::vector<std::string_view> SplitFields(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > start) out.push_back(s.substr(start, i - start));
    }
    return out;
}

bool Fail(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

} // namespace

bool ParseFen(std::string_view fen, BoardState& out, std::string* error) {
    const auto fields = SplitFields(fen);
    if (fields.empty()) return Fail(error, "empty FEN");
    if (fields.size() > 6) return Fail(error, "too many FEN fields");

    std::string squares(64, ' ');
    int rank = 8, file = 1;
    for (char c : fields[0]) {
        if (c == '/') {
            if (file != 9 || rank == 1) return Fail(error, "bad rank layout in FEN placement");
            --rank;
            file = 1;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
            if (file > 9) return Fail(error, "rank too long in FEN placement");
        } else if (std::string_view("PNBRQKpnbrqk").find(c) != std::string_view::npos) {
            if (file > 8) return Fail(error, "rank too long in FEN placement");
            squares[SquareAt(file, rank) - 1] = c;
            ++file;
        } else {
            return Fail(error, "unexpected character in FEN placement");
        }
    }
    if (rank != 1 || file != 9)
        return Fail(error, "FEN placement must describe 8 ranks of 8 squares");

    bool white = true;
    if (fields.size() > 1) {
        if (fields[1] == "w")
            white = true;
        else if (fields[1] == "b")
            white = false;
        else
            return Fail(error, "side to move must be 'w' or 'b'");
    }
    CastleSet castling = 0;
    if (fields.size() > 2 && fields[2] != "-") {
        for (char c : fields[2]) {
            switch (c) {
            case 'K':
                castling |= WhiteKingSide;
                break;
            case 'Q':
                castling |= WhiteQueenSide;
                break;
            case 'k':
                castling |= BlackKingSide;
                break;
            case 'q':
                castling |= BlackQueenSide;
                break;
            default:
                return Fail(error, "bad castling field in FEN");
            }
        }
    }
    Square ep = None;
    if (fields.size() > 3 && fields[3] != "-") {
        ep = StrToSquare(fields[3]);
        if (ep == None || (RankOf(ep) != 3 && RankOf(ep) != 6))
            return Fail(error, "bad en-passant square in FEN");
    }
    int moveNumber = 1;
    if (fields.size() > 5) {
        const auto f = fields[5];
        auto [p, ec] = std::from_chars(f.data(), f.data() + f.size(), moveNumber);
        if (ec != std::errc() || p != f.data() + f.size() || moveNumber < 1 || moveNumber > 100000)
            return Fail(error, "bad move number in FEN");
    }

    out.SetSquaresFromText(squares);
    out.WhiteToMove = white;
    out.CastlingAllowed = castling;
    out.EnPassant = ep;
    out.CurrentMove = moveNumber;
    return true;
}

bool BoardModel::SetFen(std::string_view fen, std::string* error) {
    BoardState parsed;
    if (!ParseFen(fen, parsed, error)) return false;
    StopThinking();
    state_.SetSquaresFromText(parsed.PositionView());
    state_.WhiteToMove = parsed.WhiteToMove;
    state_.CastlingAllowed = parsed.CastlingAllowed;
    state_.EnPassant = parsed.EnPassant;
    state_.CurrentMove = parsed.CurrentMove;
    ++game_;
    recordStarted_ = false;
    first_ = last_ = Current();
    GameOver = false;
    if (view_) view_->Paint();
    return true;
}

std::string BoardModel::Fen() const {
    std::ostringstream out;
    for (int rank = 8; rank >= 1; --rank) {
        int empty = 0;
        for (int file = 1; file <= 8; ++file) {
            const char c = state_.Squares[SquareAt(file, rank)];
            if (PieceColorOf(c) == NoColor ||
                std::string_view("PNBRQKpnbrqk").find(c) == std::string_view::npos) {
                ++empty;
                continue;
            }
            if (empty) out << empty;
            empty = 0;
            out << c;
        }
        if (empty) out << empty;
        if (rank > 1) out << '/';
    }
    out << (state_.WhiteToMove ? " w " : " b ");
    const CastleSet c = state_.CastlingAllowed;
    std::string castling;
    if (c & WhiteKingSide) castling += 'K';
    if (c & WhiteQueenSide) castling += 'Q';
    if (c & BlackKingSide) castling += 'k';
    if (c & BlackQueenSide) castling += 'q';
    out << (castling.empty() ? "-" : castling) << ' ';
    out << (state_.EnPassant == None ? std::string("-") : SquareName(state_.EnPassant));
    out << " 0 " << state_.CurrentMove;
    return out.str();
}

} // namespace qv
