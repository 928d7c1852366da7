#include "numeric/fpfault.h"

#include <cmath>

// Testing the flags is cheap; clearing or setting them rewrites the x87
// environment as well, which cost a quarter of a microstrip sweep when done
// unconditionally.  So each is done only when a flag must change.
void ClearFloatingPointFaults() {
    if (RaisedFloatingPointFaults() != 0) std::feclearexcept(kFloatingPointFaults);
}

void RaiseFloatingPointFaults() {
    const int raised = RaisedFloatingPointFaults();
    if (raised == 0) return;
    std::feclearexcept(kFloatingPointFaults);
    if (raised & FE_DIVBYZERO) throw FloatingPointFault("Floating point division by zero");
    if (raised & FE_OVERFLOW) throw FloatingPointFault("Floating point overflow");
    throw FloatingPointFault("Invalid floating point operation");
}

void RequireFinite(double x) {
    if (!std::isfinite(x)) throw FloatingPointFault("Invalid floating point operation");
}

FloatingPointScope::FloatingPointScope()
    : savedFlags_(RaisedFloatingPointFaults()) {
    if (savedFlags_ == 0) return;
    std::fegetexceptflag(&saved_, kFloatingPointFaults);
    std::feclearexcept(kFloatingPointFaults);
}

FloatingPointScope::~FloatingPointScope() {
    if (settled_) return;
    const int now = RaisedFloatingPointFaults();
    if (now == savedFlags_) return;
    if (savedFlags_ == 0)
        std::feclearexcept(kFloatingPointFaults);
    else
        std::fesetexceptflag(&saved_, kFloatingPointFaults);
}
