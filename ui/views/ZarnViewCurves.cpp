#include "ui/views/ZarnViewCurves.h"

void ZarnViewCurves::AppendPolylines(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, CET_GraphLine* line)
{
    if (line == nullptr) {
        return;
    }
    for (int c = 0; c < curves.GetCount(); ++c) {
        const ZarnLib_CnvPolyLine& poly = curves[c];
        for (int k = 0; k < poly.GetCount(); ++k) {
            CET_PointW point;
            point.x = poly.GetPoints()[k].x;
            point.y = poly.GetPoints()[k].y;
            point.connect = k == 0 ? 0 : (k == poly.GetCount() - 1 ? 2 : 1);
            line->points.push_back(point);
        }
    }
}
