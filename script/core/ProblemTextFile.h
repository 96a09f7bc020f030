// The open problem file: its decoded lines and the one read position shared by
// the index scan, the problem lookup and the interpreter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
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
// line end, a line feed alone ends a line too, Ctrl-Z (26) ends the file.
// The bytes are decoded as UTF-8 when they are valid UTF-8 (a leading byte order
// mark is dropped) and as Windows-1252 otherwise; lines are UTF-8 text of any length.
//
// The text is kept once, as read, with the start of every 16th line marked, so a
// file costs little more memory than its size however its lines are cut. A file
// larger than MaxFileBytes, or one holding NUL bytes in bulk, is no problem file and
// is refused (FileError) before it is split into lines.
class ProblemTextFile {
public:
    static constexpr std::size_t MaxFileBytes = std::size_t{64} << 20; // 64 MiB

    // Opens and reads the file; throws FileError on failure (the object is then closed).
    void Open(const std::string& path);
    // Reads a file's lines from bytes already in memory (tests, tools).
    void OpenFromBytes(std::string bytes, const std::string& name = {});
    void Close();
    bool IsOpen() const { return open_; }
    const std::string& Name() const { return name_; }

    // Back to the first line.
    void Rewind() { pos_ = 0; }
    // The next line read is line i (0-based; at most LineCount()).
    void Seek(std::size_t i) { pos_ = i < lineCount_ ? i : lineCount_; }
    // No line left to read (also true when closed).
    bool AtEnd() const { return !open_ || pos_ >= lineCount_; }
    // Reads the next line into line and returns true; at the end returns false and
    // leaves line unchanged.
    bool ReadLine(std::string& line);
    // The same without a copy; the view stays valid until the file is closed or reopened.
    bool ReadLineView(std::string_view& line);

    // Number of lines and the index of the next line to read (0-based).
    std::size_t LineCount() const { return lineCount_; }
    std::size_t Position() const { return pos_; }
    // Line i (0-based, i < LineCount()), without moving the read position. The view
    // stays valid until the file is closed or opened again.
    std::string Line(std::size_t i) const { return std::string(LineView(i)); }
    std::string_view LineView(std::size_t i) const;
    // True when the file's bytes were decoded as Windows-1252.
    bool DecodedAsWindows1252() const { return windows1252_; }

private:
    static constexpr std::size_t MarkEvery = 16;
    // The offset just past the line end of the line that starts at offset start.
    std::size_t NextLineStart(std::size_t start) const;
    // The offset of the line end (or of the text's end) of the line starting at start.
    std::size_t LineEnd(std::size_t start) const;

    std::string text_;                 // the decoded text, line ends included
    std::vector<std::uint32_t> marks_; // start offset of lines 0, 16, 32 ...
    std::size_t lineCount_ = 0;
    // The line last looked up and its start, so that reading in order walks no text twice.
    mutable std::size_t cachedLine_ = 0;
    mutable std::size_t cachedStart_ = 0;
    std::size_t pos_ = 0;
    bool open_ = false;
    bool windows1252_ = false;
    std::string name_;
};

} // namespace qv
