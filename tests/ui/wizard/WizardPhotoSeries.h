// Synthetic chart photographs for the wizard's tests (the series of ZarnTest_ChartSeries.h) and the
// wizard's photograph records for them (corners where the chart is).
#pragma once

#include "profilelib/ZarnLib_Scales.h"
#include "tests/support/ZarnTest_ChartSeries.h"
#include "ui/wizard/CKZARN_WizFileData.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace wizardtest {

using chartseries::Drawing;
using chartseries::Exposures;
using chartseries::kBox;
using chartseries::kPhotoH;
using chartseries::kPhotoW;
using chartseries::Tone;
using chartseries::ToneInverse;

// Shutter index of exposure e at f/5.6: the time 2^(e-4) seconds.
inline int ShutterIndexOf(double exposure) { return static_cast<int>(std::lround(3 * (4 - exposure + 11))); }

// Writes one photograph and returns its record as the thumbnail strip would hold it: Exif values,
// checked, corners at the chart's markers in photograph pixels (scale 1).
inline std::unique_ptr<CKZARN_WizFileData> WritePhoto(const std::string& path, int kind, double exposure, bool jpeg,
                                                      int width = kPhotoW, int height = kPhotoH)
{
    ZarnTest_ChartPoint truth[4];
    if (!chartseries::WritePhoto(path, kind, exposure, jpeg, truth, width, height))
        return nullptr;
    ExifInputValues record;
    record.path = path;
    record.loadResult = 0;
    record.isoFromExif = record.shutterFromExif = record.apertureFromExif = 1;
    record.iso = 100;
    record.shutterIndex = ShutterIndexOf(exposure);
    record.apertureIndex = FNumberToApertureIndex(5.6);
    record.checked = 1;
    record.cornersConfirmed = 1;
    record.scale = 1.0;
    for (int k = 0; k < 4; ++k)
        record.corners[k] = POINT{static_cast<LONG>(std::lround(truth[k].x)), static_cast<LONG>(std::lround(truth[k].y))};
    return std::make_unique<CKZARN_WizFileData>(path, record);
}

// Writes a picture with the Exif values of exposure e, as the series' photographs have them.
inline bool WriteWithExposure(const ZarnLib_Bitmap& bitmap, const std::string& path, double exposure, bool jpeg)
{
    ZarnTest_ExifWriter writer(false);
    writer.AddExposure(100, 100000, static_cast<std::uint32_t>(std::lround(100000 / std::pow(2.0, exposure - 4))), 56, 10);
    return jpeg ? writer.WriteJpeg(bitmap, path, 92) : writer.WriteTiff(bitmap, path);
}

// Writes a picture that is not the chart in place of a photograph of chart kind `kind` at exposure
// e: the Exif values of e, the kind's markers where its photograph has them, and a smooth grey
// ramp from dark to light in the direction `degrees` (0: left to right, 90: top to bottom).
inline bool WriteGradient(const std::string& path, int kind, double exposure, bool jpeg, double degrees)
{
    ZarnTest_ChartSpec drawing = Drawing(kind, exposure);
    drawing.gradientDegrees = degrees;
    ZarnTest_ChartPoint truth[4];
    const auto bitmap = ZarnTest_ChartPhoto::Render(drawing, truth);
    return bitmap && WriteWithExposure(*bitmap, path, exposure, jpeg);
}

// Writes a picture of one grey level all over, with the Exif values of exposure e.
inline bool WriteUniform(const std::string& path, int level, double exposure, bool jpeg)
{
    auto bitmap = ZarnLib_Bitmap::Create(kPhotoW, kPhotoH, ZarnLib_Bitmap::kFormat32bppARGB);
    if (!bitmap)
        return false;
    const auto c = static_cast<std::uint32_t>(level);
    for (std::uint32_t y = 0; y < bitmap->GetHeight(); ++y)
        std::fill(bitmap->Row(y), bitmap->Row(y) + bitmap->GetWidth(), 0xFF000000u | (c << 16) | (c << 8) | c);
    return WriteWithExposure(*bitmap, path, exposure, jpeg);
}

} // namespace wizardtest
