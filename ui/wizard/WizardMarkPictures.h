// The photograph views' pictures, drawn in code and looked up by their resource numbers: the strip's
// two check-box pictures and its corners-confirmed picture, and the four corner markers.
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

    // The picture of the resource number at its own size; a null pixmap for any other number.
    static QPixmap Load(int resourceId);
};
