// The built-in substrates and metals of the "Material Parameters" group.
// Picking one only copies its values into the edits; the line models read the
// edits, never these tables.
#pragma once

#include <string>
#include <vector>

struct Dielectric {
    std::string name;
    double dielConstant; // relative
    double lossTangent;
};

struct Conductor {
    std::string name;
    double conductivity; // S/m
};

// Seven entries, list order; "GaAs" (index 2) is selected at start.
const std::vector<Dielectric>& DielectricTable();
// Five entries, list order; "Silver" (index 0) is selected at start.
const std::vector<Conductor>& ConductorTable();

inline constexpr int kDefaultDielectric = 2;
inline constexpr int kDefaultConductor = 0;
