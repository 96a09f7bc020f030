// Puzzle text made fit for a script line: decoding and whitespace clean-up.
#include "puzzles/core/TextClean.h"

#include "script/core/TextEncoding.h"

namespace qv {

std::string CleanText(std::string_view text) {
    std::string decoded;
    if (IsValidUtf8(text)) {
        decoded.assign(text);
    } else {
        decoded.reserve(text.size() + 8);
        for (char ch : text) {
            const auto c = static_cast<unsigned char>(ch);
            // A byte the code page leaves undefined shows as the replacement character.
            const char32_t cp = Windows1252CodePoint(c);
            if (c < 0x80)
                decoded += ch;
            else
                AppendUtf8(decoded, cp >= 0x80 && cp < 0xA0 ? 0xFFFD : cp);
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
