// tavrel-calc batch: many calls in one process.  Each input line holds the
// words of one command line (analyze or synthesize); each answer is the
// call's JSON object on one output line, so a table of stack-ups costs one
// start-up.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/bytelines.h"

// The lines of `source` as bytes: a line that is not UTF-8 or is longer
// than ByteLineReader::kMaxLine gets {"error": ..., "input_line": N} and the
// next line runs.  Returns 0 when every call gave results, 1 otherwise or on
// a read error (told on `err`, naming the input as `name`).
int RunBatch(const ByteSource& source, std::ostream& out, std::ostream& err,
             const std::string& name);

// The command: `batch [FILE]`, stdin without FILE or for "-".
int BatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
