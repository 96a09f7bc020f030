// Buffered line splitting with a bound on the length of a line.
#include "puzzles/core/LineReader.h"

namespace qv {

namespace {
constexpr std::size_t BufferSize = 1 << 20;
}

LineReader::LineReader(std::istream& in, std::size_t maxLine)
    : in_(in), maxLine_(maxLine), buffer_(BufferSize) {}

bool LineReader::Fill() {
    if (eof_) return false;
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    const auto got = static_cast<std::size_t>(in_.gcount());
    if (in_.bad()) failed_ = true;
    if (got < buffer_.size()) eof_ = true;
    pos_ = 0;
    end_ = got;
    bytesRead_ += got;
    return got > 0;
}

bool LineReader::Next(std::string_view& line, bool& tooLong) {
    carry_.clear();
    tooLong = false;
    bool any = false; // has this line any byte or an end
    for (;;) {
        if (pos_ >= end_ && !Fill()) {
            if (!any && carry_.empty() && !tooLong) return false;
            ++lineNumber_;
            line = tooLong ? std::string_view() : std::string_view(carry_);
            return true;
        }
        if (pendingCr_) {
            pendingCr_ = false;
            if (buffer_[pos_] == '\n') ++pos_;
            continue;
        }
        const char* data = buffer_.data();
        std::size_t i = pos_;
        while (i < end_ && data[i] != '\n' && data[i] != '\r') ++i;
        const std::size_t length = i - pos_;
        if (!tooLong) {
            if (carry_.size() + length > maxLine_) {
                tooLong = true;
                carry_.clear();
            } else if (i < end_ && carry_.empty()) {
                line = std::string_view(data + pos_, length);
            } else {
                carry_.append(data + pos_, length);
            }
        }
        any = true;
        if (i >= end_) {
            pos_ = end_;
            continue;
        }
        // A line end: CR LF counts once, also when the LF comes with the next refill.
        const bool cr = data[i] == '\r';
        pos_ = i + 1;
        if (cr) {
            if (pos_ < end_) {
                if (data[pos_] == '\n') ++pos_;
            } else {
                pendingCr_ = true;
            }
        }
        ++lineNumber_;
        if (tooLong)
            line = std::string_view();
        else if (!carry_.empty() || length == 0)
            line = carry_.empty() ? std::string_view() : std::string_view(carry_);
        return true;
    }
}

} // namespace qv
