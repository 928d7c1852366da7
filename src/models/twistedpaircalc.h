// Twisted pair: two round wires of diameter d, centres D apart, each in
// insulation of Er, twisted `twists` times per metre, in surroundings of
// Er_env.  Rows: D (row 1, solved for), d, twists per metre, Er_env.
#pragma once

#include <string>
#include <vector>

#include "core/lineinputs.h"

// Lefferson's effective permittivity of the insulation and the surroundings
// for the twist angle atan(pi D twists).
double TwistedPairEeff(double spacing, double twistsPerMetre, double er, double erEnv);

namespace twistedpair {
LineResult Evaluate(const InputsAtFrequency& in, double spacing);
double Impedance(const InputsAtFrequency& in, double spacing);
void Check(const InputsAtFrequency& in, std::vector<std::string>& warnings);
} // namespace twistedpair
