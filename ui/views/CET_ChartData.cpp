#include "ui/views/CET_ChartData.h"

#include <cmath>
#include <cstdio>

std::string CET_ChartData::GetText(int column) const
{
    if (column < 0 || column > 4 || !hasValues) {
        return std::string();
    }
    const double x = values[column];
    const double t = std::trunc(std::fabs(x) * 10.0 + 0.5);
    char buffer[48];
    if (t == 0.0) {
        std::snprintf(buffer, sizeof buffer, "%.1f", 0.0);
    } else {
        std::snprintf(buffer, sizeof buffer, "%+.1f", (x < 0.0 ? -t : t) * 0.1);
    }
    return buffer;
}
