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
    // Hertz: where the maker gives dielConstant and lossTangent (the wideband
    // dielectric model's reference frequency); 0 where no frequency is named.
    double referenceFrequency = 0.0;
};

struct Conductor {
    std::string name;
    double conductivity; // S/m
};

// The seven classic entries first, in their list order ("GaAs", index 2, is
// selected at start), then the printed-circuit laminates.
const std::vector<Dielectric>& DielectricTable();
// Five entries, list order; "Silver" (index 0) is selected at start.
const std::vector<Conductor>& ConductorTable();

inline constexpr int kDefaultDielectric = 2;
inline constexpr int kDefaultConductor = 0;
// The entries every stored setting and first start refer to by index.
inline constexpr int kClassicDielectricCount = 7;
