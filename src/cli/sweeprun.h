// tavrel-calc sweep: one input of a line stepped over a range, one row (CSV)
// or one object (JSON) per point, or a frequency sweep as the Touchstone file
// of the line section of length L (.s2p, or .s4p for a coupled pair).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

inline constexpr const char* kSweepUsage =
    "sweep      <line> KEY=START:STOP:N [log] [KEY=VALUE ...] [--format csv|json|touchstone] [--z-ref OHMS]";

// Exit status 0 whenever the table was written, even with error points (each
// carries its message); 1 with {"error": ...} when inputs that are not swept
// cannot be calculated with or the output cannot be written; 2 for a bad
// command line.
int RunSweepCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
