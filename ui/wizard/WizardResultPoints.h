// The five result points of a calculation run in the order the screens keep them: CPM, DRM, CNT,
// DRP, CPP; EVs as doubles, levels as ints; the block's extra value and whether the points are hidden.
#pragma once

struct WizardResultPoints {
    double ev[5] = {-3.5, -2.5, 0.0, 2.5, 3.5};
    int level[5] = {20, 35, 118, 230, 245};
    double extra = 0.0;
    int hidden = 0;
};
