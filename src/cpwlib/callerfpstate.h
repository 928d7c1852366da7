// The caller's floating-point state, kept across one call of the library: the
// call never traps, and the caller finds its exception flags as it left them
// (none of the library's own, none of its own cleared).
//
// feholdexcept/fesetenv do that, but they save and load the whole x87
// environment, which costs more than the coplanar formulas.  On x86-64, where
// the caller masks every exception (the usual case) and has no x87 flag
// raised, the call cannot trap and only the flags can change: they are read
// once on entry and written back on exit only where the call changed them.
// Anything else takes the library functions.
#pragma once

#include <cfenv>

namespace cpwlib {

class CallerFloatingPointState {
  public:
    CallerFloatingPointState() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
        unsigned short x87Status = 0;
        unsigned short x87Control = 0;
        asm volatile("fnstsw %0\n\tfnstcw %1\n\tstmxcsr %2"
                     : "=am"(x87Status), "=m"(x87Control), "=m"(mxcsr_)
                     :
                     : "memory");
        fast_ = (x87Control & kX87Exceptions) == kX87Exceptions &&
                (mxcsr_ & kMxcsrMasks) == kMxcsrMasks && (x87Status & kX87Exceptions) == 0;
        if (fast_) return;
#endif
        std::feholdexcept(&environment_);
    }

    ~CallerFloatingPointState() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
        if (fast_) {
            unsigned short x87Status = 0;
            unsigned int mxcsr = 0;
            asm volatile("fnstsw %0\n\tstmxcsr %1" : "=am"(x87Status), "=m"(mxcsr) : : "memory");
            if (mxcsr != mxcsr_) asm volatile("ldmxcsr %0" : : "m"(mxcsr_) : "memory");
            if ((x87Status & kX87Exceptions) != 0) asm volatile("fnclex" : : : "memory");
            return;
        }
#endif
        std::fesetenv(&environment_);
    }

    CallerFloatingPointState(const CallerFloatingPointState&) = delete;
    CallerFloatingPointState& operator=(const CallerFloatingPointState&) = delete;

  private:
    // The six exception flags of the x87 status word, and the six masks of its
    // control word, sit in the same low bits; MXCSR has its masks in bits 7-12.
    static constexpr unsigned kX87Exceptions = 0x3f;
    static constexpr unsigned kMxcsrMasks = 0x3f << 7;

    std::fenv_t environment_{}; // the whole state, taken only off the fast path
    unsigned int mxcsr_ = 0;
    bool fast_ = false;
};

} // namespace cpwlib
