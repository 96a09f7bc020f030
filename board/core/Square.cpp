// Square name conversions.
#include "board/core/Square.h"

namespace qv {

Square StrToSquare(std::string_view text) {
    if (text.size() != 2) return None;
    char f = text[0];
    if (f >= 'A' && f <= 'Z') f = static_cast<char>(f - 'A' + 'a');
    const char r = text[1];
    if (f < 'a' || f > 'h' || r < '1' || r > '8') return None;
    return SquareAt(f - 'a' + 1, r - '0');
}

std::string SquareName(int sq) {
    if (!IsOnBoard(sq)) return "--";
    return {static_cast<char>('a' + FileOf(sq) - 1), static_cast<char>('0' + RankOf(sq))};
}

} // namespace qv
