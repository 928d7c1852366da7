// The line types the calculator offers, in tab order, with what the window and
// the command line need to know of each.  A line family registers itself by
// adding its entry to the table in linetypes.cpp.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/linecal.h"

struct LineType {
    int tabIndex;                             // 0..7, the window's tab order
    const char* tabName;                      // "Microstrip", ...
    const char* cliName;                      // "microstrip", ...
    std::vector<std::string> dimensionKeys;   // symbols of the rows, row 1 first
    bool coupled;                             // even/odd modes, no synthesis
    bool lossShown;                           // false where the line blanks its loss
    std::unique_ptr<LineModel> (*create)(WindowServices& window);
};

inline constexpr int kLineTypeCount = 8;

// The tab names, in tab order, whether or not their model exists yet.
const std::vector<std::string>& TabNames();

// The registered line types, in tab order.
const std::vector<LineType>& LineTypes();

// The registered type with this command-line name, or nullptr.
const LineType* FindLineType(std::string_view cliName);

// The registered type on this tab, or nullptr while it is not built.
const LineType* LineTypeForTab(int tabIndex);
