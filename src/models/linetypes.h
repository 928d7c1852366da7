// The line types the calculator offers, in tab order: one descriptor each
// (names, rows, keys, first-start rows, settings section, synthesis rule and
// kernels), in the one table of linetypes.cpp.  The window, the Worksheet and
// tavrel-calc take names, keys and defaults from here and nowhere else.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/linecal.h"
#include "core/linedescriptor.h"

// A line type of the table, by the name the command line uses.
using LineType = LineDescriptor;

// The tab names, in tab order.
const std::vector<std::string>& TabNames();

// The line types, in tab order.
const std::vector<LineType>& LineTypes();

// The type with this command-line name, or nullptr.
const LineType* FindLineType(std::string_view cliName);

// The type on this tab, or nullptr for a tab without one.
const LineType* LineTypeForTab(int tabIndex);

// A model of the type, talking to `window`.
std::unique_ptr<LineModel> CreateLineModel(const LineType& type, WindowServices& window);

// The model of one line type by its class name, for code that names the
// line it means (tests, benchmarks): MicrostripModel model{sheet}.
template <int Tab> class LineModelOf : public LineModel {
  public:
    explicit LineModelOf(WindowServices& window) : LineModel(window, *LineTypeForTab(Tab)) {}
};

using MicrostripModel = LineModelOf<0>;
using StriplineModel = LineModelOf<1>;
using CpwModel = LineModelOf<2>;
using GroundedCpwModel = LineModelOf<3>;
using CoaxModel = LineModelOf<4>;
using SlotlineModel = LineModelOf<5>;
using CoupledMicrostripModel = LineModelOf<6>;
using CoupledStriplineModel = LineModelOf<7>;
