// Probes of the texts a renderer wrote (recorded by ZarnTextLog): where each box lies, and whether
// the texts of a painted graph window keep apart from each other and from the plot; and an S-shaped
// curve for the graphs they look at.
#pragma once

#include "core/util/CLangTable.h"
#include "ui/views/CKZARN_GparhWindow.h"
#include "ui/views/ZarnTextDrawer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

inline std::string DescribeText(const ZarnDrawnText& t)
{
    std::ostringstream out;
    out << '"' << t.text << "\" {" << t.box.left << ", " << t.box.top << ", " << t.box.right << ", " << t.box.bottom
        << '}';
    return out.str();
}

// An S-shaped tone curve from -8 to +7 EV in half steps, centred on the shift.
inline CET_GraphLine SampleCurve(const std::string& name, COLORREF colour, double shift, int dashed = 0)
{
    CET_GraphLine line;
    line.name = name;
    line.colour = colour;
    line.dashed = dashed;
    for (double ev = -8.0; ev <= 7.01; ev += 0.5) {
        const double level = 255.0 / (1.0 + std::exp(-(ev - shift) / 1.8));
        line.points.push_back(CET_PointW{ev, level, ev > -8.0 ? 1 : 0});
    }
    return line;
}

// The two rectangles share a pixel.
inline bool Intersect(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

inline bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// What a painted graph window wrote (empty texts left out), and where its plot lay.
struct PaintedGraph {
    std::vector<ZarnDrawnText> texts;
    RECT plot{};
};

// Paints the window as it paints on screen, recording its texts.
inline PaintedGraph PaintGraphWindow(CKZARN_GparhWindow& window)
{
    PaintedGraph painted;
    ZarnTextLog log;
    EXPECT_FALSE(window.grab().isNull());
    for (const ZarnDrawnText& t : log.texts) {
        if (!t.text.empty()) {
            painted.texts.push_back(t);
        }
    }
    painted.plot = window.m_graph.GetPlotRect();
    return painted;
}

// No two texts share a pixel, each lies inside the area and none on the plot; the turned level
// caption (text 130) was written.
inline void ExpectGraphTextsApart(const PaintedGraph& painted, const RECT& area)
{
    const std::vector<ZarnDrawnText>& texts = painted.texts;
    ASSERT_FALSE(texts.empty());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            EXPECT_FALSE(Intersect(texts[i].box, texts[j].box))
                << DescribeText(texts[i]) << " over " << DescribeText(texts[j]);
        }
        EXPECT_TRUE(Inside(texts[i].box, area)) << DescribeText(texts[i]);
        EXPECT_FALSE(Intersect(texts[i].box, painted.plot)) << DescribeText(texts[i]);
    }
    const auto turned = std::find_if(texts.begin(), texts.end(), [](const ZarnDrawnText& t) { return t.turned; });
    ASSERT_NE(turned, texts.end());
    EXPECT_EQ(turned->text, GetLangString(130));
}
