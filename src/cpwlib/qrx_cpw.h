/* CPW for Tavrel: the coplanar calculation library.
 *
 * The C export QRX_CPW1 computes the characteristic impedance, effective
 * dielectric constant and loss of a coplanar waveguide (CPW) or a
 * conductor-backed coplanar waveguide on a substrate of finite height:
 * exact elliptic-integral ratios (arithmetic-geometric mean), quasi-static
 * values after Ghione & Naldi; metal thickness as the parallel-plate
 * capacitance of the gap walls added to the conformal maps with a corner-
 * fringing width (in the manner of Heinrich, IEEE Trans. MTT 41(1), 1993;
 * within 0.5 % in Z0 and 0.8 % in eeff of field solutions for T/G up to
 * 0.9); dispersion after Frankel et al.; dielectric loss with the filling
 * factor; conductor loss after Owyang & Wu, joined smoothly to the loss of
 * the strip's DC resistance rho / (W T), below which it never falls.
 * QRX_CPW_Validity names where the accuracy is not stated.
 *
 * Units: metres, hertz, nepers per metre, ohms.
 *
 * Invalid input.  The three outputs are always written.  When the formulas
 * do not apply, all three receive a quiet NaN and the function returns a
 * non-zero status; a caller that ignores the return value still cannot
 * mistake the outputs for a result.  That happens when
 *   - an output pointer is null (the non-null ones receive NaN),
 *   - argument 11 or 13 is neither 0 nor 1,
 *   - W, G, H, T, Er, tan delta, resistivity or frequency is NaN or infinite,
 *   - W, G or H is zero or negative, T is negative, or Er is below 1
 *     (QRX_CPW_INVALID_ARGUMENT);
 *   - the metal is as thick as the gap or thicker, T >= G (QRX_CPW_GAP_CLOSED);
 *   - the result leaves the range of doubles, as for absurd ratios of the
 *     dimensions such as 1e-300 against 1e300 (QRX_CPW_OUT_OF_RANGE).
 * A successful call (QRX_CPW_OK) gives a finite impedance above zero, an
 * effective dielectric constant of at least 1 and a finite loss of at least 0.
 * A loss tangent, resistivity or frequency of zero or below contributes no
 * loss (and a frequency of zero or below no dispersion); T = 0 means metal of
 * negligible thickness: no thickness correction and no conductor loss.  The
 * ground planes are taken as unbounded, so only the strip has DC resistance.
 *
 * The call neither raises nor clears the caller's floating-point status
 * flags, never traps, allocates nothing and keeps no state: it is reentrant
 * and safe to call from several threads at once.
 */
#ifndef QRX_CPW_H
#define QRX_CPW_H

#if defined(_WIN32)
#if defined(QRX_CPW_BUILDING)
#define QRX_CPW_API __declspec(dllexport)
#else
#define QRX_CPW_API __declspec(dllimport)
#endif
#else
#define QRX_CPW_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Return values of QRX_CPW1. */
enum {
    QRX_CPW_OK = 0,
    QRX_CPW_INVALID_ARGUMENT = 1,
    QRX_CPW_GAP_CLOSED = 2,
    QRX_CPW_OUT_OF_RANGE = 3
};

/* Arguments, in order:
 *   1 gap          G, gap between the centre strip and each ground plane (m)
 *   2 gapAgain     G again; unused (the first value counts)
 *   3 width        W, centre strip width (m)
 *   4 height       H, substrate height (m)
 *   5 heightAgain  H again; unused (the first value counts)
 *   6 thickness    T, metal thickness (m)
 *   7 er           relative permittivity of the substrate
 *   8 lossTangent  dielectric loss tangent
 *   9 resistivity  conductor resistivity relative to gold (2.44e-8 ohm m)
 *  10 frequency    Hz
 *  11 dispersion   1: impedance and eeff at the frequency; 0: quasi-static
 *  12 reserved     passed as 0; ignored
 *  13 groundPlane  0: CPW, air below the substrate; 1: conductor-backed CPW
 *  14 loss         out: dielectric plus conductor loss (Np/m)
 *  15 impedance    out: characteristic impedance (ohms)
 *  16 eeff         out: effective dielectric constant
 */
QRX_CPW_API int QRX_CPW1(double gap, double gapAgain, double width, double height,
                         double heightAgain, double thickness, double er, double lossTangent,
                         double resistivity, double frequency, int dispersion, int reserved,
                         int groundPlane, double* loss, double* impedance, double* eeff);

/* QRX_CPW1 with dispersion, its loss split as well: conductorLoss is the
 * loss of the same call with a loss tangent of 0, dielectricLoss that with a
 * resistivity of 0, to the last bit (loss is their sum).  Both part pointers
 * must be given; the statuses and the NaN outputs are those of QRX_CPW1. */
QRX_CPW_API int QRX_CPW_Parts(double gap, double width, double height, double thickness,
                              double er, double lossTangent, double resistivity, double frequency,
                              int groundPlane, double* loss, double* impedance, double* eeff,
                              double* conductorLoss, double* dielectricLoss);

/* Warnings of QRX_CPW_Validity, one bit each. */
enum {
    QRX_CPW_WARN_THICK_METAL = 1 /* T/G above 0.9: thickness model not verified there */
};

/* Where QRX_CPW1 computes but its accuracy is not stated: the QRX_CPW_WARN_*
 * bits that apply to this line (arguments as in QRX_CPW1: gap, width, height,
 * thickness, er, groundPlane); 0 when none applies, and also when QRX_CPW1
 * would refuse the inputs (its status says why).  The same guarantees as
 * QRX_CPW1: no floating-point flags, no state, reentrant. */
QRX_CPW_API int QRX_CPW_Validity(double gap, double width, double height, double thickness,
                                 double er, int groundPlane);

/* The type of the export, for callers that look it up at run time. */
typedef int (*QRX_CPW1_Function)(double, double, double, double, double, double, double, double,
                                 double, double, int, int, int, double*, double*, double*);

typedef int (*QRX_CPW_Parts_Function)(double, double, double, double, double, double, double,
                                      double, int, double*, double*, double*, double*, double*);

#ifdef __cplusplus
}
#endif

#endif /* QRX_CPW_H */
