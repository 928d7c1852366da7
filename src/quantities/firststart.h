// What the window shows on a first start, before any settings file: the one
// source of these values for the window, the headless Worksheet and
// tavrel-calc (whose keys not given take them).  A line type's own rows come
// from its descriptor.
#pragma once

struct FirstStartValues {
    double frequency;        // Hz
    double physicalLength;   // m
    double electricalLength; // degrees
    double impedance;        // ohms
    double phaseConstant;    // degrees per metre
    double effDielConst;
    double lossDecibels; // dB per metre
    double rowValue;     // every parameter row before a line sets its own, m
    int dielectric;      // index into DielectricTable()
    int conductor;       // index into ConductorTable()
    double dielConstant; // of that dielectric
    double lossTangent;  // of that dielectric
    double conductivity; // of that conductor, S/m
};

const FirstStartValues& FirstStart();
