// Reading a problem file: line ends, Ctrl-Z, and the choice between UTF-8 and Windows-1252.
#include "script/core/ProblemTextFile.h"

#include "script/core/FileErrors.h"
#include "script/core/TextEncoding.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace qv {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

const char* const TooLarge = "Not a problem file: larger than 64 MiB";
const char* const Binary = "Not a problem file: it holds binary data (NUL bytes)";

// A stray NUL byte may be a slip in a text file; many of them make a binary file.
bool HoldsNulBytesInBulk(std::string_view bytes) {
    std::size_t nul = 0;
    for (char c : bytes) nul += c == '\0';
    return nul >= 16 && nul * 100 >= bytes.size();
}

} // namespace

void ProblemTextFile::Open(const std::string& path) {
    Close();
    if (path.empty()) throw FileError("File not found");
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) throw FileError(FileErrorText(errno, FileAction::Open));
    std::string bytes;
    char buf[65536];
    for (;;) {
        const std::size_t got = std::fread(buf, 1, sizeof buf, f.get());
        bytes.append(buf, got);
        // Never more than the limit, whatever the file (a device may have no end), and
        // no further than the first block of a binary file.
        if (bytes.size() > MaxFileBytes) throw FileError(TooLarge);
        if (bytes.size() == got && HoldsNulBytesInBulk(bytes)) throw FileError(Binary);
        if (got < sizeof buf) {
            // A directory opens on some systems and then fails to read.
            if (std::ferror(f.get())) throw FileError(FileErrorText(errno, FileAction::Read));
            break;
        }
    }
    OpenFromBytes(std::move(bytes), path);
}

void ProblemTextFile::OpenFromBytes(std::string raw, const std::string& name) {
    Close();
    if (raw.size() > MaxFileBytes) throw FileError(TooLarge);
    if (HoldsNulBytesInBulk(raw)) throw FileError(Binary);
    // Ctrl-Z ends the file wherever it stands.
    if (const auto z = raw.find('\x1A'); z != std::string::npos) raw.resize(z);
    if (IsValidUtf8(raw)) {
        if (raw.compare(0, 3, "\xEF\xBB\xBF") == 0) raw.erase(0, 3);
        text_ = std::move(raw); // kept as read: no second copy of the file
    } else {
        text_ = Windows1252ToUtf8(raw);
        windows1252_ = true;
    }
    // Text after the last line end is a last line of its own.
    for (std::size_t start = 0; start < text_.size(); start = NextLineStart(start)) {
        if (lineCount_ % MarkEvery == 0) marks_.push_back(static_cast<std::uint32_t>(start));
        ++lineCount_;
    }
    name_ = name;
    pos_ = 0;
    open_ = true;
}

std::size_t ProblemTextFile::LineEnd(std::size_t start) const {
    // A plain loop: much faster than find_first_of over a set of two characters.
    const char* p = text_.data() + start;
    const char* const end = text_.data() + text_.size();
    while (p != end && *p != '\r' && *p != '\n') ++p;
    return static_cast<std::size_t>(p - text_.data());
}

std::size_t ProblemTextFile::NextLineStart(std::size_t start) const {
    // A carriage return ends a line, and a line feed right after it is part of the
    // same line end; a line feed alone ends a line as well.
    const std::size_t end = LineEnd(start);
    if (end == text_.size()) return text_.size();
    if (text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n') return end + 2;
    return end + 1;
}

std::string_view ProblemTextFile::LineView(std::size_t i) const {
    if (i >= lineCount_) return {};
    std::size_t line = i - i % MarkEvery;
    std::size_t start = marks_[i / MarkEvery];
    if (cachedLine_ <= i && cachedLine_ > line) line = cachedLine_, start = cachedStart_;
    for (; line < i; ++line) start = NextLineStart(start);
    cachedLine_ = i;
    cachedStart_ = start;
    return std::string_view(text_).substr(start, LineEnd(start) - start);
}

void ProblemTextFile::Close() {
    text_.clear();
    text_.shrink_to_fit();
    marks_.clear();
    marks_.shrink_to_fit();
    lineCount_ = 0;
    cachedLine_ = cachedStart_ = 0;
    pos_ = 0;
    open_ = false;
    windows1252_ = false;
    name_.clear();
}

bool ProblemTextFile::ReadLine(std::string& line) {
    if (AtEnd()) return false;
    line = LineView(pos_++);
    return true;
}

bool ProblemTextFile::ReadLineView(std::string_view& line) {
    if (AtEnd()) return false;
    line = LineView(pos_++);
    return true;
}

} // namespace qv
