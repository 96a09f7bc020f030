// Free text from a puzzle source made fit for one line of a problem script.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// The text as valid UTF-8 (bytes that are not UTF-8 are read as Windows-1252),
// with control characters turned into spaces, runs of spaces made one, and no
// space at either end. A problem script line made of it cannot be broken up,
// cut short (Ctrl-Z) or turn the file into another encoding.
std::string CleanText(std::string_view text);

} // namespace qv
