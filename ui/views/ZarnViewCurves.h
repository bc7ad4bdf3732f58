// Turns the library's curve buffers into graph curves: every point of every polyline in order, the
// first point of a polyline starting a new piece (connect 0), its last point ending it (2).
#pragma once

#include "profilelib/ZarnLib_Buffer.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "ui/views/CET_GraphLine.h"

class ZarnViewCurves {
public:
    static void AppendPolylines(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, CET_GraphLine* line);
};
