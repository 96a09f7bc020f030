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

} // namespace qv
