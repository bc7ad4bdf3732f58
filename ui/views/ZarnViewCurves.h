// Turns the library's curve buffers into graph curves: every point of every polyline in order, the
// first point of a polyline starting a new piece (connect 0), its last point ending it (2).
#pragma once

#include "profilelib/ZarnLib_Buffer.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "ui/views/CET_GraphLine.h"

#include <string>

class ZarnLib_PatchKey;
class ZarnLib_Profile;

class ZarnViewCurves {
public:
    static void AppendPolylines(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, CET_GraphLine* line);
    // The profile's curve for key: its own table's curve, or else the one worked out from the
    // settings (then *interpolated is set). False when there is neither.
    static bool ReadCurve(const ZarnLib_Profile& profile, const ZarnLib_PatchKey& key, int photo,
                          ZarnLib_Buffer<ZarnLib_CnvPolyLine>* curves, bool* interpolated);
    // A new graph curve of the given name, colour (the graph's colour index) and dash.
    static CET_GraphLine* NewLine(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, const std::string& name,
                                  int colourIndex, bool dashed);
};
