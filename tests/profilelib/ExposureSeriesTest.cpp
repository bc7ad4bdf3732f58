// The exposure series of a chart's photographs: each broken rule is named once, at the pair where
// it breaks (a repeat is not also a break of the step around it), and neighbours further apart
// than the chart's patches reach are refused by the span of each chart kind.
#include "profilelib/ZarnLib_ExposureSeries.h"
#include "profilelib/ZarnLib_KestrinPatchElement.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Reason = ZarnLib_SeriesReason;

ZarnLib_SeriesRefusal Pair(std::size_t a, Reason reason, std::size_t b) { return {a, reason, b}; }

TEST(ExposureSeries, EachBrokenRuleIsNamedOnceAtItsPair)
{
    struct Case {
        const char* what;
        int kind;
        std::vector<double> exposures;
        std::vector<ZarnLib_SeriesRefusal> refusals;
    } cases[] = {
        {"even steps of 1 EV", 1, {-5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5}, {}},
        {"downwards", 2, {2, 1, 0, -1}, {}},
        {"a third of a stop off", 2, {-2, -1, 1.0 / 3, 1}, {}},
        {"steps of a third", 1, {0, 1.0 / 3, 2.0 / 3, 1}, {}},
        {"a single photograph", 2, {3}, {}},
        {"a gap", 1, {-3, -2, -1, 1, 2, 3}, {Pair(2, Reason::SeriesBreak, 3), Pair(2, Reason::BeyondChartSpan, 3)}},
        {"a gap the chart covers", 2, {-3, -2, -1, 1, 2, 3}, {Pair(2, Reason::SeriesBreak, 3)}},
        {"one exposure claimed twice", 2, {12, 12, 8}, {Pair(0, Reason::SameExposure, 1)}},
        {"a repeat in the middle", 2, {-3, -2, -1, -1, 0, 1}, {Pair(2, Reason::SameExposure, 3)}},
        {"out of order", 2, {-2, -1, 1, 0, 2}, {Pair(1, Reason::SeriesBreak, 2), Pair(2, Reason::SeriesBreak, 3), Pair(3, Reason::SeriesBreak, 4)}},
        {"all alike", 2, {0, 0, 0}, {Pair(0, Reason::SameExposure, 1), Pair(1, Reason::SameExposure, 2)}},
        {"two thirds off", 2, {0, 1, 2 + 2.0 / 3, 3}, {Pair(1, Reason::SeriesBreak, 2), Pair(2, Reason::SeriesBreak, 3)}},
        {"even steps of 8 EV on a chart of 4", 2, {20, 12, 4}, {Pair(0, Reason::BeyondChartSpan, 1), Pair(1, Reason::BeyondChartSpan, 2)}},
        {"even steps of 4 EV on a chart of 4", 2, {16, 12, 8}, {}},
        {"steps of 4 1/3 EV on a chart of 4", 2, {0, 13.0 / 3, 26.0 / 3}, {Pair(0, Reason::BeyondChartSpan, 1), Pair(1, Reason::BeyondChartSpan, 2)}},
        {"steps of 4 2/3 EV on a ColorChecker", 3, {0, 14.0 / 3, 28.0 / 3}, {}},
        {"steps of 5 EV on a ColorChecker Mini", 5, {0, 5, 10}, {Pair(0, Reason::BeyondChartSpan, 1), Pair(1, Reason::BeyondChartSpan, 2)}},
        {"steps of 5 1/3 EV on a SpyderCHECKR", 6, {0, 16.0 / 3, 32.0 / 3}, {}},
        {"steps of 4/3 EV on a Gradus I", 1, {0, 4.0 / 3, 8.0 / 3}, {Pair(0, Reason::BeyondChartSpan, 1), Pair(1, Reason::BeyondChartSpan, 2)}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.refusals, ZarnLib_ExposureSeries::Judge(c.kind, c.exposures)) << c.what;
}

TEST(ExposureSeries, TheSpanOfEachChartIsWhereItsOutputCurvePlacesItsPatches)
{
    EXPECT_DOUBLE_EQ(1.0, ZarnLib_KestrinPatchElement::ExposureSpanOfKind(1));
    EXPECT_DOUBLE_EQ(4.0, ZarnLib_KestrinPatchElement::ExposureSpanOfKind(2));
    EXPECT_NEAR(4.7459, ZarnLib_KestrinPatchElement::ExposureSpanOfKind(3), 1e-9);
    EXPECT_EQ(ZarnLib_KestrinPatchElement::ExposureSpanOfKind(3), ZarnLib_KestrinPatchElement::ExposureSpanOfKind(4));
    EXPECT_NEAR(5.3022, ZarnLib_KestrinPatchElement::ExposureSpanOfKind(6), 1e-9);
    EXPECT_EQ(0.0, ZarnLib_KestrinPatchElement::ExposureSpanOfKind(7));
}

} // namespace
