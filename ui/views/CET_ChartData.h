// One row of a profile's data table: the ISO and five EV values, with what the forms keep beside them.
#pragma once

#include <cstdint>
#include <string>

class CET_ChartData {
public:
    std::int32_t iso = 0;
    std::int32_t hasValues = 0; // 0: the row shows only its ISO
    double values[5] = {0.0, 0.0, 0.0, 0.0, 0.0};
    double further = 0.0;             // kept by the forms, not shown
    std::int32_t ints[6] = {0, 0, 0, 0, 0, 0}; // kept by the forms, not shown
    std::int32_t rowMark = 0;         // 1: the data grid shows its icon in this row
    std::int32_t sourceFlag = 0;      // kept by the forms, not shown

    // The text of value column k (0..4): the value rounded to 0.1 EV half away from zero, "%.1f" when
    // that is 0, else "%+.1f"; empty for other columns or a row without values.
    std::string GetText(int column) const;
};
