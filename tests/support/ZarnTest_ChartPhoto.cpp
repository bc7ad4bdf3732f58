#include "tests/support/ZarnTest_ChartPhoto.h"

#include <algorithm>
#include <cmath>

namespace {

struct Geometry {
    double w, h, a, b, pw, ph, g;
    int columns, rows;
};

const Geometry kGeometry[6] = {
    {175, 109, 27.5, 45, 25, 40, 0, 7, 1}, {310, 160, 3, 3, 30, 50, 5, 9, 3},    {273.5, 178.5, 1, 1, 41, 40.5, 5.5, 6, 4},
    {87, 57, 1.5, 1.5, 12, 12, 3, 6, 4},   {72, 47, 0, 0, 9.5, 9.5, 3, 6, 4},    {180, 118.4, 1, 1, 26, 26, 4.8, 6, 4},
};

// Patch exposure positions of the measured curve's points, by kind. The grey rows of kinds 4 and
// 5 carry the same six patches as kind 3's bottom row, at the same exposure offsets.
double PointPosition(int kind, int t)
{
    static const double k3[] = {-2.5238, -1.0, 0.1353, 1.008, 1.7152, 2.3221};
    static const double k6[] = {-2.9786, -1.2076, 0.0082, 0.4783, 0.9472, 1.6747, 2.3236};
    switch (kind) {
    case 1: return (t - 3) / 6.0;
    case 3:
    case 4:
    case 5: return k3[t];
    case 6: return k6[t];
    default: return (t - 12) / 6.0;
    }
}

// Slot of the patch at (row, column) in the measurement, or -1.
int SlotOf(int kind, int row, int column)
{
    switch (kind) {
    case 1: return row == 0 ? column : -1;
    case 2:
        if (row == 0)
            return column;
        if (row == 1) {
            if (column == 3 || column == 5)
                return -1;
            return 9 + column - (column > 3 ? 1 : 0) - (column > 5 ? 1 : 0);
        }
        return 16 + column;
    case 3:
    case 4:
    case 5: return row == 3 ? column : -1;
    case 6:
        if (row == 0)
            return column == 0 ? 3 : -1;
        if (row == 3)
            return column < 3 ? column : column + 1;
        return -1;
    default: return -1;
    }
}

std::uint32_t Grey(int v)
{
    const auto c = static_cast<std::uint32_t>(std::clamp(v, 0, 255));
    return 0xFF000000u | (c << 16) | (c << 8) | c;
}

std::uint32_t Rgb(int r, int g, int b)
{
    return 0xFF000000u | (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}

int Level(const ZarnTest_ChartSpec& drawing, int slot, double light = 0.0)
{
    return static_cast<int>(
        std::lround(drawing.toneCurve(drawing.exposure + light + ZarnTest_ChartPhoto::SlotOffset(drawing.kind, slot))));
}

} // namespace

int ZarnTest_ChartPhoto::SlotCount(int kind)
{
    if (kind == 2)
        return 25;
    if (kind >= 3 && kind <= 5)
        return 6;
    return 7;
}

double ZarnTest_ChartPhoto::SlotOffset(int kind, int slot)
{
    return PointPosition(kind, SlotCount(kind) - 1 - slot);
}

int ZarnTest_ChartPhoto::ExpectedLevel(const ZarnTest_ChartSpec& drawing, int k)
{
    return std::clamp(Level(drawing, SlotCount(drawing.kind) - 1 - k), 0, 255);
}

std::unique_ptr<ZarnLib_Bitmap> ZarnTest_ChartPhoto::Render(const ZarnTest_ChartSpec& drawing, ZarnTest_ChartPoint corners[4])
{
    if (drawing.kind < 1 || drawing.kind > 6)
        return nullptr;
    auto bitmap = ZarnLib_Bitmap::Create(static_cast<std::uint32_t>(drawing.width), static_cast<std::uint32_t>(drawing.height),
                                         ZarnLib_Bitmap::kFormat24bppRGB);
    if (!bitmap)
        return nullptr;
    const Geometry& g = kGeometry[drawing.kind - 1];
    const double totalW = g.w + 2 * g.a;
    const double totalH = g.h + 2 * g.b;
    const double s = drawing.chartFraction * drawing.width / totalW; // pixels per chart unit
    const double phi = drawing.angle * 3.141592653589793 / 180.0;
    const double ux = std::cos(phi), uy = -std::sin(phi); // along the top edge
    const double vx = std::sin(phi), vy = std::cos(phi);  // down the left edge
    const double cx = drawing.centreX * drawing.width, cy = drawing.centreY * drawing.height;
    const double ox = cx - ux * totalW * s / 2 - vx * totalH * s / 2;
    const double oy = cy - uy * totalW * s / 2 - vy * totalH * s / 2;
    const double cornerU[4] = {0, totalW, totalW, 0};
    const double cornerV[4] = {0, 0, totalH, totalH};
    for (int i = 0; i < 4; ++i)
        corners[i] = {ox + (ux * cornerU[i] + vx * cornerV[i]) * s, oy + (uy * cornerU[i] + vy * cornerV[i]) * s};

    const bool crossKind = drawing.kind != 4 && drawing.kind != 5;
    const double margin = crossKind ? std::max(0.08 * totalH, 1.5 * drawing.crossArm / s) : 0.0;
    const double arm = drawing.crossArm / s, halfWidth = drawing.crossHalfWidth / s;
    // Kinds 1 draw their single row of patches 40 units high in the middle of the patch area.
    const double rowTop1 = g.b + (g.h - g.ph) / 2;

    auto patchAt = [&](double u, double v, int* row, int* column) {
        if (drawing.kind == 1) {
            if (u < g.a || u >= g.a + g.w || v < rowTop1 || v >= rowTop1 + g.ph)
                return false;
            *row = 0;
            *column = std::min(6, static_cast<int>((u - g.a) / g.pw));
            return true;
        }
        const double pu = u - g.a, pv = v - g.b;
        if (pu < 0 || pv < 0 || pu >= g.w || pv >= g.h)
            return false;
        const int c = static_cast<int>(pu / (g.pw + g.g));
        const int r = static_cast<int>(pv / (g.ph + g.g));
        if (c >= g.columns || r >= g.rows || pu - c * (g.pw + g.g) >= g.pw || pv - r * (g.ph + g.g) >= g.ph)
            return false;
        *row = r;
        *column = c;
        return true;
    };
    // Light on the chart at x: full at the right edge, lightFalloffEv less at the left.
    auto lightAt = [&](int x) { return -drawing.lightFalloffEv * (1 - (x + 0.5) / drawing.width); };
    // The patch's centre line in chart units, for the streak.
    auto patchCentreV = [&](int row) { return drawing.kind == 1 ? rowTop1 + g.ph / 2 : g.b + row * (g.ph + g.g) + g.ph / 2; };
    auto patchColour = [&](int row, int column, int x, double v) {
        const int slot = SlotOf(drawing.kind, row, column);
        if (slot >= 0 && slot == drawing.streakSlot) {
            const double below = (v - patchCentreV(row)) * s;
            if (below >= drawing.streakOffset && below < drawing.streakOffset + drawing.streakWidth)
                return Grey(drawing.streakLevel);
        }
        if (slot >= 0)
            return Grey(Level(drawing, slot, lightAt(x)));
        // Unused patches: colours different per patch, on the far side of the crosses' brightness
        // so that a marker next to one keeps its contrast.
        const int k = row * 9 + column;
        const int base = drawing.crossLevel >= 128 ? 15 : 150;
        return Rgb(base + (k * 53) % 90, base + (k * 97) % 90, base + (k * 31) % 90);
    };

    const double rampPhi = drawing.gradientDegrees.value_or(0.0) * 3.141592653589793 / 180.0;
    const double rampX = std::cos(rampPhi), rampY = std::sin(rampPhi);
    const double rampExtent = std::fabs(drawing.width * rampX) + std::fabs(drawing.height * rampY);
    auto ramp = [&](int x, int y) {
        const double t = ((x + 0.5 - drawing.width / 2.0) * rampX + (y + 0.5 - drawing.height / 2.0) * rampY) / rampExtent;
        return Grey(static_cast<int>(std::lround(255 * (t + 0.5))));
    };

    for (int y = 0; y < drawing.height; ++y) {
        std::uint32_t* out = bitmap->Row(static_cast<std::uint32_t>(y));
        for (int x = 0; x < drawing.width; ++x) {
            const double dx = x + 0.5 - ox, dy = y + 0.5 - oy;
            const double u = (dx * ux + dy * uy) / s;
            const double v = (dx * vx + dy * vy) / s;
            if (drawing.gradientDegrees) {
                std::uint32_t colour = ramp(x, y);
                // Each cross is light on the dark part of the ramp, dark on its light part.
                for (int i = 0; crossKind && i < 4; ++i) {
                    const double du = std::fabs(u - cornerU[i]), dv = std::fabs(v - cornerV[i]);
                    if ((du <= halfWidth && dv <= arm) || (dv <= halfWidth && du <= arm))
                        colour = Grey((colour & 0xFF) < 128 ? 235 : 20);
                }
                out[x] = colour;
                continue;
            }
            // Background: diagonal stripes in photograph coordinates, never uniform over a window.
            const double phase = std::fmod((x + y) / drawing.stripePeriod, 1.0);
            std::uint32_t colour = Rgb(phase < 0.5 ? 70 : 150, phase < 0.5 ? 90 : 170, phase < 0.5 ? 60 : 140);
            int row = 0, column = 0;
            if (crossKind) {
                if (u >= -margin && u <= totalW + margin && v >= -margin && v <= totalH + margin)
                    colour = Grey(drawing.cardLevel);
                if (patchAt(u, v, &row, &column))
                    colour = patchColour(row, column, x, v);
                for (int i = 0; i < 4; ++i) {
                    const double du = std::fabs(u - cornerU[i]), dv = std::fabs(v - cornerV[i]);
                    if ((du <= halfWidth && dv <= arm) || (dv <= halfWidth && du <= arm))
                        colour = Grey(drawing.crossLevel);
                }
            } else {
                if (u >= 0 && u <= totalW && v >= 0 && v <= totalH) {
                    colour = Rgb(40, 40, 45); // frame and gaps
                    // Corner blocks: each corner patch reaches out to its corner of the chart.
                    const double cw = g.a + g.pw, ch = g.b + g.ph;
                    const bool left = u < cw, right = u >= totalW - cw, top = v < ch, bottom = v >= totalH - ch;
                    if ((left || right) && (top || bottom))
                        colour = patchColour(top ? 0 : 3, left ? 0 : 5, x, v);
                    else if (patchAt(u, v, &row, &column))
                        colour = patchColour(row, column, x, v);
                    else {
                        // Frame and gaps striped too, so that only the corner blocks and patches are uniform.
                        colour = Rgb(phase < 0.5 ? 30 : 110, phase < 0.5 ? 30 : 110, phase < 0.5 ? 35 : 115);
                    }
                }
            }
            out[x] = colour;
        }
    }
    return bitmap;
}
