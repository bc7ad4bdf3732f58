// The wizard's pictures, drawn in code and looked up by their resource numbers: the three step
// marks of the step list, the chart marks under the chart choices and the two light sources.
#pragma once

#include <QIcon>

class WizardPictures {
public:
    static constexpr int kStepLater = 166;
    static constexpr int kStepCurrent = 165;
    static constexpr int kStepDone = 167;
    static constexpr int kFlash = 174;
    static constexpr int kDaylight = 175;
    static constexpr int kChartMarkLeft = 216;
    static constexpr int kChartMarkRight = 240;

    // The picture of the resource number; a null icon for any other number.
    static QIcon Load(int resourceId);
};
