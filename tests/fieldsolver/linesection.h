// A line's cross-section as its family's builder makes it, rows in um
// (or in `unit` metres).
#pragma once

#include <string_view>
#include <vector>

#include "core/crosssection.h"
#include "core/widebanddielectric.h"
#include "models/linetypes.h"

inline CrossSection LineSection(std::string_view cliName, const std::vector<double>& rowsUm,
                                double er, double unit = 1e-6) {
    LineInputs in;
    for (std::size_t i = 0; i < rowsUm.size(); ++i)
        in.rows[i] = rowsUm[i] * unit;
    in.er = er;
    return FindLineType(cliName)->crossSection(AtFrequency(in));
}
