// A sweep as a table: the swept value and the line's values per point, one
// column each, in SI units with the loss in dB/m.  The same columns serve the
// command line's CSV and JSON, the sweep window's CSV export and its copy to
// the clipboard.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "core/outputs.h"
#include "core/sweep.h"

struct SweepColumn {
    std::string name; // with its unit: "f_hz", "impedance_ohm", "loss_db_per_m"
    // The reported quantity (core/outputs.h); null for the swept value.
    const OutputQuantity* quantity;
};

// "f_hz", "W_m", "Er", "tand", "sigma_s_per_m".
std::string SweptColumnName(const LineDescriptor& line, const SweepVariable& variable);

// The swept value first, then the output table's rows that have a sweep
// column and that the line has (impedance, eeff and the losses; a coupled
// line adds both modes and the differential impedance).  The warnings and
// error columns follow these in a table.
std::vector<SweepColumn> SweepColumns(const LineDescriptor& line, const SweepVariable& variable);

// A point's cells, one per column: the swept value, then (for a point
// without an error) each quantity as reported; NaN for an empty cell.
std::vector<double> SweepCells(const LineDescriptor& line, const std::vector<SweepColumn>& columns,
                               const SweepPoint& point);

// Shortest text that reads back as the same double.
std::string FormatExact(double value);

// The material models a sweep of `variable` from `base` runs with
// (MaterialModelsText; a swept roughness or Er reads "swept"); empty for none.
std::string SweepMaterialModels(const LineInputs& base, const SweepVariable& variable);

// A header row, then one row per point; `separator` ',' gives CSV (text cells
// quoted where they need it), '\t' a table to paste into a spreadsheet.  An
// error point fills only its swept value and its error.  Warnings of a point
// are joined by "; ".  Material models in effect are named first, on a
// comment line "# Material models: ...".
void WriteSweepTable(std::ostream& out, const LineDescriptor& line, const LineInputs& base,
                     const SweepVariable& variable, const std::vector<SweepPoint>& points,
                     char separator = ',');
