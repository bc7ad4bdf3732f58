#include "profilelib/ZarnLib_ChartSeriesCheck.h"

#include "profilelib/ZarnLib_ChartPatchOrder.h"
#include "profilelib/ZarnLib_ExposureSeries.h"
#include "profilelib/ZarnLib_SeriesLevels.h"
#include "profilelib/ZarnLib_Vector2.h"

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
        else if (!ZarnLib_ChartPatchOrder::ShowsStepsOrClips(photo.curve))
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
