#include "profilelib/ZarnLib_CnvPolyLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

ZarnLib_CnvPolyLine Curve(std::vector<_ZARNLIB_VECTOR2> points, bool sort = false)
{
    ZarnLib_CnvPolyLine c;
    EXPECT_EQ(c.SetPoints(points.data(), static_cast<int>(points.size()), sort), 0);
    return c;
}

} // namespace

TEST(ZarnLibCnvPolyLine, OnePointIsRefusedAndZeroEmpties)
{
    ZarnLib_CnvPolyLine c = Curve({{0, 1}, {2, 3}});
    const _ZARNLIB_VECTOR2 one[1] = {{5, 5}};
    EXPECT_EQ(c.SetPoints(one, 1, true), -1);
    EXPECT_EQ(c.SetPoints(one, -3, true), -1);
    EXPECT_EQ(c.GetCount(), 2);
    EXPECT_EQ(c.Evaluate(1, false), 2);
    EXPECT_EQ(c.SetPoints(nullptr, 0, true), 0);
    EXPECT_EQ(c.GetCount(), 0);
    EXPECT_EQ(c.Evaluate(0.25, true), 0.25); // fewer than 2 points: x itself, unclamped
    EXPECT_EQ(c.Evaluate(7.0, true), 7.0);
}

TEST(ZarnLibCnvPolyLine, RunsOfEqualXAtTheEndsAreLevelled)
{
    ZarnLib_CnvPolyLine c = Curve({{1, 5}, {1, 3}, {2, 4}, {3, 6}, {3, 9}});
    _ZARNLIB_VECTOR2 p;
    const double expectedY[5] = {5, 3, 4, 9, 9};
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(c.GetPoint(&p, i), 0);
        EXPECT_EQ(p.y, expectedY[i]) << i;
    }
    EXPECT_EQ(c.GetPoint(&p, 5), -1);
    EXPECT_EQ(c.Evaluate(1, false), 3);
    EXPECT_EQ(c.Evaluate(3, false), 9);
}

TEST(ZarnLibCnvPolyLine, TwoPointsOfEqualX)
{
    ZarnLib_CnvPolyLine c = Curve({{1, 0.7}, {1, 0.3}});
    for (double x : {-5.0, 1.0, 8.0}) {
        EXPECT_EQ(c.Evaluate(x, false), 0.7) << x;
    }
    EXPECT_EQ(c.Evaluate(2.0, true), 0.3);
}

TEST(ZarnLibCnvPolyLine, EvaluationInterpolatesAndExtends)
{
    ZarnLib_CnvPolyLine c = Curve({{0, 0}, {1, 10}, {2, 30}, {4, 50}, {5, 50}, {8, 80}});
    struct Case {
        double x;
        double expected;
    };
    const Case cases[] = {{0.5, 5}, {1, 10}, {1.5, 20}, {3, 40}, {4.5, 50}, {6, 60}, {8, 80},
                          {-1, -10}, {10, 100}, {2, 30}, {0, 0}};
    // Evaluated in this order the search starts from many different cached segments.
    for (const Case& k : cases) {
        EXPECT_DOUBLE_EQ(c.Evaluate(k.x, false), k.expected) << k.x;
    }
}

TEST(ZarnLibCnvPolyLine, ClampModeHoldsEndsAndLimitsToUnitRange)
{
    ZarnLib_CnvPolyLine c = Curve({{0, -0.5}, {1, 0.5}, {2, 1.5}});
    EXPECT_EQ(c.Evaluate(-3, true), 0.0);
    EXPECT_EQ(c.Evaluate(9, true), 1.0);
    EXPECT_DOUBLE_EQ(c.Evaluate(1.25, true), 0.75);
    EXPECT_EQ(c.Evaluate(1.9, true), 1.0);
}

TEST(ZarnLibCnvPolyLine, SortingSmallAndLargeSets)
{
    for (int n : {5, 15, 16, 40}) {
        std::vector<_ZARNLIB_VECTOR2> points;
        for (int i = 0; i < n; ++i) {
            const double x = (i * 7) % n; // a permutation of 0..n-1
            points.push_back({x, 2 * x});
        }
        ZarnLib_CnvPolyLine c = Curve(points, true);
        for (int i = 0; i < n; ++i) {
            _ZARNLIB_VECTOR2 p;
            ASSERT_EQ(c.GetPoint(&p, i), 0);
            EXPECT_EQ(p.x, i) << n;
            EXPECT_EQ(p.y, 2 * i) << n;
        }
    }
}

TEST(ZarnLibCnvPolyLine, SwappedCurveReadsLevelsBackwards)
{
    ZarnLib_CnvPolyLine levels = Curve({{-1, 30}, {0, 118}, {1, 200}});
    ZarnLib_CnvPolyLine backwards;
    ASSERT_EQ(backwards.SetFromSwapped(levels), 0);
    EXPECT_DOUBLE_EQ(backwards.Evaluate(74, false), -0.5);
    EXPECT_DOUBLE_EQ(backwards.Evaluate(159, false), 0.5);
    ZarnLib_CnvPolyLine empty;
    EXPECT_EQ(backwards.SetFromSwapped(empty), 0);
    EXPECT_EQ(backwards.GetCount(), 0);
}

TEST(ZarnLibCnvPolyLine, EqualityIsExact)
{
    ZarnLib_CnvPolyLine a = Curve({{0, 1}, {2, 3}});
    ZarnLib_CnvPolyLine b = Curve({{0, 1}, {2, 3}});
    EXPECT_TRUE(a.IsEqual(b));
    ZarnLib_CnvPolyLine c = Curve({{0, 1}, {2, std::nextafter(3.0, 4.0)}});
    EXPECT_FALSE(a.IsEqual(c));
    ZarnLib_CnvPolyLine d = Curve({{0, 1}, {2, 3}, {4, 5}});
    EXPECT_FALSE(a.IsEqual(d));
}

TEST(ZarnLibCnvPolyLine, CurveListXRange)
{
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> list;
    double first = 0;
    double last = 0;
    EXPECT_EQ(GetCurveListXRange(list, &first, &last), -1);
    list.Alloc(3, true);
    const _ZARNLIB_VECTOR2 a[2] = {{-2, 0}, {1, 0}};
    const _ZARNLIB_VECTOR2 b[2] = {{0, 0}, {4, 0}};
    list[0].SetPoints(a, 2, false);
    EXPECT_EQ(GetCurveListXRange(list, &first, &last), -1); // last curve empty
    list[2].SetPoints(b, 2, false);
    ASSERT_EQ(GetCurveListXRange(list, &first, &last), 0);
    EXPECT_EQ(first, -2);
    EXPECT_EQ(last, 4);
}
