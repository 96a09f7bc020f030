// Lines of a text stream read through one fixed buffer, so that reading a file of
// any size takes the same memory.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Splits a stream into lines at LF, CR LF or a lone CR (the end is not part of
// the line). A line longer than the limit is not kept: Next reports it as too
// long, with an empty text, and reading goes on after its end.
class LineReader {
public:
    LineReader(std::istream& in, std::size_t maxLine);

    // The next line; false at the end of the stream. The text stays valid until
    // the next call.
    bool Next(std::string_view& line, bool& tooLong);
    // Bytes taken from the stream so far (for progress).
    std::uint64_t BytesRead() const { return bytesRead_; }
    // Number of the line last returned, from 1.
    std::uint64_t LineNumber() const { return lineNumber_; }
    // Did the stream fail with an error other than its end?
    bool Failed() const { return failed_; }

private:
    bool Fill();

    std::istream& in_;
    std::size_t maxLine_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::string carry_; // the start of a line that crosses a refill
    bool pendingCr_ = false;
    bool eof_ = false;
    bool failed_ = false;
    std::uint64_t bytesRead_ = 0;
    std::uint64_t lineNumber_ = 0;
};

} // namespace qv
