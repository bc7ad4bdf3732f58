// Sets up the data grid that the manual entry and the reference view share: the table mark icon,
// six titled columns (ISO first) and one row per ISO speed with its number in the first column.
#pragma once

#include <string>

class CKZARN_DataListCtrl;

class ZarnViewIsoGrid {
public:
    // dataColumnWidth: the width of the five value columns; the ISO column is 100 wide.
    static void Prepare(CKZARN_DataListCtrl* grid, int dataColumnWidth);
    // The text of an ISO cell.
    static std::string IsoText(int iso);
};
