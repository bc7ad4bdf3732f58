// One row of a dialog layout table: control id (0 ends the table; a first row whose id names no
// control describes the dialog itself), text-table id (0 keeps the text), position and size in
// client pixels (for the dialog row: the size of the whole window).
#pragma once

struct DialogLayoutItem {
    int id;
    int textId;
    int x;
    int y;
    int width;
    int height;
};
