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
