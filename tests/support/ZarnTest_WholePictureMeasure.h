// Reference for the chart measurement: loads the whole photograph into a bitmap
// and reads every sample with a single-pixel or row read, the plain way. Tests
// compare the streamed measurement with it; both must give the same result code
// and the same curve.
#pragma once

#include "platform/WinTypes.h"
#include "profilelib/ZarnLib_EntryKey.h"
#include "profilelib/ZarnLib_PatchKey.h"

#include <string>

class ZarnLib_Profile;

class ZarnTest_WholePictureMeasure {
public:
    // Same arguments and results as MeasureChartPhoto.
    static int Measure(const std::wstring& path, POINT tl, POINT tr, POINT br, POINT bl, int chartKind,
        ZarnLib_PatchKey tableKey, ZarnLib_EntryKey photoKey, ZarnLib_Profile* profile);
};
