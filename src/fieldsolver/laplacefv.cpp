// Box integration (finite volumes) around every node of the tensor mesh with
// the permittivity constant in each cell; identical to linear finite elements
// on the cells split into right triangles, so the discrete field energy is a
// variational (upper) bound of the exact one for the meshed domain and
// converges at second order where the mesh resolves the edge singularities.
// The normal component of D is continuous across a dielectric interface by
// construction (R. S. Varga, "Matrix Iterative Analysis", Prentice-Hall 1962,
// ch. 6; A. Wexler, "Computation of electromagnetic fields", IEEE Trans. MTT
// 17(8), 1969). The sparse system is solved by a simplicial LDL^T
// factorization with approximate minimum degree ordering (Eigen): measured on
// these meshes it is some fifty times faster than conjugate gradients with an
// incomplete Cholesky preconditioner, which needs thousands of iterations on
// the strongly graded cells.
#include "fieldsolver/laplacefv.h"

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "fieldsolver/physicalconstants.h"

namespace fieldsolver {
namespace {

bool Within(double v, double lo, double hi) {
    const double tolerance = 1e-12 * (std::abs(lo) + std::abs(hi));
    return v >= lo - tolerance && v <= hi + tolerance;
}

double RowPermittivity(const Problem& problem, double yCentre, bool withDielectric) {
    if (!withDielectric) return 1.0;
    for (const Slab& slab : problem.slabs)
        if (yCentre > slab.y0 && yCentre < slab.y1) return slab.er;
    return 1.0;
}

// A block in front of the row's slab.
double CellPermittivity(const Problem& problem, double xCentre, double yCentre, double rowEps,
                        bool withDielectric) {
    if (withDielectric)
        for (const Block& b : problem.blocks)
            if (xCentre > b.x0 && xCentre < b.x1 && yCentre > b.y0 && yCentre < b.y1) return b.er;
    return rowEps;
}

// The mesh edges: every node pair (i,j)-(i+1,j), then every (i,j)-(i,j+1).
struct Edge {
    std::size_t a, b;
};

std::vector<Edge> Edges(std::size_t nx, std::size_t ny) {
    std::vector<Edge> edges;
    edges.reserve(2 * nx * ny);
    for (std::size_t j = 0; j < ny; ++j)
        for (std::size_t i = 0; i + 1 < nx; ++i)
            edges.push_back({j * nx + i, j * nx + i + 1});
    for (std::size_t j = 0; j + 1 < ny; ++j)
        for (std::size_t i = 0; i < nx; ++i)
            edges.push_back({j * nx + i, (j + 1) * nx + i});
    return edges;
}

// Coupling weight of every edge, in the order of Edges(): the permittivity-
// weighted half cells on both sides of the edge over its length.
std::vector<double> EdgeWeights(const Problem& problem, const std::vector<double>& x,
                                const std::vector<double>& y, bool withDielectric) {
    const std::size_t nx = x.size(), ny = y.size();
    const std::size_t vertical0 = (nx - 1) * ny;
    std::vector<double> w(vertical0 + nx * (ny - 1), 0.0);
    for (std::size_t j = 0; j + 1 < ny; ++j) {
        const double yCentre = 0.5 * (y[j] + y[j + 1]);
        const double rowEps = RowPermittivity(problem, yCentre, withDielectric);
        const double hy = y[j + 1] - y[j];
        for (std::size_t i = 0; i + 1 < nx; ++i) {
            const double eps =
                problem.blocks.empty()
                    ? rowEps
                    : CellPermittivity(problem, 0.5 * (x[i] + x[i + 1]), yCentre, rowEps,
                                       withDielectric);
            const double hx = x[i + 1] - x[i];
            const double across = 0.5 * eps * hy / hx, along = 0.5 * eps * hx / hy;
            w[j * (nx - 1) + i] += across;
            w[(j + 1) * (nx - 1) + i] += across;
            w[vertical0 + j * nx + i] += along;
            w[vertical0 + j * nx + i + 1] += along;
        }
    }
    return w;
}

} // namespace

struct LaplaceSystem::Factorization {
    std::vector<Edge> edges;
    // Per edge, the positions in the matrix's value array of the entries
    // (a,a), (b,b), (a,b), (b,a); -1 where a node is fixed.
    std::vector<std::array<std::ptrdiff_t, 4>> slots;
    Eigen::SparseMatrix<double> matrix;
    Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>> solver;
};

LaplaceSystem::LaplaceSystem(const Problem& problem, std::vector<double> x, std::vector<double> y)
    : problem_(problem), x_(std::move(x)), y_(std::move(y)),
      factorization_(std::make_unique<Factorization>()) {
    const std::size_t nx = x_.size(), ny = y_.size();
    fixedValue_.assign(nx * ny, std::numeric_limits<double>::quiet_NaN());
    for (std::size_t j = 0; j < ny; ++j)
        for (std::size_t i = 0; i < nx; ++i) {
            const bool onElectricWall = (i == 0 && problem.left == Wall::Electric) ||
                                        (i + 1 == nx && problem.right == Wall::Electric) ||
                                        (j == 0 && problem.bottom == Wall::Electric) ||
                                        (j + 1 == ny && problem.top == Wall::Electric);
            if (onElectricWall) fixedValue_[j * nx + i] = 0.0;
        }
    for (const Conductor& c : problem.conductors)
        for (std::size_t j = 0; j < ny; ++j)
            if (Within(y_[j], c.y0, c.y1))
                for (std::size_t i = 0; i < nx; ++i)
                    if (Within(x_[i], c.x0, c.x1)) fixedValue_[j * nx + i] = c.potential;
    unknownIndex_.assign(nx * ny, -1);
    for (std::size_t n = 0; n < nx * ny; ++n)
        if (std::isnan(fixedValue_[n])) unknownIndex_[n] = unknownCount_++;
}

LaplaceSystem::~LaplaceSystem() = default;
LaplaceSystem::LaplaceSystem(LaplaceSystem&&) noexcept = default;

double LaplaceSystem::Capacitance(bool withDielectric, const StepProgress& progress,
                                  MeshPotential* potential) {
    Factorization& f = *factorization_;
    if (f.edges.empty()) { // pattern, entry positions and ordering, once
        f.edges = Edges(x_.size(), y_.size());
        std::vector<Eigen::Triplet<double>> triplets;
        triplets.reserve(4 * f.edges.size());
        for (const Edge& e : f.edges) {
            const int ua = unknownIndex_[e.a], ub = unknownIndex_[e.b];
            if (ua >= 0) triplets.emplace_back(ua, ua, 0.0);
            if (ub >= 0) triplets.emplace_back(ub, ub, 0.0);
            if (ua >= 0 && ub >= 0) {
                triplets.emplace_back(ua, ub, 0.0);
                triplets.emplace_back(ub, ua, 0.0);
            }
        }
        f.matrix.resize(unknownCount_, unknownCount_);
        f.matrix.setFromTriplets(triplets.begin(), triplets.end());
        const double* values = f.matrix.valuePtr();
        auto slot = [&](int row, int col) -> std::ptrdiff_t {
            return row < 0 || col < 0 ? -1 : &f.matrix.coeffRef(row, col) - values;
        };
        f.slots.reserve(f.edges.size());
        for (const Edge& e : f.edges) {
            const int ua = unknownIndex_[e.a], ub = unknownIndex_[e.b];
            f.slots.push_back({slot(ua, ua), slot(ub, ub), slot(ua, ub), slot(ub, ua)});
        }
        progress(0.1);
        f.solver.analyzePattern(f.matrix);
    }
    progress(0.25);

    const std::vector<double> w = EdgeWeights(problem_, x_, y_, withDielectric);
    Eigen::VectorXd rhs = Eigen::VectorXd::Zero(unknownCount_);
    double* values = f.matrix.valuePtr();
    std::fill(values, values + f.matrix.nonZeros(), 0.0);
    for (std::size_t k = 0; k < f.edges.size(); ++k) {
        const auto& s = f.slots[k];
        const Edge& e = f.edges[k];
        if (s[0] >= 0) values[s[0]] += w[k];
        if (s[1] >= 0) values[s[1]] += w[k];
        if (s[2] >= 0) {
            values[s[2]] -= w[k];
            values[s[3]] -= w[k];
        } else if (s[0] >= 0) {
            rhs[unknownIndex_[e.a]] += w[k] * fixedValue_[e.b];
        } else if (s[1] >= 0) {
            rhs[unknownIndex_[e.b]] += w[k] * fixedValue_[e.a];
        }
    }
    progress(0.3);
    f.solver.factorize(f.matrix);
    if (f.solver.info() != Eigen::Success)
        throw std::runtime_error("the sparse factorization broke down");
    progress(0.9);
    const Eigen::VectorXd solution = f.solver.solve(rhs);

    std::vector<double> v(fixedValue_.size());
    for (std::size_t n = 0; n < v.size(); ++n)
        v[n] = unknownIndex_[n] >= 0 ? solution[unknownIndex_[n]] : fixedValue_[n];
    double energy = 0.0; // sum of weight * dV^2 = 2 * field energy / eps0
    for (std::size_t k = 0; k < f.edges.size(); ++k) {
        const double dv = v[f.edges[k].b] - v[f.edges[k].a];
        energy += w[k] * dv * dv;
    }
    if (potential != nullptr) *potential = {x_, y_, std::move(v)};
    progress(1.0);
    return problem_.energyToCapacitance * kEps0 * energy;
}

} // namespace fieldsolver
