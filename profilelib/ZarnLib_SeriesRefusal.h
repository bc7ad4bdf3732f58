// Why a photograph of a measured chart series cannot go into a profile, and which one it is. The
// rules that refuse a single picture name one photograph; the rules about neighbours in the
// exposure series name a pair.
#pragma once

#include <cstddef>

enum class ZarnLib_SeriesReason {
    OutOfChartOrder, // its patches do not follow the chart's order from dark to light
    NotFlat,         // its patches change inside as much as between them (a gradient)
    NoSteps,         // its patches show no step between them at a level the camera does not clip
    OutOfStep,       // its levels are out of step with its neighbour in exposure
    SameExposure,    // the pair claims one exposure
    SeriesBreak,     // the pair's step differs from the series' step, or runs the other way
    BeyondChartSpan, // the pair lies further apart in exposure than the chart's patches span
};

struct ZarnLib_SeriesRefusal {
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    std::size_t photo = 0;     // index among the photographs as given
    ZarnLib_SeriesReason reason = ZarnLib_SeriesReason::OutOfChartOrder;
    std::size_t other = kNone; // the pair's second photograph, kNone for a rule about one picture

    bool operator==(const ZarnLib_SeriesRefusal&) const = default;
};
