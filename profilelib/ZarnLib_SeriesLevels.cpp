#include "profilelib/ZarnLib_SeriesLevels.h"

#include "profilelib/ZarnLib_ChartPatchOrder.h"

#include <algorithm>
#include <numeric>

namespace {

double Spread(const std::vector<double>& levels)
{
    if (levels.empty())
        return 0.0;
    const auto [low, high] = std::minmax_element(levels.begin(), levels.end());
    return *high - *low;
}

} // namespace

int ZarnLib_SeriesLevels::FindOutOfStep(const std::vector<double>& exposures, const std::vector<std::vector<double>>& levels)
{
    const std::size_t count = std::min(exposures.size(), levels.size());
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    // From the darkest exposure (the highest EV) to the lightest.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return exposures[a] > exposures[b]; });
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const std::vector<double>& darker = levels[order[i]];
        const std::vector<double>& lighter = levels[order[i + 1]];
        const std::size_t points = std::min(darker.size(), lighter.size());
        for (std::size_t k = 0; k < points; ++k) {
            if (lighter[k] < darker[k] - ZarnLib_ChartPatchOrder::kNoiseLevels)
                return static_cast<int>(Spread(darker) < Spread(lighter) ? order[i] : order[i + 1]);
        }
    }
    return -1;
}
