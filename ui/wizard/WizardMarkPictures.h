// The photograph views' pictures, drawn in code and looked up by their resource numbers: the strip's
// two check-box pictures and its corners-confirmed picture, the four corner markers, and the
// readings page's two meter pictures and its stored-result mark.
#pragma once

#include <QPixmap>

class WizardMarkPictures {
public:
    static constexpr int kChecked = 157;
    static constexpr int kUnchecked = 158;
    static constexpr int kCornersConfirmed = 197;
    static constexpr int kMarkerBottomLeft = 182;
    static constexpr int kMarkerTopLeft = 184;
    static constexpr int kMarkerTopRight = 186;
    static constexpr int kMarkerBottomRight = 188;
    static constexpr int kStoredResult = 156;
    static constexpr int kReflectedMeter = 176;
    static constexpr int kIncidentMeter = 177;

    // The picture of the resource number at its own size; a null pixmap for any other number.
    static QPixmap Load(int resourceId);
};
