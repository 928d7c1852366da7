#include "cli/batchrun.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/calcrun.h"
#include "cli/cliargs.h"
#include "cli/jsontext.h"

namespace {

using nlohmann::ordered_json;

std::vector<std::string> Words(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

// One input line's answer and whether it gave results.
bool RunLine(const std::vector<std::string>& words, int lineNumber, ordered_json& answer) {
    try {
        const CliRequest request = ParseCommandLine(words);
        if (request.operation != CliRequest::Operation::Analyze &&
            request.operation != CliRequest::Operation::Synthesize)
            throw UsageError("a batch line is an analyze or synthesize call");
        if (Calculate(request, answer) == 0) return true;
    } catch (const UsageError& e) {
        answer = ordered_json{{"error", e.what()}};
    } catch (const InputRuleError& e) {
        answer = ordered_json{{"error", e.what()}};
    }
    answer["input_line"] = lineNumber;
    return false;
}

// A line refused before its words are read.
ordered_json Refused(const std::string& reason, int lineNumber) {
    return ordered_json{{"error", reason}, {"input_line", lineNumber}};
}

struct OpenFile {
    int fd;
    ~OpenFile() {
        if (fd >= 0) ::close(fd);
    }
};

} // namespace

int RunBatch(const ByteSource& source, std::ostream& out, std::ostream& err,
             const std::string& name) {
    using Status = ByteLineReader::Status;
    bool allRan = true;
    ByteLineReader reader(source);
    std::string line;
    ordered_json answer;
    for (Status status; (status = reader.Next(line)) != Status::End;) {
        if (status == Status::Error) {
            err << "tavrel-calc: cannot read " << name << ": "
                << std::strerror(reader.ErrorNumber()) << '\n';
            return 1;
        }
        const int number = reader.LineNumber();
        bool ran = false;
        if (status == Status::TooLong) {
            answer = Refused("the line is longer than " +
                                 std::to_string(ByteLineReader::kMaxLine) + " bytes, skipped",
                             number);
        } else if (!IsValidUtf8(line)) {
            answer = Refused("the line is not valid UTF-8, skipped", number);
        } else {
            const std::vector<std::string> words = Words(line);
            if (words.empty() || words.front().front() == '#') continue;
            ran = RunLine(words, number, answer);
        }
        allRan = ran && allRan;
        // Flushed per answer: the next read may wait long (a pipe, an endless line).
        out << JsonText(answer) << std::endl;
        if (!out) return 1; // nobody reads the rest
    }
    return allRan ? 0 : 1;
}

int BatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() > 2) {
        err << "tavrel-calc: batch takes at most one file\n";
        return 2;
    }
    if (args.size() == 1 || args[1] == "-")
        return RunBatch(FileDescriptorSource(STDIN_FILENO), out, err, "the standard input");
    const OpenFile file{::open(args[1].c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) {
        err << "tavrel-calc: cannot read '" << args[1] << "': " << std::strerror(errno) << '\n';
        return 2;
    }
    return RunBatch(FileDescriptorSource(file.fd), out, err, "'" + args[1] + "'");
}
