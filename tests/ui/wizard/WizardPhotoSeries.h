// Synthetic chart photographs for the wizard's tests: a series at known exposures, drawn from one
// tone curve with light crosses on a dark card, written as JPEG or TIFF with Exif ISO, exposure
// time and f-number, and the wizard's photograph records for them (corners where the chart is).
#pragma once

#include "tests/support/ZarnTest_ChartPhoto.h"
#include "profilelib/ZarnLib_Scales.h"
#include "tests/support/ZarnTest_ExifWriter.h"
#include "ui/wizard/CKZARN_WizFileData.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace wizardtest {

constexpr int kPhotoW = 1260, kPhotoH = 840;

// Patch levels 15..150.
inline double Tone(double ev) { return 15 + 135 / (1 + std::exp(-1.1 * ev)); }
inline double ToneInverse(double level) { return -std::log(135 / (level - 15) - 1) / 1.1; }

// Marker rectangle of each kind in chart units.
inline const double kBox[6][2] = {{230, 199}, {316, 166}, {275.5, 180.5}, {90, 60}, {72, 47}, {182, 120.4}};

inline ZarnTest_ChartSpec Drawing(int kind, double exposure, int width = kPhotoW, int height = kPhotoH)
{
    const double scale = 420.0 / width;
    ZarnTest_ChartSpec drawing;
    drawing.kind = kind;
    drawing.width = width;
    drawing.height = height;
    const double bw = kBox[kind - 1][0], bh = kBox[kind - 1][1];
    const double margin = 22 / scale;
    const double unit = std::min((width - 2 * margin) / bw, (height - 2 * margin) / bh);
    drawing.chartFraction = unit * bw / width;
    drawing.crossArm = 14 / scale;
    drawing.crossHalfWidth = 2 / scale;
    drawing.stripePeriod = 12 / scale;
    drawing.crossLevel = 235;
    drawing.cardLevel = 25;
    drawing.toneCurve = Tone;
    drawing.exposure = exposure;
    return drawing;
}

// Shutter index of exposure e at f/5.6: the time 2^(e-4) seconds.
inline int ShutterIndexOf(double exposure) { return static_cast<int>(std::lround(3 * (4 - exposure + 11))); }

// Writes one photograph and returns its record as the thumbnail strip would hold it: Exif values,
// checked, corners at the chart's markers in photograph pixels (scale 1).
inline std::unique_ptr<CKZARN_WizFileData> WritePhoto(const std::string& path, int kind, double exposure, bool jpeg,
                                                      int width = kPhotoW, int height = kPhotoH)
{
    const ZarnTest_ChartSpec drawing = Drawing(kind, exposure, width, height);
    ZarnTest_ChartPoint truth[4];
    auto bitmap = ZarnTest_ChartPhoto::Render(drawing, truth);
    if (!bitmap)
        return nullptr;
    const double seconds = std::pow(2.0, exposure - 4);
    ZarnTest_ExifWriter writer(false);
    writer.AddExposure(100, 100000, static_cast<std::uint32_t>(std::lround(100000 / seconds)), 56, 10);
    if (!(jpeg ? writer.WriteJpeg(*bitmap, path, 92) : writer.WriteTiff(*bitmap, path)))
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

// Exposure series that cover the levels without gaps between the curves.
inline std::vector<double> Exposures(int kind)
{
    if (kind == 1)
        return {-2, -1, 0, 1, 2};
    if (kind == 2)
        return {-2, -1, 0, 1};
    return {-2, -1, 0};
}

} // namespace wizardtest
