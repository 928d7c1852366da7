#include "numeric/fpfault.h"

#include <cmath>

void ClearFloatingPointFaults() { std::feclearexcept(kFloatingPointFaults); }

void RaiseFloatingPointFaults() {
    const int raised = std::fetestexcept(kFloatingPointFaults);
    if (raised == 0) return;
    std::feclearexcept(kFloatingPointFaults);
    if (raised & FE_DIVBYZERO) throw FloatingPointFault("Floating point division by zero");
    if (raised & FE_OVERFLOW) throw FloatingPointFault("Floating point overflow");
    throw FloatingPointFault("Invalid floating point operation");
}

void RequireFinite(double x) {
    if (!std::isfinite(x)) throw FloatingPointFault("Invalid floating point operation");
}

FloatingPointScope::FloatingPointScope() {
    std::fegetexceptflag(&saved_, kFloatingPointFaults);
    std::feclearexcept(kFloatingPointFaults);
}

FloatingPointScope::~FloatingPointScope() { std::fesetexceptflag(&saved_, kFloatingPointFaults); }
