#include "cli/subcommands.h"

#include "cli/sweeprun.h"

const std::vector<Subcommand>& Subcommands() {
    // One line per command.
    static const std::vector<Subcommand> commands{
        {"sweep", kSweepUsage, &RunSweepCommand},
    };
    return commands;
}
