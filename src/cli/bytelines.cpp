#include "cli/bytelines.h"

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace {

constexpr std::size_t kBlock = 64 * 1024;

} // namespace

ByteSource FileDescriptorSource(int fd) {
    return [fd](char* buffer, std::size_t size) -> long {
        while (true) {
            const ssize_t n = ::read(fd, buffer, size);
            if (n >= 0 || errno != EINTR) return static_cast<long>(n);
        }
    };
}

ByteLineReader::ByteLineReader(ByteSource source, std::size_t maxLine)
    : source_(std::move(source)), maxLine_(maxLine), block_(kBlock, '\0') {}

bool ByteLineReader::Fill() {
    if (ended_) return false;
    const long n = source_(block_.data(), block_.size());
    if (n <= 0) {
        ended_ = true;
        if (n < 0) errorNumber_ = errno != 0 ? errno : EIO;
        return false;
    }
    begin_ = 0;
    end_ = static_cast<std::size_t>(n);
    return true;
}

bool ByteLineReader::SkipRestOfLine() {
    while (true) {
        const std::size_t newline = block_.find('\n', begin_);
        if (newline < end_) {
            begin_ = newline + 1;
            return true;
        }
        begin_ = end_;
        if (!Fill()) return false;
    }
}

ByteLineReader::Status ByteLineReader::Next(std::string& line) {
    line.clear();
    if (skipping_) {
        skipping_ = false;
        if (!SkipRestOfLine()) return errorNumber_ != 0 ? Status::Error : Status::End;
    }
    bool started = false;
    while (true) {
        if (begin_ == end_ && !Fill()) {
            if (errorNumber_ != 0) return Status::Error;
            if (!started) return Status::End;
            ++lineNumber_; // a last line without its newline
            return Status::Line;
        }
        if (!started) {
            started = true;
            ++lineNumber_;
        }
        const std::size_t newline = block_.find('\n', begin_);
        const std::size_t stop = newline < end_ ? newline : end_;
        if (line.size() + (stop - begin_) > maxLine_) {
            // Told at once (an endless line still gets its answer); the rest
            // is dropped on the next call, the newline with it.
            begin_ = stop;
            skipping_ = true;
            line.clear();
            return Status::TooLong;
        }
        line.append(block_, begin_, stop - begin_);
        begin_ = stop;
        if (newline < end_) {
            ++begin_;
            return Status::Line;
        }
    }
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF; // the second byte's range
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;  // no overlong forms
            if (lead == 0xED) high = 0x9F; // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F; // nothing above U+10FFFF
        } else {
            return false;
        }
        if (bytes.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + k]);
            if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return false;
        }
        i += length;
    }
    return true;
}
