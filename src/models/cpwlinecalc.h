// Coplanar waveguide and grounded (conductor-backed) coplanar waveguide: a
// centre strip of width W between two ground planes, each a gap G away, metal
// of thickness T on a substrate of height H; the grounded line has a further
// ground plane under the substrate.  Neither model computes the line itself:
// both call the coplanar library "CPW for Tavrel" through its one export
// QRX_CPW1, and differ only in its ground-plane argument and their settings
// section.
#pragma once

#include <string>

#include "core/linecal.h"

class CpwModel : public LineModel {
  public:
    // Loads the coplanar library by its file name through the platform's
    // search order and binds QRX_CPW1.  The binding is process-wide; the
    // library stays loaded until the process ends.  A library that cannot be
    // loaded raises std::domain_error "Could not load CPW for Tavrel.dll".
    explicit CpwModel(WindowServices& window);

    double Objective(double x) override;
    void LoadAndSetup() override;
    void SaveSettings() override;
    void Synthesize() override;
    void Analyze() override;
    void CheckParameters() override;

  protected:
    // One library call at strip width w; impedance, effDielConst and loss
    // receive its results.  Input the library rejects raises TP_Exceptions
    // with a text naming the fault.  Returns impedance - target.
    double CoplanarObjective(double w, int groundPlane);

    // LoadAndSetup of both models, with the model's settings section.
    void SetUp(const SettingsSection& section);

  private:
    // False, with the reason shown, when the library rejects the gap, height,
    // thickness or Er: no strip width of the synthesis scan can mend those.
    bool SynthesisCanStart(double narrowestWidth);
};

class GroundedCpwModel : public CpwModel {
  public:
    explicit GroundedCpwModel(WindowServices& window) : CpwModel(window) {}

    double Objective(double x) override;
    void LoadAndSetup() override;
    void SaveSettings() override;
};

// The file name the constructor loads: "CPW for Tavrel" with the platform's
// shared-library suffix.  Tests point it at another file to see a missing
// library; a binding made before stays in place.
const std::string& CpwLibraryFileName();
void SetCpwLibraryFileName(const std::string& fileName);
