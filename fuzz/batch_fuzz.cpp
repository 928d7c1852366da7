// Arbitrary bytes as the input of `tavrel-calc batch`, delivered in chunks of
// arbitrary sizes: every answer is one line of valid JSON (an object with
// results or an error), there is never more than one answer per input line,
// and nothing escapes.  The line reader alone, with a small line limit, must
// cut the bytes exactly where a plain split at '\n' does.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/batchrun.h"
#include "cli/bytelines.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "batch_fuzz: %s\n", what);
    std::abort();
}

// Hands out `bytes` in pieces whose sizes come from `sizes` (1 to 64 bytes,
// or all that is left once the sizes run out).
ByteSource ChunkedSource(const std::string& bytes, std::vector<std::uint8_t> sizes) {
    return [&bytes, sizes, at = std::size_t{0}, next = std::size_t{0}](
               char* buffer, std::size_t size) mutable -> long {
        if (at == bytes.size()) return 0;
        std::size_t n = bytes.size() - at;
        if (next < sizes.size()) n = std::min<std::size_t>(n, sizes[next++] % 64 + 1);
        n = std::min(n, size);
        std::memcpy(buffer, bytes.data() + at, n);
        at += n;
        return static_cast<long>(n);
    };
}

void CheckReader(const std::string& bytes, const std::vector<std::uint8_t>& sizes,
                 std::size_t maxLine) {
    ByteLineReader reader(ChunkedSource(bytes, sizes), maxLine);
    std::size_t begin = 0;
    std::string line;
    while (begin < bytes.size()) {
        std::size_t end = bytes.find('\n', begin);
        if (end == std::string::npos) end = bytes.size();
        const ByteLineReader::Status status = reader.Next(line);
        if (end - begin > maxLine) {
            if (status != ByteLineReader::Status::TooLong) Fail("a long line was not refused");
        } else if (status != ByteLineReader::Status::Line ||
                   line != bytes.substr(begin, end - begin)) {
            Fail("a line was not read as it is");
        }
        begin = end + 1;
    }
    if (reader.Next(line) != ByteLineReader::Status::End) Fail("bytes after the last line");
}

void CheckBatch(const std::string& bytes, const std::vector<std::uint8_t>& sizes) {
    std::ostringstream out, err;
    const int status = RunBatch(ChunkedSource(bytes, sizes), out, err, "fuzz input");
    if (status != 0 && status != 1) Fail("an exit status other than 0 or 1");
    std::size_t inputLines = 0;
    for (char c : bytes)
        inputLines += c == '\n';
    ++inputLines;
    std::istringstream answers(out.str());
    std::size_t count = 0;
    for (std::string answer; std::getline(answers, answer); ++count) {
        const auto json = nlohmann::json::parse(answer, nullptr, false);
        if (json.is_discarded() || !json.is_object()) Fail("an answer is not a JSON object");
        if (!json.contains("error") && !json.contains("line")) Fail("an answer says nothing");
        if (json.contains("error") && !json.contains("input_line")) Fail("an error without its line");
    }
    if (count > inputLines) Fail("more answers than input lines");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider fdp(data, size);
    const auto maxLine = fdp.ConsumeIntegralInRange<std::size_t>(0, 80);
    const std::vector<std::uint8_t> sizes = fdp.ConsumeBytes<std::uint8_t>(fdp.ConsumeIntegralInRange(0, 16));
    const std::string bytes = fdp.ConsumeRemainingBytesAsString();
    CheckReader(bytes, sizes, maxLine);
    CheckBatch(bytes, sizes);
    return 0;
}
