// The quantities the calculator reports, as data: one row each, with its
// name, unit, JSON key, sweep column, clipboard and tooltip labels, the
// lines that have it, how its value is read from the calculation step's
// answer and its curve in the sweep window.  tavrel-calc's JSON, the sweep's
// CSV and JSON columns (and the sweep window's export), the window's Ctrl+C
// text, the loss field's tooltip and the sweep window's charts all list from
// here: a new quantity is one row.
#pragma once

#include <limits>
#include <string_view>
#include <vector>

#include "core/calculation.h"

// What a row's value is read from: the answer, and the window's two length
// fields (what the length inputs and the phase constant give).
struct OutputSource {
    const LineDescriptor& line;
    const LineAnswer& answer;
    double electricalLength = std::numeric_limits<double>::quiet_NaN(); // degrees
    double physicalLength = std::numeric_limits<double>::quiet_NaN();   // metres
};

// How a value is scaled for display: a loss is read in nepers per metre and
// reported in dB/m (the window: in its loss unit); a length in metres.
enum class OutputKind { Impedance, Plain, Loss, Length, Angle, PhaseConstant };

// The places of tavrel-calc's JSON a row appears in.
enum OutputJson : unsigned {
    kNotInJson = 0,
    kLineJson = 1u << 0, // the line, or the one mode asked for
    kModeJson = 1u << 1, // each mode's object under mode=both
    kPairJson = 1u << 2, // the pair's figures under mode=both
};

// The sweep window's charts, top to bottom.
enum class OutputChart { None, Impedance, Eeff, Loss };

// Where the sweep window plots a row: its chart, its place among that
// chart's curves (lowest first; the chart's colours follow the places) and
// its legend name on a single line and on a coupled pair (nullptr: not
// plotted on that kind of line).
struct OutputCurve {
    OutputChart chart = OutputChart::None;
    int place = 0;
    const char* single = nullptr;
    const char* coupled = nullptr;

    const char* Legend(const LineDescriptor& line) const { return line.coupled ? coupled : single; }
};

struct OutputQuantity {
    const char* name; // "Phase constant"
    const char* unit; // as reported: "deg/m"; "" for a plain number
    OutputKind kind;
    const char* jsonKey;                     // tavrel-calc's key
    unsigned json;                           // OutputJson flags
    const char* csvHeader;                   // the sweep's column; nullptr: not swept
    const char* clipboardLabel;              // nullptr: not in the window's Ctrl+C text
    const char* tooltipLabel;                // nullptr: not in the loss field's tooltip
    bool (*has)(const LineDescriptor& line); // null: every line
    // The value in the kind's reading unit; NaN (or infinite) for none: a
    // JSON null, an empty cell, a tooltip line left out.
    double (*value)(const OutputSource& source);
    OutputCurve curve = {}; // not plotted by default

    bool On(const LineDescriptor& line) const { return has == nullptr || has(line); }
    // The value as JSON and CSV report it (losses in dB/m).
    double Reported(const OutputSource& source) const;
};

// In report order: the order of tavrel-calc's keys and the sweep's columns.
const std::vector<OutputQuantity>& OutputQuantities();

// The row with this JSON key, or nullptr.
const OutputQuantity* FindOutput(std::string_view jsonKey);

// The rows `chart` plots for `line`, in their places.
std::vector<const OutputQuantity*> ChartCurves(OutputChart chart, const LineDescriptor& line);
