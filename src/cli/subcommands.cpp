#include "cli/subcommands.h"

const std::vector<Subcommand>& Subcommands() {
    // One line per command.
    static const std::vector<Subcommand> commands{};
    return commands;
}
