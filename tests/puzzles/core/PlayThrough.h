// Imports puzzle text and plays the problems it gives through the trainer's own
// problem flow, as a user who answers every turn.
#pragma once

#include "puzzles/core/PuzzleImport.h"

#include <string>
#include <vector>

namespace qvtest {

struct Imported {
    std::string Script;
    std::vector<std::string> Entries; // the index list
    std::vector<std::pair<long, std::string>> Skipped;
    qv::ImportSummary Summary;
};

Imported Import(const std::string& source, qv::ImportOptions options);

// The moves ("e2e4") that the .if lines of each of the player's turns accept, in
// script order, for the problem of the given list entry.
std::vector<std::vector<std::string>> AcceptedMoves(const std::string& script,
                                                    const std::string& entry);

// Plays a problem through: at each turn the move given by answers (turn by turn;
// a missing one: the first accepted move). Returns the total points; turns counts
// the user's turns that came.
int Play(const std::string& script, const std::string& entry,
         const std::vector<std::string>& answers, int& turns);

// Every problem of the script to full points with its solution, and to fewer with
// a wrong first move; adds a test failure naming the problem otherwise.
void ExpectEveryProblemScores(const Imported& imported, int points);

} // namespace qvtest
