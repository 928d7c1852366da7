// One analysis or synthesis of tavrel-calc on a Worksheet, answered as JSON.
#pragma once

#include <iosfwd>
#include <memory>

#include <nlohmann/json.hpp>

#include "cli/cliargs.h"

#include "core/outputs.h"

class Worksheet;

// The coupled synthesis's targets and what it solves, put in `result`;
// returns the solve.
PairSolve PutPairRequest(const CliRequest& request, nlohmann::ordered_json& result);

// The line's rows as the sheet holds them, by dimension key.
nlohmann::ordered_json Dimensions(Worksheet& sheet, const LineType& line);

// The values of `keys` as the sheet holds them, put in `inputs` by key: how
// analyze and fieldsolve echo their inputs.
void PutKeyValues(nlohmann::ordered_json& inputs, const Worksheet& sheet,
                  const std::vector<CommonKey>& keys);

// The rows of the output table in `place`, read from `answer` and the
// sheet's length fields.
void PutOutputs(nlohmann::ordered_json& into, OutputJson place, const Worksheet& sheet,
                const LineDescriptor& line, const LineAnswer& answer);

// analyze or synthesize with solver=field, into `result` (which holds the
// request's line, operation and inputs).  Returns the exit status.
int PutFieldSolved(const CliRequest& request, Worksheet& sheet, LineModel& model,
                   nlohmann::ordered_json& result);

// Sets one KEY=VALUE input of the command line (SI value) on the sheet.
void ApplyInput(Worksheet& sheet, const LineType& line, const std::string& key, double value);

// A model of the request's line on `sheet`, set up as on a first start with
// every value, the mode and the material models of the command line applied:
// what analyze, synthesize, sweep and fieldsolve all start from.
std::unique_ptr<LineModel> PrepareLine(const CliRequest& request, Worksheet& sheet);

// Called from a handler of a command line that did not parse: a usage error
// prints the usage on `err` and gives 2, a value the window would refuse
// prints {"error": ...} on `out` and gives 1; anything else is raised again.
int ReportParseFailure(std::ostream& out, std::ostream& err);

// Runs the request into `result`: the output object, or {"error": ...}.
// Returns the exit status: 0 with results, 1 for a calculation error.
int Calculate(const CliRequest& request, nlohmann::ordered_json& result);

// Runs the request and writes the JSON object to `out`.  Returns the exit
// status: 0 with results, 1 with {"error": ...} for a calculation error.
int RunCalculation(const CliRequest& request, std::ostream& out);

// The whole command line: parses, runs, and maps every failure to its exit
// status (2 with a usage message on `err` for a bad command line).
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The exit status once the output is flushed: a stream that failed (a full
// disk, a closed pipe) turns success into 1, with a message on `err`.
int FinishOutput(int status, std::ostream& out, std::ostream& err);
