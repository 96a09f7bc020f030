// Problem scripts from puzzles.
#include "puzzles/core/ProblemWriter.h"

namespace qv {

namespace {

constexpr const char* Eol = "\r\n";

// The problem file's piece letters: king R, queen D, rook T, bishop A, knight C,
// pawn P (upper case White), "1" for an empty square.
char RowLetter(char piece) {
    switch (piece) {
    case 'K':
        return 'R';
    case 'k':
        return 'r';
    case 'Q':
        return 'D';
    case 'q':
        return 'd';
    case 'R':
        return 'T';
    case 'r':
        return 't';
    case 'B':
        return 'A';
    case 'b':
        return 'a';
    case 'N':
        return 'C';
    case 'n':
        return 'c';
    case 'P':
    case 'p':
        return piece;
    default:
        return '1';
    }
}

void Line(std::string& out, std::string_view command, std::string_view text = {}) {
    out += command;
    if (!text.empty()) {
        out += ' ';
        out += text;
    }
    out += Eol;
}

void Comments(std::string& out, const std::vector<std::string>& comments) {
    for (const std::string& c : comments)
        if (!c.empty()) Line(out, ".rem", c);
}

std::string JoinSan(const std::vector<std::string>& moves) {
    std::string s;
    for (std::size_t i = 0; i < moves.size(); ++i)
        s += (i == 0 ? "" : i + 1 == moves.size() ? " or " : ", ") + moves[i];
    return s;
}

} // namespace

void WriteProblem(const Puzzle& puzzle, int points, std::string& out) {
    const std::string label = std::to_string(puzzle.Label);
    out += ".# ";
    out += label;
    if (!puzzle.Title.empty()) {
        out += ' ';
        out += puzzle.Title;
    }
    out += Eol;
    out += ".position";
    out += Eol;
    for (int rank = 8; rank >= 1; --rank) {
        for (int file = 1; file <= 8; ++file)
            out += RowLetter(puzzle.Start.Squares[SquareAt(file, rank)]);
        out += Eol;
    }
    const char* playerSide = puzzle.PlayerIsWhite ? "white" : "black";
    Line(out, ".plays", puzzle.Start.WhiteToMove ? "white" : "black");
    if (!puzzle.Players.empty()) Line(out, ".players", puzzle.Players);
    Comments(out, puzzle.Intro);

    const std::string pointsText = std::to_string(points);
    bool leadIn = false;
    for (const PuzzleStep& step : puzzle.Steps) {
        switch (step.Role) {
        case PuzzleStep::LeadIn:
            Line(out, ".m", step.Move.ScriptText);
            leadIn = true;
            break;
        case PuzzleStep::Player:
            if (leadIn) {
                Line(out, ".plays", playerSide); // the label names the player's side
                leadIn = false;
            }
            Line(out, puzzle.PlayerIsWhite ? ".*w" : ".*b");
            for (std::size_t i = 0; i < step.Accepted.size(); ++i) {
                const PuzzleMove& a = step.Accepted[i];
                const bool alternative = i >= step.FromSource;
                Line(out, ".if",
                     SquareName(a.Move.From) + SquareName(a.Move.To) + " " + a.San + " " +
                         pointsText +
                         (!alternative          ? " Correct."
                          : a.San.back() == '#' ? " Also mate."
                                                : " Also forces mate."));
            }
            Line(out, ".back");
            if (step.HasMove)
                Line(out, ".m", step.Move.ScriptText);
            else
                Line(out, ".rem",
                     (step.Avoided.size() == 1 ? "The move to avoid was "
                                               : "The moves to avoid were ") +
                         JoinSan(step.Avoided) + ".");
            break;
        case PuzzleStep::Opponent:
            Line(out, ".m", step.Move.ScriptText);
            break;
        }
        Comments(out, step.Comments);
    }
    Line(out, ".end");
}

} // namespace qv
