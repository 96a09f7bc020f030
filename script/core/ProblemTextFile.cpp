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
        if (got < sizeof buf) {
            // A directory opens on some systems and then fails to read.
            if (std::ferror(f.get())) throw FileError(FileErrorText(errno, FileAction::Read));
            break;
        }
    }
    OpenFromBytes(bytes, path);
}

void ProblemTextFile::OpenFromBytes(const std::string& raw, const std::string& name) {
    Close();
    std::string_view bytes(raw);
    // Ctrl-Z ends the file wherever it stands.
    if (const auto z = bytes.find('\x1A'); z != std::string_view::npos) bytes = bytes.substr(0, z);
    std::string text;
    if (IsValidUtf8(bytes)) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        text.assign(bytes);
    } else {
        text = Windows1252ToUtf8(bytes);
        windows1252_ = true;
    }
    // A carriage return ends a line; a line feed right after it is part of the same
    // line end. Text after the last line end is a last line of its own.
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') continue;
        lines_.emplace_back(text, start, i - start);
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines_.emplace_back(text, start, std::string::npos);
    name_ = name;
    pos_ = 0;
    open_ = true;
}

void ProblemTextFile::Close() {
    lines_.clear();
    lines_.shrink_to_fit();
    pos_ = 0;
    open_ = false;
    windows1252_ = false;
    name_.clear();
}

bool ProblemTextFile::ReadLine(std::string& line) {
    if (AtEnd()) return false;
    line = lines_[pos_++];
    return true;
}

} // namespace qv
