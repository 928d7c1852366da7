// Calls the library's C entry point with named inputs, as the coplanar line
// models do (the gap and the height passed twice, argument 12 as 0).
#pragma once

#include "cpwlib/qrx_cpw.h"

struct CpwInputs {
    double width = 0.5e-3; // m
    double gap = 0.1e-3;
    double height = 1e-3;
    double thickness = 0.0;
    double er = 9.8;
    double lossTangent = 0.0;
    double resistivity = 1.0; // relative to gold
    double frequency = 1e6;   // Hz
    int dispersion = 1;
    int groundPlane = 0;
};

struct CpwOutputs {
    int status;
    double loss;
    double impedance;
    double eeff;
};

inline CpwOutputs CallCpw(const CpwInputs& in, QRX_CPW1_Function entry = &QRX_CPW1) {
    CpwOutputs out{-1, 0.0, 0.0, 0.0};
    out.status = entry(in.gap, in.gap, in.width, in.height, in.height, in.thickness, in.er,
                       in.lossTangent, in.resistivity, in.frequency, in.dispersion, 0,
                       in.groundPlane, &out.loss, &out.impedance, &out.eeff);
    return out;
}

inline CpwInputs Grounded(CpwInputs in) {
    in.groundPlane = 1;
    return in;
}

// The alumina line of reference_values.py: W 0.3 mm, G 0.15 mm, H 0.635 mm,
// T 17 um, Er 9.8, tan delta 5e-4, resistivity 0.7 x gold.
inline CpwInputs Alumina(double frequency, int dispersion, int ground) {
    CpwInputs in;
    in.width = 0.3e-3;
    in.gap = 0.15e-3;
    in.height = 0.635e-3;
    in.thickness = 17e-6;
    in.er = 9.8;
    in.lossTangent = 5e-4;
    in.resistivity = 0.7;
    in.frequency = frequency;
    in.dispersion = dispersion;
    in.groundPlane = ground;
    return in;
}
