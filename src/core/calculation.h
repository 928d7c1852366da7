// The one calculation step.  Every action that answers "what does this line
// do at these inputs" -- the window's Analyze and Synthesize, tavrel-calc's
// analyze, synthesize and batch, every sweep point, the closed form beside a
// field solution, and the objectives of single-line and pair synthesis --
// goes through LineCalculation and nothing else:
//
//   1. the material models are applied at the inputs' frequency
//      (InputsAtFrequency: the only inputs a kernel accepts);
//   2. the line's check runs (hard limits fail the answer, soft limits become
//      warnings), with the thin-metal warning;
//   3. the kernel runs with its floating-point faults checked, and the loss is
//      split into its conductor and dielectric parts (roughness applied);
//   4. the plausibility rule and the quarter-wave warning follow.
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "core/linedescriptor.h"

struct LineAnswer {
    LineAnswer() = default;
    // Starts from the inputs: copied once, not default-built and assigned.
    explicit LineAnswer(const InputsAtFrequency& in) : inputs(in) {}
    // Starts from `in` at its frequency, built in place; where the material
    // models fail, from the default inputs, the failure put in `failure`.
    LineAnswer(const LineInputs& in, std::exception_ptr& failure);

    InputsAtFrequency inputs;          // what the kernel saw (material models applied)
    LineResult result;                 // loss parts filled; both modes of a coupled line
    std::vector<std::string> warnings; // in the warning list's order, unnumbered
    std::exception_ptr failure;        // null when the result holds
    // The shown mode's phase constant, degrees per metre, as the step
    // computed it from result.eeff (what the window shows); PhaseConstant()
    // computes it afresh, for a result changed since.
    double phaseConstant = 0.0;

    bool Ok() const { return failure == nullptr; }
    // The failure's message ("" when Ok).
    std::string ErrorText() const;
    // Phase constant of the shown mode, degrees per metre (from eeff).
    double PhaseConstant() const;
};

class LineCalculation {
  public:
    // Applies the material models once; a failure there (an invalid
    // wideband model) is kept and returned by every Answer, raised by every
    // Values and Objective.
    LineCalculation(const LineDescriptor& line, const LineInputs& in);

    // The whole step at x, the value of row 1.  Never raises.
    LineAnswer Answer(double x) const;
    // The same with the check and the quarter-wave warning seeing row 1 as
    // `checkedRow1` (the window's check sees the root as the window shows it).
    LineAnswer Answer(double x, double checkedRow1) const;
    // Steps 1 and 3 only, raising on failure: what a synthesis objective
    // evaluates.  The same numbers as Answer(x).result.
    LineResult Values(double x) const;
    // Impedance minus the target at x, checked: the single-line objective.
    double Objective(double x) const;

    const LineDescriptor& Line() const { return line_; }
    // Raises the material models' failure, if any.
    const InputsAtFrequency& Inputs() const;

  private:
    const LineDescriptor& line_;
    std::exception_ptr failure_; // before at_, whose initialiser sets it
    InputsAtFrequency at_;
};

// Degrees per metre at f for eeff, raising as the window's field would: a
// negative eeff has no root, an overflow is a fault.
double PhaseConstantOf(double f, double eeff);

// One answer, the usual way in: LineCalculation(line, in).Answer(x).  With
// `terms`, the cross-section terms of earlier answers at the same rows are
// reused or filled (a sweep of anything but a dimension).
LineAnswer CalculateLine(const LineDescriptor& line, const LineInputs& in, double x,
                         CrossSectionTerms* terms = nullptr);
