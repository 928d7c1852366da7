// The table of reported quantities.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/outputs.h"

// A JSON key or sweep column used twice would silently overwrite the first;
// a row no report lists is dead.
TEST(OutputTable, KeysAndColumnsAreUniqueAndEveryRowIsReported) {
    std::set<std::string> keys;
    std::set<std::string> columns;
    for (const OutputQuantity& row : OutputQuantities()) {
        EXPECT_TRUE(keys.insert(row.jsonKey).second) << row.jsonKey;
        if (row.csvHeader != nullptr) {
            EXPECT_TRUE(columns.insert(row.csvHeader).second) << row.jsonKey;
        }
        EXPECT_TRUE(row.json != kNotInJson || row.csvHeader != nullptr ||
                    row.clipboardLabel != nullptr || row.tooltipLabel != nullptr)
            << row.jsonKey;
        EXPECT_EQ(FindOutput(row.jsonKey), &row);
    }
    EXPECT_EQ(FindOutput("f"), nullptr);
}
