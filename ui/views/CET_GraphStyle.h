// Axis ranges, steps, colours and captions of one graph; the renderer keeps its own copy.
#pragma once

#include "platform/WinTypes.h"

#include <string>

class CET_GraphStyle {
public:
    static constexpr int kCaptionCount = 12;

    CET_GraphStyle() { SetDefaults(); }

    // Writes the defaults into every field.
    void SetDefaults();

    double xMax;         // EV
    double xMin;         // EV
    double yMax;         // level
    double yMin;         // level
    double xStep;        // grid line and label every step
    double yLabelStep;   // grid line and label every step
    double yMinorStep;   // short ticks on the y axis
    COLORREF background; // the whole rectangle
    COLORREF plotColour;
    COLORREF gridColour;
    COLORREF markerColour[5]; // CPM, DRM, CNT, DRP, CPP
    COLORREF clipRowColour;   // clipping-range row of the EV strip
    COLORREF stripColour;     // EV strip background and dynamic-range row
    COLORREF tint[4];         // EV strip cells of CPM, DRM, DRP, CPP
    // 0-4: point names in the five-point table (CPM, DRM, CNT, DRP, CPP); 5-9: point names in the EV
    // strip (7 is not drawn); 10: clipping range; 11: dynamic range.
    std::string caption[kCaptionCount];
};
