#include "quantities/materials.h"

const std::vector<Dielectric>& DielectricTable() {
    static const std::vector<Dielectric> table{
        {"Air", 1.0, 0.0},
        {"Alumina", 9.8, 0.0005},
        {"GaAs", 12.9, 0.0005},
        {"Germanium", 16.0, 0.0005},
        {"Indium Phosphide", 12.4, 0.0005},
        {"Silicon", 11.9, 0.001},
        {"RT/Duroid 5880", 2.16, 0.001},
        // Laminates: the maker's design values at the frequency its sheet names.
        // Isola 370HR data sheet (a high-Tg FR-4): Dk 4.04, Df 0.021 at 2 GHz.
        {"FR-4 (Isola 370HR)", 4.04, 0.021, 2e9},
        // Rogers RO4000 series data sheet: design Dk 3.66, Df 0.0037 at 10 GHz.
        {"Rogers RO4350B", 3.66, 0.0037, 10e9},
        // Rogers RO4000 series data sheet: design Dk 3.55, Df 0.0027 at 10 GHz.
        {"Rogers RO4003C", 3.55, 0.0027, 10e9},
        // Rogers RT/duroid 6002 data sheet: Dk 2.94, Df 0.0012 at 10 GHz.
        {"RT/duroid 6002", 2.94, 0.0012, 10e9},
        // Unfilled PTFE has no one maker; D. M. Pozar, "Microwave Engineering",
        // 4th ed., Wiley 2012, table of dielectric constants and loss
        // tangents: Teflon 2.08, 0.0004 at 10 GHz.
        {"PTFE", 2.08, 0.0004, 10e9},
        // Same table: fused quartz 3.78, 0.0001 at 10 GHz.
        {"Fused quartz", 3.78, 0.0001, 10e9},
        // DuPont Kapton HN polyimide film data sheet: dielectric constant
        // 3.4, dissipation factor 0.0018 at 1 kHz.
        {"Polyimide (Kapton HN)", 3.4, 0.0018, 1e3},
    };
    return table;
}

const std::vector<Conductor>& ConductorTable() {
    static const std::vector<Conductor> table{
        {"Silver", 61400000.0},   {"Copper", 58800000.0}, {"Gold", 41000000.0},
        {"Aluminum", 35300000.0}, {"Nickel", 14700000.0},
    };
    return table;
}
