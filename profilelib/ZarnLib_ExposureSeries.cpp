#include "profilelib/ZarnLib_ExposureSeries.h"

#include "profilelib/ZarnLib_KestrinPatchElement.h"

#include <algorithm>
#include <cmath>
#include <numeric>

std::vector<ZarnLib_SeriesRefusal> ZarnLib_ExposureSeries::Judge(int chartKind, const std::vector<double>& exposures)
{
    std::vector<ZarnLib_SeriesRefusal> refusals;
    if (exposures.size() < 2)
        return refusals;
    std::vector<double> steps;
    for (std::size_t i = 0; i + 1 < exposures.size(); ++i)
        steps.push_back(exposures[i + 1] - exposures[i]);
    // Less than half a third apart is the same exposure.
    const auto alike = [](double step) { return std::fabs(step) < kThird / 2; };
    for (std::size_t i = 0; i < steps.size(); ++i)
        if (alike(steps[i]))
            refusals.push_back({i, ZarnLib_SeriesReason::SameExposure, i + 1});

    // The series' step and direction, from the steps that are not repeats: a photograph given
    // twice is named as such, not as a break of the step around it.
    std::vector<double> sizes;
    double sum = 0.0;
    for (const double step : steps)
        if (!alike(step)) {
            sizes.push_back(std::fabs(step));
            sum += step;
        }
    if (!sizes.empty()) {
        const std::size_t middle = (sizes.size() - 1) / 2;
        std::nth_element(sizes.begin(), sizes.begin() + static_cast<std::ptrdiff_t>(middle), sizes.end());
        const double size = sizes[middle];
        const double direction = sum >= 0.0 ? 1.0 : -1.0;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const double step = steps[i] * direction;
            if (!alike(steps[i]) && (step < 0.0 || std::fabs(step - size) > kThird))
                refusals.push_back({i, ZarnLib_SeriesReason::SeriesBreak, i + 1});
        }
    }

    // Neighbours in exposure, whatever order the photographs were given in.
    const double span = ZarnLib_KestrinPatchElement::ExposureSpanOfKind(chartKind);
    if (span > 0.0) {
        std::vector<std::size_t> order(exposures.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return exposures[a] < exposures[b]; });
        std::vector<ZarnLib_SeriesRefusal> wide;
        for (std::size_t i = 0; i + 1 < order.size(); ++i) {
            if (exposures[order[i + 1]] - exposures[order[i]] > span + kThird / 2)
                wide.push_back({std::min(order[i], order[i + 1]), ZarnLib_SeriesReason::BeyondChartSpan,
                                std::max(order[i], order[i + 1])});
        }
        // In the order the photographs were given, whichever way the series runs.
        std::sort(wide.begin(), wide.end(), [](const ZarnLib_SeriesRefusal& a, const ZarnLib_SeriesRefusal& b) {
            return a.photo != b.photo ? a.photo < b.photo : a.other < b.other;
        });
        refusals.insert(refusals.end(), wide.begin(), wide.end());
    }
    return refusals;
}
