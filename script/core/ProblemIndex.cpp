// The index scan of a problem file and the lookup of a selected problem.
#include "script/core/ProblemIndex.h"

#include "script/core/ScriptWords.h"

namespace qv {

std::vector<std::string> ScanProblemIndex(Globales& g, const std::string& path) {
    if (g.ProblemFileOpen) g.ProblemFile.Close();
    g.ProblemFileOpen = false;
    g.ProblemFile.Open(path); // throws FileError
    g.ProblemFileOpen = true;
    std::vector<std::string> entries;
    std::string_view line;
    while (g.ProblemFile.ReadLineView(line))
        if (IsIndexLine(line)) entries.push_back(IndexEntry(line));
    return entries;
}

bool SeekProblem(Globales& g, const std::string& entry) {
    g.ProblemTitle = entry;
    const std::string key = ProblemKey(entry);
    g.ProblemFile.Rewind();
    std::string_view line;
    while (g.ProblemFile.ReadLineView(line))
        if (line == key) return true;
    return false;
}

bool SeekProblemAt(Globales& g, const std::string& entry, std::size_t indexLine) {
    if (indexLine >= g.ProblemFile.LineCount() ||
        g.ProblemFile.Line(indexLine) != ProblemKey(entry))
        return false;
    g.ProblemTitle = entry;
    g.ProblemFile.Seek(indexLine + 1);
    return true;
}

} // namespace qv
