// Reading a problem file: line ends, Ctrl-Z, and the choice between UTF-8 and Windows-1252.
#include "script/core/ProblemTextFile.h"

#include "script/core/FileErrors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace qv {

namespace {

// Windows-1252 code points of the bytes 0x80..0x9F; the five bytes that the code
// page leaves undefined map to the C1 control of the same number.
constexpr char32_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        char32_t cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(len) > n) return false;
        for (int k = 1; k < len; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(len);
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            out += ch;
        else if (c < 0xA0)
            AppendUtf8(out, Cp1252High[c - 0x80]);
        else
            AppendUtf8(out, c);
    }
    return out;
}

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
