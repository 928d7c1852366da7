// The static effect of a solder mask and a metal cover on one quasi-TEM mode
// of a microstrip line, as a correction of the uncoated line's closed form.
// Internal to the coated microstrip kernels (coatedmicrostrip.cpp).
#pragma once

#include "core/lineinputs.h"

// One mode's quasi-static values: impedance (ohms), effective dielectric
// constant.
struct ModeStatic {
    double z0, eeff;
};

// What the corrections read of the cross-section: width and gap over the
// substrate height (gap 0 for the single strip), the metal's thickness over
// the height, and the mode.
struct CoatedGeometry {
    enum class Mode { Single, Even, Odd };
    double u, g, t;
    Mode mode;
};

// The uncoated line's mode at substrate permittivity er (open, no mask).
class UncoatedMode {
  public:
    virtual ~UncoatedMode() = default;
    virtual ModeStatic At(double er) const = 0;
};

// The mode with the coating: `uncoated.At(er)` the closed form without it,
// h the substrate height, er the substrate's and c.erm the mask's
// permittivity.
ModeStatic CoatedModeStatic(const CoatedGeometry& g, double h, double er, const Coating& c,
                            const UncoatedMode& uncoated);

// The mode's loss-relevant filling: the shares of the field energy in the
// substrate and in the mask, d ln(eeff) / d ln(Er) and d ln(eeff) / d ln(Erm).
struct DielectricShares {
    double substrate, mask;
};
DielectricShares CoatedShares(const CoatedGeometry& g, double h, double er, const Coating& c,
                              const UncoatedMode& uncoated);
