// Conductor surface roughness: the factor by which an RMS surface roughness
// raises the conductor loss of a smooth conductor.
//
// Hammerstad-Jensen: K = 1 + (2/pi) atan(1.4 (Delta/delta)^2), rising from 1
// to 2.  E. O. Hammerstad and O. Jensen, "Accurate models for microstrip
// computer-aided design", IEEE MTT-S Int. Microwave Symp. Digest, 1980,
// pp. 407-409.
// Groiss: K = 1 + exp(-(delta / (2 Delta))^1.6), also from 1 to 2, closer to
// measured boards at high frequency.  S. Groiss, I. Bardi, O. Biro, K. Preis,
// K. R. Richter, "Parameters of lossy cavity resonators calculated by the
// finite element method", IEEE Trans. Magnetics 32(3), 1996, pp. 894-897.
// Delta is the RMS roughness, delta the conductor's skin depth.  The models
// are rows of the table in core/materialmodels.h.
#pragma once

#include <string>

#include "core/lineinputs.h"

// K for roughness `rough` (metres) at skin depth `skinDepth` (metres).  1 for
// a smooth surface (rough 0) or an infinite skin depth (f = 0); 2 for a skin
// depth of 0 (a perfect conductor, whose loss is 0 anyway).
double RoughnessFactor(const RoughnessModel& model, double rough, double skinDepth);

// K at the inputs' roughness, frequency and conductor.
double RoughnessFactor(const LineInputs& in);

// One line for the loss field's tooltip when a roughness is in effect, e.g.
// "Surface roughness 1.5 um RMS (Hammerstad-Jensen): conductor loss x 1.62";
// empty for a smooth conductor.
std::string RoughnessNote(const LineInputs& in);
