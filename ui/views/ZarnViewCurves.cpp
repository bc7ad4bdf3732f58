#include "ui/views/ZarnViewCurves.h"

#include "core/CKZARN_Common.h"
#include "profilelib/ZarnLib_PatchKey.h"
#include "profilelib/ZarnLib_Profile.h"

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

bool ZarnViewCurves::ReadCurve(const ZarnLib_Profile& profile, const ZarnLib_PatchKey& key, int photo,
                               ZarnLib_Buffer<ZarnLib_CnvPolyLine>* curves, bool* interpolated)
{
    *interpolated = false;
    if (profile.GetTableCurve(key, photo, curves, nullptr) == 0) {
        return true;
    }
    if (profile.GetCurveForSettings(key, photo, curves) != 0) {
        return false;
    }
    *interpolated = true;
    return true;
}

CET_GraphLine* ZarnViewCurves::NewLine(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, const std::string& name,
                                       int colourIndex, bool dashed)
{
    auto* line = new CET_GraphLine;
    line->name = name;
    line->colour = CKZARN_Common::GetGraphLineColor(colourIndex);
    line->dashed = dashed ? 1 : 0;
    AppendPolylines(curves, line);
    return line;
}
