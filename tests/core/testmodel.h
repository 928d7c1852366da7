// A line model whose objective is any function of the trial dimension, for
// exercising the base operations and the solver without line formulas.
#pragma once

#include <functional>

#include "core/linecal.h"

class FunctionModel : public LineModel {
public:
    FunctionModel(WindowServices& window, int rows, std::function<double(double)> f)
        : LineModel(window, rows), f_(std::move(f)) {}

    double Objective(double x) override {
        ++evaluations;
        impedance = f_(x);
        return impedance;
    }
    void LoadAndSetup() override {}
    void Synthesize() override {}
    void Analyze() override {}
    void CheckParameters() override {}

    void SetResults(double z, double eeff, double alpha) {
        impedance = z;
        effDielConst = eeff;
        loss = alpha;
    }
    using LineModel::AddWarning;

    int evaluations = 0;

private:
    std::function<double(double)> f_;
};
