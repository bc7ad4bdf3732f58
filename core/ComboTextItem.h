// One row of a labelled-value list for a combo box: text-table id (0 ends the list) and item data.
#pragma once

struct ComboTextItem {
    int textId;
    int value;
};
