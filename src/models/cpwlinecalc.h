// Coplanar waveguide and grounded (conductor-backed) coplanar waveguide: a
// centre strip of width W between two ground planes, each a gap G away, metal
// of thickness T on a substrate of height H; the grounded line has a further
// ground plane under the substrate.  Neither model computes the line itself:
// both call the coplanar library "CPW for Tavrel" through its one export
// QRX_CPW1, and differ only in its ground-plane argument and their settings
// section.
#pragma once

#include <string>
#include <vector>

#include "core/lineinputs.h"

// Loads the coplanar library by its file name through the platform's search
// order and binds QRX_CPW1, once per process (a binding made before stays in
// place; the library stays loaded until the process ends).  A library that
// cannot be loaded raises std::domain_error "Could not load CPW for
// Tavrel.dll".  Run when a coplanar line model is built.
void BindCpwLibrary();

// Codes of the calculation errors made from the library's status, beside the
// solver's 10001: an input the library rejects, and a gap the strip
// thickness closes.  No strip width of a synthesis scan can mend either.
inline constexpr int kCpwInvalidInputCode = 10101;
inline constexpr int kCpwGapClosedCode = 10102;

// The line kernels of the two coplanar lines: W is row 1 (the trial value x),
// G row 2, H row 3, T row 4.  Input the library rejects raises TP_Exceptions
// with a text naming the fault.
namespace cpw {
LineResult Evaluate(const InputsAtFrequency& in, double w);
void Check(const InputsAtFrequency& in, std::vector<std::string>& warnings);
} // namespace cpw
namespace groundedcpw {
LineResult Evaluate(const InputsAtFrequency& in, double w);
} // namespace groundedcpw

// The file name the constructor loads: "CPW for Tavrel" with the platform's
// shared-library suffix.  Tests point it at another file to see a missing
// library; a binding made before stays in place.
const std::string& CpwLibraryFileName();
void SetCpwLibraryFileName(const std::string& fileName);
