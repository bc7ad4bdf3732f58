#include "profilelib/ZarnLib_ChartPatchFlatness.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The median of the values (the mean of the middle two of an even count).
double Median(std::vector<double> values)
{
    const std::size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle), values.end());
    const double upper = values[middle];
    if (values.size() % 2 != 0)
        return upper;
    const double lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle));
    return (lower + upper) / 2;
}

} // namespace

double ZarnLib_ChartPatchFlatness::InnerChange() const
{
    if (patches_.empty())
        return 0.0;
    std::vector<double> across, down;
    for (const Patch& p : patches_) {
        across.push_back(p.across);
        down.push_back(p.down);
    }
    return std::fabs(Median(std::move(across))) + std::fabs(Median(std::move(down)));
}

double ZarnLib_ChartPatchFlatness::MeanStep() const
{
    double steps = 0.0;
    int pairs = 0;
    for (const Patch& p : patches_)
        for (const Patch& q : patches_)
            if (q.row == p.row && q.column == p.column + 1) {
                steps += std::fabs(q.level - p.level);
                ++pairs;
            }
    return pairs == 0 ? 0.0 : steps / pairs;
}

bool ZarnLib_ChartPatchFlatness::FlatBetweenSteps() const
{
    return InnerChange() <= kInnerShare * MeanStep() + kGrainLevels;
}
