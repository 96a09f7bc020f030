// Records of a PGN file: tag pairs and the main line of the movetext.
#pragma once

#include "puzzles/core/LineReader.h"
#include "puzzles/core/PuzzleRecord.h"

#include <istream>
#include <string>

namespace qv {

// A record begins with a tag pair line ("[FEN "..."]"); text before the first one
// is not part of any record. The FEN tag gives the position (SetUp is not
// needed), White, Black, Event, Date and Termination make the title; a Termination
// that states a mate goal (ParseMateGoal) is kept as the record's goal. In the
// movetext, move numbers ("12.", "38...") and NAGs ("$1") are dropped, variations
// are skipped, and comments ("{...}" and ";" to the end of the line) are kept with
// the move they follow. A record whose text exceeds a megabyte is skipped.
class PgnReader : public RecordReader {
public:
    explicit PgnReader(std::istream& in);
    bool Next(PuzzleRecord& record) override;
    std::uint64_t BytesRead() const override { return lines_.BytesRead(); }
    bool Failed() const override { return lines_.Failed(); }

private:
    LineReader lines_;
    std::string pending_; // a tag line that began the next record
    bool havePending_ = false;
    long ordinal_ = 0;
};

// The movetext of one record split into the main line and its comments.
void ReadPgnMovetext(std::string_view movetext, PuzzleRecord& record);

// A goal as collections write it in the Termination tag: "mate in 2", "Mate in 2",
// "#2", "White mates in 2", "Black to play and mate in 3", "White to move and mates
// in two" (numbers up to ten may be spelt out). Gives the number of moves (1 to 30)
// and the side named ('w', 'b', or 0); false for any other text.
bool ParseMateGoal(std::string_view text, int& moves, char& side);

} // namespace qv
