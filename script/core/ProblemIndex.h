// The index scan of a problem file and the lookup of a selected problem.
#pragma once

#include "script/core/Globales.h"

#include <string>
#include <vector>

namespace qv {

// Closes the problem file that is open (clearing ProblemFileOpen), opens path as
// ProblemFile, sets ProblemFileOpen and returns the list entries of its index
// lines in file order. The file is left at its end. Throws FileError when the file
// cannot be opened (ProblemFileOpen stays false).
std::vector<std::string> ScanProblemIndex(Globales& g, const std::string& path);

// Stores entry as ProblemTitle, rewinds ProblemFile and reads up to and including
// the index line that the entry names. Returns false when the end of the file is
// reached without finding it (the file then stands at its end).
bool SeekProblem(Globales& g, const std::string& entry);

// SeekProblem for a caller that already knows the entry's index line (0-based; the
// first line equal to its key, as SeekProblem would find it): stores entry as
// ProblemTitle and positions the file after that line, without reading the file from
// the start. False (file unchanged) when that line is not the entry's key.
bool SeekProblemAt(Globales& g, const std::string& entry, std::size_t indexLine);

} // namespace qv
