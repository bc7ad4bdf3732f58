#include "ui/views/CET_GraphStyle.h"

void CET_GraphStyle::SetDefaults()
{
    xMax = 10.0;
    xMin = -10.0;
    yMax = 255.0;
    yMin = 0.0;
    xStep = 1.0;
    yLabelStep = 50.0;
    yMinorStep = 10.0;
    background = 0xFFFFFF;
    plotColour = 0xC0C0C0;
    gridColour = 0x808080;
    markerColour[0] = 0x0000FF;
    markerColour[1] = 0x00FF00;
    markerColour[2] = 0x000000;
    markerColour[3] = 0x00FF00;
    markerColour[4] = 0x0000FF;
    clipRowColour = 0xFFAF95;
    stripColour = 0x7AFFFF;
    tint[0] = 0x7A7AFF;
    tint[1] = 0x7AFF7A;
    tint[2] = 0x7AFF7A;
    tint[3] = 0x7A7AFF;
    for (std::string& c : caption) {
        c.clear();
    }
}
