// tavrel-calc batch: many calls in one process.  Each input line holds the
// words of one command line (analyze or synthesize); each answer is the
// call's JSON object on one output line, so a table of stack-ups costs one
// start-up.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/calcrun.h"
#include "cli/cliargs.h"

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

int RunBatch(std::istream& in, std::ostream& out) {
    bool allRan = true;
    int lineNumber = 0;
    std::string line;
    ordered_json answer;
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::vector<std::string> words = Words(line);
        if (words.empty() || words.front().front() == '#') continue;
        allRan = RunLine(words, lineNumber, answer) && allRan;
        out << answer.dump() << '\n';
        if (!out) return 1; // nobody reads the rest
    }
    return allRan ? 0 : 1;
}

} // namespace

int BatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() > 2) {
        err << "tavrel-calc: batch takes at most one file\n";
        return 2;
    }
    if (args.size() == 1 || args[1] == "-") return RunBatch(std::cin, out);
    std::ifstream file(args[1]);
    if (!file) {
        err << "tavrel-calc: cannot read '" << args[1] << "'\n";
        return 2;
    }
    return RunBatch(file, out);
}
