#include "cli/subcommands.h"

#include <iosfwd>

#include "cli/batchrun.h"
#include "cli/sweeprun.h"

int RunFieldSolve(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

const std::vector<Subcommand>& Subcommands() {
    // One line per command.
    static const std::vector<Subcommand> commands{
        {"sweep", kSweepUsage, &RunSweepCommand},
        {"batch",
         "batch [FILE]   one analyze or synthesize call per line of FILE (or stdin),\n"
         "                          one JSON object per line out",
         &BatchCommand},
        {"fieldsolve", "fieldsolve <line> [--refine=1|2] [KEY=VALUE ...]", RunFieldSolve},
    };
    return commands;
}
