// The exposure series of the chosen photographs. The calculation joins the photographs' curves by
// their exposures, so a series with a gap, a repeat or a photograph out of place gives a profile
// shifted off the camera's curve without any sign of it. A sound series steps evenly: neighbours
// differ by the series' step within a third of a stop, no two are alike, and the exposures run
// one way. The step is the series' own (the median of the neighbours' differences).
#pragma once

#include <cstddef>
#include <vector>

class ExifInputValues;
class WizardData;

class WizardExposureSeries {
public:
    // The exposure (EV) of a photograph as the calculation takes it: shutter and aperture (or the
    // cine values) less the brightness adjustment.
    static double ExposureOf(const WizardData& data, const ExifInputValues& record);

    // The indices (ascending) of the photographs on either side of every break in the series;
    // empty for a sound series and for fewer than two photographs.
    static std::vector<std::size_t> FindBreaks(const std::vector<double>& exposures);
};
