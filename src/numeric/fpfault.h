// Floating-point faults of the calculation's own arithmetic.  The calculation
// behaves as if invalid operation, division by zero and overflow were trapping:
// the status flags are tested at well-defined points (around every objective
// evaluation, inside the guarded functions, in base operations that divide or
// take roots) and a raised flag aborts the calculation with FloatingPointFault.
#pragma once

#include <cfenv>
#include <stdexcept>

class FloatingPointFault : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr int kFloatingPointFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// The fault flags raised so far: std::fetestexcept(kFloatingPointFaults)
// without the call into the math library, which the calculation step makes
// a dozen times per answer.  On x86-64 both the x87 status word and MXCSR
// are read, as the library does; the memory clobber keeps it where a call
// would stand.
inline int RaisedFloatingPointFaults() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    unsigned short status = 0;
    unsigned int mxcsr = 0;
    // One statement, one compiler barrier.
    asm volatile("fnstsw %0\n\tstmxcsr %1" : "=am"(status), "=m"(mxcsr) : : "memory");
    return static_cast<int>((status | mxcsr) & kFloatingPointFaults);
#else
    return std::fetestexcept(kFloatingPointFaults);
#endif
}

// Forgets any fault flag raised so far.
void ClearFloatingPointFaults();

// Throws FloatingPointFault (and clears the flags) if a fault flag is raised.
void RaiseFloatingPointFaults();

// Throws FloatingPointFault unless x is finite; for results computed from
// inputs that were already NaN or infinite, which raise no flag.
void RequireFinite(double x);

// Makes sure `value` has really been computed at this point, so that its
// floating-point flags are raised before they are tested.  The compiler would
// otherwise be free to move a division past the test of the flags.
template <class T> inline void ForceEvaluation(T& value) {
#if defined(__GNUC__) || defined(__clang__)
    asm volatile("" : : "g"(&value) : "memory");
#else
    volatile T sink = value;
    (void)sink;
#endif
}

// Saves the caller's fault flags, starts clean, and puts the caller's flags
// back on destruction, so that a nested evaluation neither sees nor leaves
// faults of the code around it.
class FloatingPointScope {
  public:
    FloatingPointScope();
    ~FloatingPointScope();
    FloatingPointScope(const FloatingPointScope&) = delete;
    FloatingPointScope& operator=(const FloatingPointScope&) = delete;

    // Whether the evaluation in the scope has raised no fault so far.  Where
    // it has not and the caller had none, the destructor has nothing to put
    // back and does not read the flags again (reading them is slow).
    bool NoneRaised() {
        const int now = RaisedFloatingPointFaults();
        settled_ = now == 0 && savedFlags_ == 0;
        return now == 0;
    }
    // Throws FloatingPointFault (and clears the flags) if the evaluation in
    // the scope has raised a fault.
    void RaiseFaults() {
        if (!NoneRaised()) RaiseFloatingPointFaults();
    }

  private:
    int savedFlags_;         // the caller's fault flags
    bool settled_ = false;   // no flag raised and none to put back, as last read
    std::fexcept_t saved_{}; // their full state, taken only when one is raised
};

// The one fault check of a single computation: runs `compute` as if the three
// faults trapped (a fault it raises throws FloatingPointFault), apart from the
// caller's flags.
template <class F> double FaultTrapped(F compute) {
    FloatingPointScope scope;
    double value = compute();
    ForceEvaluation(value);
    scope.RaiseFaults();
    return value;
}

// FaultTrapped where a value that is not finite is a fault as well (from an
// input that already was not, which raises no flag).
template <class F> double FaultTrappedFinite(F compute) {
    const double value = FaultTrapped(compute);
    RequireFinite(value);
    return value;
}

// The two checks above left out where the caller has shown from the operands'
// magnitudes that no fault can arise and the result is finite (`moderate`):
// the flags are slow to read.
template <class F> double FaultTrapped(bool moderate, F compute) {
    return moderate ? compute() : FaultTrapped(compute);
}
template <class F> double FaultTrappedFinite(bool moderate, F compute) {
    return moderate ? compute() : FaultTrappedFinite(compute);
}
