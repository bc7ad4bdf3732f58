// A series of synthetic chart photographs at known exposures, all drawn from one tone curve: light
// crosses on a dark card, written as JPEG or TIFF with Exif ISO 100, f/5.6 and an exposure time of
// 2^(e-4) seconds for exposure e. A profile measured from such a series must lie on the curve.
#pragma once

#include "tests/support/ZarnTest_ChartPhoto.h"
#include "tests/support/ZarnTest_ExifWriter.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace chartseries {

constexpr int kPhotoW = 1260, kPhotoH = 840;

// Patch levels 15..150.
inline double Tone(double ev) { return 15 + 135 / (1 + std::exp(-1.1 * ev)); }
inline double ToneInverse(double level) { return -std::log(135 / (level - 15) - 1) / 1.1; }

// How far (in EV) a profile point lies off the tone curve, with the curve's EV 0 at the centre level.
inline double OffToneCurve(double ev, double level, double centreLevel)
{
    return std::fabs(ToneInverse(level) - ToneInverse(centreLevel) - ev);
}

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

// Writes one photograph of the series; truth receives the chart's markers in photograph pixels.
inline bool WritePhoto(const std::string& path, int kind, double exposure, bool jpeg, ZarnTest_ChartPoint truth[4],
                       int width = kPhotoW, int height = kPhotoH)
{
    auto bitmap = ZarnTest_ChartPhoto::Render(Drawing(kind, exposure, width, height), truth);
    if (!bitmap)
        return false;
    const double seconds = std::pow(2.0, exposure - 4);
    ZarnTest_ExifWriter writer(false);
    writer.AddExposure(100, 100000, static_cast<std::uint32_t>(std::lround(100000 / seconds)), 56, 10);
    return jpeg ? writer.WriteJpeg(*bitmap, path, 92) : writer.WriteTiff(*bitmap, path);
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

} // namespace chartseries
