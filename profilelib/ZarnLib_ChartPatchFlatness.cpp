#include "profilelib/ZarnLib_ChartPatchFlatness.h"

#include <cmath>

double ZarnLib_ChartPatchFlatness::InnerChange() const
{
    if (patches_.empty())
        return 0.0;
    double across = 0.0, down = 0.0;
    for (const Patch& p : patches_) {
        across += p.across;
        down += p.down;
    }
    return (std::fabs(across) + std::fabs(down)) / static_cast<double>(patches_.size());
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
