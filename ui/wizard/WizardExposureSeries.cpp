#include "ui/wizard/WizardExposureSeries.h"

#include "ui/wizard/ExifInputValues.h"
#include "ui/wizard/WizardCalculation.h"
#include "ui/wizard/WizardData.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

// A third of a stop, with room for the tenths the exposure scales round to.
constexpr double kThird = 1.0 / 3.0 + 1e-6;

} // namespace

double WizardExposureSeries::ExposureOf(const WizardData& data, const ExifInputValues& record)
{
    const ZarnLib_EntryKey key = WizardCalculation::EntryKeyOf(data, record);
    return data.cineMode == 1 ? key.GetCineEv() : key.GetEv();
}

std::vector<std::size_t> WizardExposureSeries::FindBreaks(const std::vector<double>& exposures)
{
    if (exposures.size() < 2)
        return {};
    std::vector<double> steps;
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < exposures.size(); ++i) {
        steps.push_back(exposures[i + 1] - exposures[i]);
        sum += steps.back();
    }
    std::vector<double> sizes;
    for (const double step : steps)
        sizes.push_back(std::fabs(step));
    // The series' step: the median size of the steps (the lower one of an even count, so that a
    // single gap among few steps does not set the step).
    const std::size_t middle = (sizes.size() - 1) / 2;
    std::nth_element(sizes.begin(), sizes.begin() + static_cast<std::ptrdiff_t>(middle), sizes.end());
    const double size = sizes[middle];
    const double direction = sum >= 0.0 ? 1.0 : -1.0;

    std::set<std::size_t> breaks;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const double step = steps[i] * direction;
        // Exposures on the scales lie whole thirds apart; less than half of one is the same exposure.
        const bool alike = std::fabs(steps[i]) < kThird / 2;
        if (alike || step < 0.0 || std::fabs(step - size) > kThird) {
            breaks.insert(i);
            breaks.insert(i + 1);
        }
    }
    return std::vector<std::size_t>(breaks.begin(), breaks.end());
}
