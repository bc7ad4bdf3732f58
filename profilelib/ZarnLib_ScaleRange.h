// One row of a range table that maps a measured value to a scale index. A value v belongs to the
// row when, all rounded with RoundToDecimals to the row's decimals, lo <= v < hi. A row whose index
// is -1 ends a table.
#pragma once

struct ZarnLib_ScaleRange {
    int index;
    double lo;
    double hi;
    int decimals;
};
