#include "profilelib/ZarnLib_ChartSeriesCheck.h"

#include "profilelib/ZarnLib_ChartPatchOrder.h"
#include "profilelib/ZarnLib_ExposureSeries.h"
#include "profilelib/ZarnLib_SeriesLevels.h"
#include "profilelib/ZarnLib_Vector2.h"

#include <algorithm>

namespace {

// Levels up to which a camera with a lifted black clips its shadows, and from which one with a
// lowered white clips its highlights: video and log curves put black at 16 to 40 and white at
// 200 to 235, inside the 8-bit range.
constexpr double kLiftedBlack = 64.0;
constexpr double kLoweredWhite = 192.0;

// Whether a picture without steps can be the chart clipped by such a camera, black: no other
// photograph reads darker by more than the noise, and every one given less light reads as dark as
// it (clipped too); or white, the same the other way. A uniform grey inside the series has
// photographs on both sides of it and is told apart.
bool ClippedAtTheSeriesExtreme(std::size_t which, const std::vector<ZarnLib_ChartSeriesCheck::Photo>& photos)
{
    const ZarnLib_ChartSeriesCheck::Photo& photo = photos[which];
    const int count = photo.curve.GetCount();
    if (count == 0)
        return false;
    double sum = 0.0;
    for (int k = 0; k < count; ++k)
        sum += photo.curve.GetPoints()[k].y;
    const double mean = sum / count;
    const double noise = ZarnLib_ChartPatchOrder::kNoiseLevels;
    bool black = mean <= kLiftedBlack, white = mean >= kLoweredWhite;
    for (std::size_t i = 0; i < photos.size(); ++i) {
        if (i == which)
            continue;
        const bool lessLight = photos[i].exposure > photo.exposure; // more EV is darker
        for (int k = 0; k < photos[i].curve.GetCount(); ++k) {
            const double y = photos[i].curve.GetPoints()[k].y;
            if (y < mean - noise || (lessLight && y > mean + noise))
                black = false;
            if (y > mean + noise || (!lessLight && y < mean - noise))
                white = false;
        }
    }
    return black || white;
}

} // namespace

std::vector<ZarnLib_SeriesRefusal> ZarnLib_ChartSeriesCheck::Judge(int chartKind, const std::vector<Photo>& photos)
{
    std::vector<double> exposures;
    for (const Photo& photo : photos)
        exposures.push_back(photo.exposure);
    std::vector<ZarnLib_SeriesRefusal> refusals = ZarnLib_ExposureSeries::Judge(chartKind, exposures);

    for (std::size_t i = 0; i < photos.size(); ++i) {
        const Photo& photo = photos[i];
        if (!ZarnLib_ChartPatchOrder::FollowsTheChart(photo.curve))
            refusals.push_back({i, ZarnLib_SeriesReason::OutOfChartOrder});
        else if (!photo.flatness.FlatBetweenSteps())
            refusals.push_back({i, ZarnLib_SeriesReason::NotFlat});
        else if (!ZarnLib_ChartPatchOrder::ShowsStepsOrClips(photo.curve) && !ClippedAtTheSeriesExtreme(i, photos))
            refusals.push_back({i, ZarnLib_SeriesReason::NoSteps});
    }

    std::vector<std::vector<double>> levels;
    for (const Photo& photo : photos) {
        levels.emplace_back();
        for (int k = 0; k < photo.curve.GetCount(); ++k)
            levels.back().push_back(photo.curve.GetPoints()[k].y);
    }
    const int outOfStep = ZarnLib_SeriesLevels::FindOutOfStep(exposures, levels);
    if (outOfStep >= 0)
        refusals.push_back({static_cast<std::size_t>(outOfStep), ZarnLib_SeriesReason::OutOfStep});
    return refusals;
}
