// The word rules of problem-file lines and the texts built from them: command
// words, index lines and list entries, position blocks, diagram squares.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Words: only the space (32) separates words; a word is a maximal run of other
// characters. Words are counted from 1.

// Word n, or "" when the line has fewer than n words.
std::string Word(std::string_view line, int n);
// From the first character of word n to the end of the line (inner and trailing
// spaces kept); "" when the line has fewer than n words.
std::string RestFrom(std::string_view line, int n);
// From the first character of word n to the last of word m; the rest of the line
// from word n when the line has fewer than m words.
std::string Words(std::string_view line, int n, int m);
// The number of words.
int WordCount(std::string_view line);
// What remains after the last character of word n (the spaces after it included);
// "" when the line has fewer than n words.
std::string AfterWord(std::string_view line, int n);

// Word 1 in (ASCII) lower case without its leading and trailing dots: ".REM" and
// "..rem." give "rem", "." gives "".
std::string CommandWord(std::string_view line);

// Does the line begin with ".#"?
bool IsIndexLine(std::string_view line);
// The list entry of an index line: word 2, one space, the rest from word 3.
std::string IndexEntry(std::string_view line);
// The index line that a list entry is found by: ".# LABEL" or ".# LABEL TITLE".
std::string ProblemKey(std::string_view entry);

// The UTF-8 characters of a text, each as its own piece (an invalid byte is one piece).
std::vector<std::string_view> Utf8Chars(std::string_view text);

// At most the first eight characters of a position block's row line, re-lettered
// to the position string: "1" and space empty, R/D/T/A/C/P king, queen, rook,
// bishop, knight, pawn (upper case White), any other ASCII character unchanged; a
// character outside ASCII becomes "?" (one square, read as empty by the board).
std::string RowToPosition(std::string_view rowLine);

// A square argument of .arrow, .circle and .square, read from its first two characters
// as the diagram window reads it: the file letter "A".."H" (lower case accepted) and
// the rank, the second character converted as a decimal integer. A second character
// that is not a digit throws ConvertError naming it (a non-ASCII character whole),
// whatever the first; Valid is false, and nothing is drawn, when the word has fewer
// than two characters or names no square of the board.
struct DiagramSquare {
    bool Valid = false;
    int File = 0; // 1..8 when Valid
    int Rank = 0; // 1..8 when Valid
};
DiagramSquare ParseDiagramSquare(std::string_view word);

} // namespace qv
