// One curve of a graph: legend name, colour, dashed flag and its points.
#pragma once

#include "platform/WinTypes.h"
#include "ui/views/CET_PointW.h"

#include <string>
#include <vector>

class CET_GraphLine {
public:
    std::string name;
    COLORREF colour = 0;
    int dashed = 0; // 0 = solid
    std::vector<CET_PointW> points;

    // The x of the first and of the last point; 0 for a curve without points.
    double GetFirstX() const { return points.empty() ? 0.0 : points.front().x; }
    double GetLastX() const { return points.empty() ? 0.0 : points.back().x; }
    void Copy(const CET_GraphLine& other)
    {
        name = other.name;
        colour = other.colour;
        dashed = other.dashed;
        points = other.points;
    }
};
