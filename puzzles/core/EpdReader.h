// Records of an EPD file: one position per line with its operations.
#pragma once

#include "puzzles/core/LineReader.h"
#include "puzzles/core/PuzzleRecord.h"

#include <istream>

namespace qv {

// Every line that is not blank is a record: placement, side, castling and
// en-passant fields (a half-move clock and move number after them are allowed),
// then operations "opcode operands;". Used: bm (moves that score), am (moves to
// avoid), id (the title) and c0 (a comment). Other operations are ignored.
class EpdReader : public RecordReader {
public:
    explicit EpdReader(std::istream& in);
    bool Next(PuzzleRecord& record) override;
    std::uint64_t BytesRead() const override { return lines_.BytesRead(); }
    bool Failed() const override { return lines_.Failed(); }

private:
    LineReader lines_;
    long ordinal_ = 0;
};

// One EPD line into a record (Ordinal untouched); false when it is no EPD record.
bool ReadEpdLine(std::string_view line, PuzzleRecord& record);

} // namespace qv
