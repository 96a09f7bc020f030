// One record of a puzzle source as its reader found it, before any chess sense
// is made of it, and the reader interface the formats share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// A move of the record's main line as written, with the comments that follow it.
struct RecordMove {
    std::string Text; // SAN, or the coordinate form when the record says so
    std::vector<std::string> Comments;
};

struct PuzzleRecord {
    long Ordinal = 0;             // 1-based over every record of the source
    std::string Error;            // the reader's reason to skip it, or empty
    std::string Fen;              // empty: the initial position
    bool CoordinateMoves = false; // moves are "e2e4"/"e7e8q" rather than SAN
    // Index of the player's first move in Moves: 0 when the side to move in the
    // FEN is the player, 1 when the first move is the opponent's lead-in.
    std::size_t PlayerStarts = 0;
    std::vector<RecordMove> Moves;       // the main line
    std::vector<std::string> Intro;      // comments before the first move
    std::vector<std::string> Closing;    // comments shown after the answer (EPD c0)
    std::vector<std::string> BestMoves;  // EPD bm: each one scores
    std::vector<std::string> AvoidMoves; // EPD am: the moves not to play
    // A goal given instead of moves ("mate in 2"): the moves to mate in, 0 for none,
    // and the side it names ('w', 'b', or 0 when it names none).
    int MateIn = 0;
    char MateSide = 0;
    std::string Title;               // where it came from
    std::string Players;             // PGN "White - Black", for .players
    int Rating = -1;                 // Lichess; -1 unknown
    std::vector<std::string> Themes; // Lichess
};

// A streaming reader of one source format. Each call yields the next record, so
// memory does not grow with the source.
class RecordReader {
public:
    virtual ~RecordReader() = default;
    // The next record; false at the end of the source.
    virtual bool Next(PuzzleRecord& record) = 0;
    // How many records so far looked like the format at all (a file of none
    // holds no puzzle of it).
    long Recognised() const { return recognised_; }
    virtual std::uint64_t BytesRead() const = 0;
    virtual bool Failed() const = 0;

protected:
    long recognised_ = 0;
};

} // namespace qv
