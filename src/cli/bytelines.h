// Lines of an untrusted byte stream, read in fixed blocks: a line longer
// than the limit is reported once and its rest skipped as it arrives, never
// held, so memory stays bounded whatever the input (/dev/zero, a 1 GB line).
// A read error is told apart from the end of the input.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Fills `buffer` with up to `size` bytes; returns the count, 0 at the end of
// the input, -1 on a read error (errno set).
using ByteSource = std::function<long(char* buffer, std::size_t size)>;

// ::read on `fd`, retried when a signal interrupts it.
ByteSource FileDescriptorSource(int fd);

class ByteLineReader {
  public:
    static constexpr std::size_t kMaxLine = 64 * 1024; // bytes, without the newline

    enum class Status {
        Line,    // `line` holds the next line, without its newline
        TooLong, // the line passed kMaxLine bytes; the next call skips its rest
        End,     // no more input
        Error,   // the source failed; ErrorNumber() says why
    };

    // `maxLine` other than kMaxLine only for tests of the reader itself.
    explicit ByteLineReader(ByteSource source, std::size_t maxLine = kMaxLine);

    Status Next(std::string& line);
    int LineNumber() const { return lineNumber_; } // of the line last returned, 1 first
    int ErrorNumber() const { return errorNumber_; }

  private:
    bool Fill(); // false at the end or on an error
    // Drops the bytes up to and including the next newline; false when the
    // input ends (or fails) first.
    bool SkipRestOfLine();

    ByteSource source_;
    std::size_t maxLine_;
    std::string block_;
    std::size_t begin_ = 0, end_ = 0; // the unread bytes of block_
    int lineNumber_ = 0;
    int errorNumber_ = 0;
    bool ended_ = false;
    bool skipping_ = false; // the last line was too long: its rest is still to come
};

// True when `bytes` is well-formed UTF-8: no stray continuation bytes,
// overlong forms, surrogates or code points above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);
