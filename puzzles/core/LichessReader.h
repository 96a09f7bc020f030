// Rows of the Lichess puzzle database (CSV).
#pragma once

#include "puzzles/core/LineReader.h"
#include "puzzles/core/PuzzleRecord.h"

#include <istream>

namespace qv {

// Columns PuzzleId, FEN, Moves, Rating, RatingDeviation, Popularity, NbPlays,
// Themes, GameUrl, OpeningTags; a first row that has the fields "FEN" and "Moves"
// is a header and may name them in another order. Every other line that is not blank is a record.
// The FEN is the position before the opponent's move Moves[0]; the player answers with Moves[1],
// Moves[3] ... Moves are in the coordinate form ("e7e8q").
class LichessReader : public RecordReader {
public:
    explicit LichessReader(std::istream& in);
    bool Next(PuzzleRecord& record) override;
    std::uint64_t BytesRead() const override { return lines_.BytesRead(); }
    bool Failed() const override { return lines_.Failed(); }

private:
    LineReader lines_;
    long ordinal_ = 0;
    bool first_ = true;
    int id_ = 0, fen_ = 1, moves_ = 2, rating_ = 3, themes_ = 7;
};

} // namespace qv
