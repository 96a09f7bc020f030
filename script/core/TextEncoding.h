// UTF-8 checking and writing, and the Windows-1252 code page: what problem files and
// puzzle sources are decoded with.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);
// Appends the code point (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);
// The code point of a Windows-1252 byte; the five bytes that the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) give the C1 control of the same number.
char32_t Windows1252CodePoint(unsigned char c);
// The bytes read as Windows-1252, written as UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

} // namespace qv
