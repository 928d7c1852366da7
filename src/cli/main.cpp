// tavrel-calc: the calculator's line models on the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/calcrun.h"
#include "numeric/tpexceptions.h"

int main(int argc, char** argv) {
    try {
        std::vector<std::string> args(argv + 1, argv + argc);
        return FinishOutput(RunCommandLine(args, std::cout, std::cerr), std::cout, std::cerr);
    } catch (...) {
        // Every path answers for itself; this is the last word, not an abort.
        std::cerr << "tavrel-calc: " << CurrentErrorText("unknown error") << '\n';
        return 1;
    }
}
