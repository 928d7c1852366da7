#include "cli/subcommands.h"

#include <iosfwd>

int RunFieldSolve(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

const std::vector<Subcommand>& Subcommands() {
    // One line per command.
    static const std::vector<Subcommand> commands{
        {"fieldsolve", "fieldsolve <line> [KEY=VALUE ...]", RunFieldSolve},
    };
    return commands;
}
