// Finite-volume solution of div(eps grad V) = 0 on a tensor-product mesh.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "fieldsolver/problem.h"

namespace fieldsolver {

// Raised inside a solve when the progress callback asks to stop.
struct SolveCancelled {};

// Reports the fraction done of one solve (0..1); may throw SolveCancelled.
using StepProgress = std::function<void(double)>;

struct MeshPotential {
    std::vector<double> x, y;
    std::vector<double> values; // values[j * x.size() + i] at node (x[i], y[j])
};

// The linear system of one problem on one mesh. The sparsity pattern and its
// fill-reducing ordering are computed once and serve the solve with the
// dielectric and the solve in air.
class LaplaceSystem {
  public:
    LaplaceSystem(const Problem& problem, std::vector<double> x, std::vector<double> y);
    ~LaplaceSystem();
    LaplaceSystem(LaplaceSystem&&) noexcept;
    LaplaceSystem& operator=(LaplaceSystem&&) = delete;

    // Capacitance per metre with the problem's dielectrics, or with air only.
    // Keeps the potential in `potential` when it is not null.
    double Capacitance(bool withDielectric, const StepProgress& progress,
                       MeshPotential* potential = nullptr);

    std::size_t CellCount() const { return (x_.size() - 1) * (y_.size() - 1); }
    std::size_t UnknownCount() const { return static_cast<std::size_t>(unknownCount_); }

  private:
    struct Factorization;

    const Problem& problem_;
    std::vector<double> x_, y_;
    std::vector<double> fixedValue_; // NaN where the node is an unknown
    std::vector<int> unknownIndex_;  // -1 where the node is fixed
    int unknownCount_ = 0;
    std::unique_ptr<Factorization> factorization_;
};

} // namespace fieldsolver
