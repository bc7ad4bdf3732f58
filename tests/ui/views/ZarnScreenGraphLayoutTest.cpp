// The graph windows on screen at the default font, painted as their hosts size and set them: every
// text has a place of its own (the boxes the text writer recorded do not overlap), stays inside the
// window and off the plot. The turned y caption stands clear of the y tick labels.
#include "ui/views/CKZARN_GparhWindow.h"
#include "ui/views/CKZARN_GraphPreviewDialog.h"
#include "ui/views/ZarnPrintHost.h"

#include "tests/support/ScratchFolder.h"
#include "tests/ui/views/DrawnTextProbe.h"

#include <gtest/gtest.h>


namespace {

// One host of a graph window: its size and how it sets the graph (the comparison of several
// profiles shows their curves alone, with the default style).
struct ScreenGraph {
    const char* host;
    int width;
    int height;
    int interactive;
    int layout;
    int aspectW;
    int aspectH;
    bool severalCurves;
};

struct GraphData {
    std::vector<CET_GraphLine> owned = {SampleCurve(GetLangString(133), 0x0000C0, 0.0),
                                        SampleCurve("Cam A", 0x00A000, 0.6),
                                        SampleCurve("Studio 3200", 0xC00000, -0.7)};
    std::vector<CET_GraphLine*> curves;
    CET_GraphStyle style;
    CharacteristicPoints points;

    GraphData()
    {
        for (CET_GraphLine& line : owned) {
            curves.push_back(&line);
        }
        const int captions[CET_GraphStyle::kCaptionCount] = {122, 121, 120, 119, 118, 153,
                                                             152, 120, 151, 150, 139, 140};
        for (int i = 0; i < CET_GraphStyle::kCaptionCount; ++i) {
            style.caption[i] = GetLangString(captions[i]);
        }
        const double ev[5] = {-6.3, -4.8, 0.0, 4.14, 5.66};
        std::copy(std::begin(ev), std::end(ev), points.ev);
    }
};

} // namespace

TEST(ZarnScreenGraphLayout, EveryGraphWindowKeepsItsTextsApartAtTheDefaultFont)
{
    // The windows as their hosts lay them out: the wizard's result graph, the profile editor, the
    // reference view's graph page and its comparison of several profiles.
    const ScreenGraph hosts[] = {
        {"wizard result graph", 719, 431, 0, 5, 30, 13, false},
        {"wizard result graph, mode 1", 719, 431, 1, 5, 30, 13, false},
        {"profile editor", 745, 475, 1, 5, 30, 14, false},
        {"reference graph page", 710, 475, 0, 5, 30, 15, false},
        {"reference comparison", 685, 445, 0, 0, 30, 15, true},
    };
    GraphData data;
    for (const ScreenGraph& host : hosts) {
        SCOPED_TRACE(host.host);
        CKZARN_GparhWindow window;
        window.resize(host.width, host.height);
        const std::vector<CET_GraphLine*> one{data.curves.front()};
        if (host.severalCurves) {
            window.SetGraph(host.interactive, "", GetLangString(129), GetLangString(130), &data.curves, nullptr,
                            host.layout, nullptr, host.aspectW, host.aspectH);
        } else {
            window.SetGraph(host.interactive, "", GetLangString(129), GetLangString(130), &one, &data.points,
                            host.layout, &data.style, host.aspectW, host.aspectH);
        }
        ExpectGraphTextsApart(PaintGraphWindow(window), RECT{0, 0, host.width, host.height});
    }
}

TEST(ZarnScreenGraphLayout, ThePreviewPageKeepsItsTextsApartAtTheDefaultFont)
{
    // The preview of a printed graph page draws with the screen's fonts into the page's printable area.
    ScratchFolder folder;
    ZarnPrintHost host;
    host.SetOutputFile(QString::fromStdString(folder.File("unused.pdf")));
    GraphData data;
    for (const int layout : {3, 4}) {
        SCOPED_TRACE("layout " + std::to_string(layout));
        CKZARN_GraphPreviewDialog preview(nullptr, &host);
        preview.SetGraph(GetLangString(4011), GetLangString(129), GetLangString(130), &data.curves, &data.points,
                         layout, &data.style, 30, 15);
        ASSERT_EQ(preview.OnInitDialog(), TRUE);
        ExpectGraphTextsApart(PaintGraphWindow(preview.m_wndGraph), preview.m_wndGraph.m_rcPage);
    }
}
