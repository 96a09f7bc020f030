// The run-time's words for a failed file operation, shared by the problem-file reader and
// the save commands so that the same failure reads the same everywhere.
#pragma once

#include <string>

namespace qv {

// What was being done to the file when it failed.
enum class FileAction {
    Open,   // opening an existing file for reading
    Create, // creating a file, or emptying one, for writing
    Read,   // reading from an open file
    Write,  // writing to (or finishing) an open file
};

// The message for an errno value, without a final full stop (the error box adds it):
// "File not found", "Invalid filename", "File access denied", "Too many open files",
// "Disk full", "Disk read error", or "I/O error N" for a code without words of its own.
// A missing path reads "File not found" when opening and "Invalid filename" when
// creating (only a missing folder can make a creation fail so).
std::string FileErrorText(int errorNumber, FileAction action);

} // namespace qv
