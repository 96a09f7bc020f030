// The open problem file: its decoded lines and the one read position shared by
// the index scan, the problem lookup and the interpreter.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv {

// Raised when a problem file cannot be opened or read. what() is the run-time's
// message for the failure without a final full stop (FileErrorText: "File not found",
// "File access denied", "Invalid filename", "Too many open files", "Disk read error");
// the error box adds the full stop.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A problem file read line by line. Opening reads the whole file at once:
// a carriage return ends a line, a line feed directly after it belongs to the same
// line end, a line feed alone is an ordinary character, Ctrl-Z (26) ends the file.
// The bytes are decoded as UTF-8 when they are valid UTF-8 (a leading byte order
// mark is dropped) and as Windows-1252 otherwise; lines are kept as UTF-8 text of
// any length.
class ProblemTextFile {
public:
    // Opens and reads the file; throws FileError on failure (the object is then closed).
    void Open(const std::string& path);
    // Reads a file's lines from bytes already in memory (tests, tools).
    void OpenFromBytes(const std::string& bytes, const std::string& name = {});
    void Close();
    bool IsOpen() const { return open_; }
    const std::string& Name() const { return name_; }

    // Back to the first line.
    void Rewind() { pos_ = 0; }
    // No line left to read (also true when closed).
    bool AtEnd() const { return !open_ || pos_ >= lines_.size(); }
    // Reads the next line into line and returns true; at the end returns false and
    // leaves line unchanged.
    bool ReadLine(std::string& line);

    // Number of lines and the index of the next line to read (0-based).
    std::size_t LineCount() const { return lines_.size(); }
    std::size_t Position() const { return pos_; }
    // Line i (0-based, i < LineCount()), without moving the read position.
    const std::string& Line(std::size_t i) const { return lines_[i]; }
    // True when the file's bytes were decoded as Windows-1252.
    bool DecodedAsWindows1252() const { return windows1252_; }

private:
    std::vector<std::string> lines_;
    std::size_t pos_ = 0;
    bool open_ = false;
    bool windows1252_ = false;
    std::string name_;
};

} // namespace qv
