// tavrel-calc: the calculator's line models on the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/calcrun.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return FinishOutput(RunCommandLine(args, std::cout, std::cerr), std::cout, std::cerr);
}
