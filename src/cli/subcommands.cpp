#include "cli/subcommands.h"

int BatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

const std::vector<Subcommand>& Subcommands() {
    // One line per command.
    static const std::vector<Subcommand> commands{
        {"batch",
         "batch [FILE]   one analyze or synthesize call per line of FILE (or stdin),\n"
         "                          one JSON object per line out",
         &BatchCommand},
    };
    return commands;
}
