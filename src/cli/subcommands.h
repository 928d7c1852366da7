// The commands of tavrel-calc beyond analyze and synthesize, each in a file of
// its own: the table lists them once, for dispatch and for the usage text.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

struct Subcommand {
    const char* name;  // the first word of the command line
    const char* usage; // its usage line(s), without the program name
    // The whole command line (name first); returns the exit status: 0 with
    // results, 1 for a calculation error, 2 for a bad command line (the
    // message on `err`).
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

const std::vector<Subcommand>& Subcommands();
