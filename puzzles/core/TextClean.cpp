// UTF-8 checking, Windows-1252 fallback and whitespace clean-up.
#include "puzzles/core/TextClean.h"

#include <cstdint>

namespace qv {

namespace {

// Windows-1252 0x80..0x9F; 0 where the code page has no character.
constexpr std::uint16_t Cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t len;
        std::uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
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
        if (i + len > text.size()) return false;
        for (std::size_t k = 1; k < len; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        // No overlong forms, no surrogates, nothing beyond U+10FFFF.
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

std::string CleanText(std::string_view text) {
    std::string decoded;
    if (IsValidUtf8(text)) {
        decoded.assign(text);
    } else {
        decoded.reserve(text.size() + 8);
        for (char ch : text) {
            const auto c = static_cast<unsigned char>(ch);
            if (c < 0x80)
                decoded += ch;
            else if (c < 0xA0)
                AppendUtf8(decoded, Cp1252High[c - 0x80] ? Cp1252High[c - 0x80] : 0xFFFD);
            else
                AppendUtf8(decoded, c);
        }
    }
    std::string out;
    out.reserve(decoded.size());
    bool space = true; // drops leading spaces
    for (char ch : decoded) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 32 || c == 127 || c == ' ') {
            if (!space) out += ' ';
            space = true;
        } else {
            out += ch;
            space = false;
        }
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

} // namespace qv
