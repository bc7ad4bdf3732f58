// Test double: synthetic photographs of the six chart kinds. The chart is drawn from the same
// geometry the measurement uses, with corner markers (a dark cross on a light card for kinds 1,
// 2, 3 and 6; uniform corner blocks on a striped background for kinds 4 and 5), grey patches whose
// levels come from a tone curve at a given exposure, at any size, position and rotation.
// The corner search looks at a 21 x 21 window around a cross centre, so whatever lies within ten
// view pixels of a marker decides whether it is found: the corner patches of kinds 2, 3 and 6 sit
// that close, and a cross of their own brightness is lost against them. Light crosses on a dark
// card keep their contrast against every patch level when the patch covers at most about 70 % of
// the window's inner quarter.
#pragma once

#include "profilelib/ZarnLib_Bitmap.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct ZarnTest_ChartPoint {
    double x = 0;
    double y = 0;
};

struct ZarnTest_ChartSpec {
    int kind = 1;
    int width = 1200;
    int height = 800;
    // Width of the marker rectangle as a fraction of the photograph's width.
    double chartFraction = 0.7;
    // Rotation in degrees; positive turns the chart anticlockwise (its top edge rises to the right).
    double angle = 0.0;
    double centreX = 0.5; // chart centre as fractions of the photograph
    double centreY = 0.5;
    // Marker sizes in photograph pixels: cross arm (from the centre) and half line width; the
    // period of the background stripes for kinds 4 and 5.
    double crossArm = 40;
    double crossHalfWidth = 4;
    double stripePeriod = 30;
    // Grey levels of the crosses and of the card they are printed on (kinds 1, 2, 3 and 6).
    int crossLevel = 20;
    int cardLevel = 228;
    // Level (0..255) of a patch exposed at `ev`.
    std::function<double(double ev)> toneCurve;
    double exposure = 0.0;
    // Light that falls off across the photograph: patches at its left edge are exposed this many
    // EV less than at its right edge, evenly in between.
    double lightFalloffEv = 0.0;
    // A band of one grey level across one used patch (measurement slot streakSlot, -1 for none),
    // as a streak of light or a marker reaching into the patch: streakWidth pixels high, its top
    // streakOffset pixels below the patch's centre (negative: above), in the chart's upright frame.
    int streakSlot = -1;
    double streakOffset = 0;
    double streakWidth = 8;
    int streakLevel = 255;
    // When set, a picture that is not the chart: a smooth ramp of grey from 0 to 255 over the whole
    // photograph, dark to light in this direction (degrees: 0 runs left to right, 90 top to
    // bottom). Kinds 1, 2, 3 and 6 keep their crosses, each light or dark against the ramp beneath
    // it, so the corner search still finds a "chart" and its patches are measured off the ramp;
    // kinds 4 and 5, whose markers are corner patches, keep nothing.
    std::optional<double> gradientDegrees;
};

class ZarnTest_ChartPhoto {
public:
    // EV offset of the patch in measurement slot `slot` (the curve reads slots in reverse order).
    static double SlotOffset(int kind, int slot);
    static int SlotCount(int kind);
    // The expected measured level of curve point k.
    static int ExpectedLevel(const ZarnTest_ChartSpec& drawing, int k);

    // Draws the photograph; corners receive the marker positions TL, TR, BR, BL (chart order).
    static std::unique_ptr<ZarnLib_Bitmap> Render(const ZarnTest_ChartSpec& drawing, ZarnTest_ChartPoint corners[4]);
};
