// Small pictures of the calibration charts for the chart choice, drawn in code: grey-scale
// patches in the arrangement of each chart kind.
#pragma once

#include <QPixmap>

class WizardChartPictures {
public:
    // kind: 1 Gradus I, 2 Gradus II, 3 ColorChecker, 6 SpyderCHECKR.
    static QPixmap Draw(int kind, int width, int height);
};
