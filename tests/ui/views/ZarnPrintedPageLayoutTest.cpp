// Printed graph and table pages, printed to PDF as the reference views print them: every text has a
// place of its own (the boxes the text writer recorded do not overlap), stays inside its table cell,
// off the plot, and inside the printable area, and the rendered page has no ink in its margin.
#include "ui/views/ZarnPrintHost.h"
#include "ui/views/ZarnTextDrawer.h"

#include "core/util/CLangTable.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ScriptedPromptService.h"
#include "tests/ui/views/DrawnTextProbe.h"
#include "tests/ui/views/PdfPageProbe.h"

#include <QFile>
#include <QPrinter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int kRenderDpi = 100;

struct PrintedPage {
    std::vector<ZarnDrawnText> texts;
    QImage image;     // the page rendered at kRenderDpi
    RECT printable{}; // page coordinates in printer pixels
    double scale = 0; // rendered pixels per printer pixel
};

std::vector<const ZarnDrawnText*> Written(const PrintedPage& page)
{
    std::vector<const ZarnDrawnText*> written;
    for (const ZarnDrawnText& t : page.texts) {
        if (!t.text.empty()) {
            written.push_back(&t);
        }
    }
    return written;
}

// Every pair of texts whose boxes share a pixel.
std::vector<std::string> Overlaps(const PrintedPage& page)
{
    const std::vector<const ZarnDrawnText*> texts = Written(page);
    std::vector<std::string> found;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            if (Intersect(texts[i]->box, texts[j]->box)) {
                found.push_back(DescribeText(*texts[i]) + " over " + DescribeText(*texts[j]));
            }
        }
    }
    return found;
}

// Every text whose box leaves the printable area.
std::vector<std::string> OutsidePrintable(const PrintedPage& page)
{
    std::vector<std::string> found;
    for (const ZarnDrawnText* t : Written(page)) {
        if (!Inside(t->box, page.printable)) {
            found.push_back(DescribeText(*t));
        }
    }
    return found;
}

// The bounding box of the plot area's grey on the rendered page, in printer pixels, shrunk by the
// rendering's rounding so that it lies inside the real plot.
RECT PlotOnPage(const PrintedPage& page)
{
    int l = page.image.width();
    int t = page.image.height();
    int r = -1;
    int b = -1;
    for (int y = 0; y < page.image.height(); ++y) {
        for (int x = 0; x < page.image.width(); ++x) {
            if ((page.image.pixel(x, y) & 0xFFFFFF) == 0xC0C0C0) {
                l = std::min(l, x);
                t = std::min(t, y);
                r = std::max(r, x);
                b = std::max(b, y);
            }
        }
    }
    const auto back = [&page](int v) { return static_cast<int>(v / page.scale); };
    return RECT{back(l + 1), back(t + 1), back(r), back(b)};
}

struct PrintRig {
    ScratchFolder folder;
    ZarnPrintHost host;
    ScriptedPromptService prompts;

    // Prints with the routine while recording the texts, then renders the PDF.
    template <typename Print>
    PrintedPage Run(const char* name, QPageLayout::Orientation orientation, Print print)
    {
        const QString pdf = QString::fromStdString(folder.File(std::string(name) + ".pdf"));
        host.SetOutputFile(pdf);
        PrintedPage page;
        {
            ZarnTextLog log;
            EXPECT_EQ(print(host), TRUE);
            page.texts = log.texts;
        }
        EXPECT_TRUE(prompts.Prompts().empty());
        QPrinter printer(QPrinter::HighResolution);
        host.GetPrinterDefaults(printer, orientation);
        const PageGeometry geometry = ZarnPrintHost::GeometryOf(printer);
        page.printable = PrintableRectOnPage(geometry);
        page.image = RenderPdf(pdf, QString::fromStdString(folder.File(name)), kRenderDpi);
        page.scale = static_cast<double>(page.image.width()) / geometry.pageW;
        // ZARN_KEEP_PAGES=<folder> keeps each PDF there, to look at.
        if (const char* keep = std::getenv("ZARN_KEEP_PAGES")) {
            QFile::copy(pdf, QString::fromUtf8(keep) + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".pdf"));
        }
        return page;
    }
};

// Ink within the 16 mm margin of the rendered page, less one pixel of rendering spill.
bool InkInMargin(const PrintedPage& page)
{
    const int margin = static_cast<int>(16.0 / 25.4 * kRenderDpi) - 1;
    return InkNearEdges(page.image, margin);
}

// No two texts share a pixel, every text lies inside the printable area, and the rendered page has
// no ink in its margin.
void ExpectTextsApartAndNothingInTheMargin(const PrintedPage& page)
{
    ASSERT_FALSE(page.image.isNull());
    const std::vector<std::string> overlaps = Overlaps(page);
    EXPECT_TRUE(overlaps.empty()) << ::testing::PrintToString(overlaps);
    const std::vector<std::string> outside = OutsidePrintable(page);
    EXPECT_TRUE(outside.empty()) << ::testing::PrintToString(outside);
    EXPECT_FALSE(InkInMargin(page));
}

} // namespace

TEST(ZarnPrintedPageLayout, GraphPageOfEveryLayoutKeepsItsTextsApartAndOutOfTheMargin)
{
    // What the reference views hand the page: the profile's curves, its points, the info items, the
    // two listed lines and the style captions of the point table and the EV strip.
    std::vector<CET_GraphLine> owned = {
        SampleCurve("My Camera 100", 0x0000C0, 0.0), SampleCurve("Cam A", 0x00A000, 0.6),
        SampleCurve("Studio 3200", 0xC00000, -0.7, 1), SampleCurve("Flash 400", 0x008080, 1.1),
        SampleCurve("Night", 0x800080, -1.3)};
    std::vector<CET_GraphLine*> curves;
    for (CET_GraphLine& line : owned) {
        curves.push_back(&line);
    }
    CET_GraphLine measured = SampleCurve(GetLangString(127), 0x404040, 0.0);
    CET_GraphLine interpolated = SampleCurve(GetLangString(128), 0x404040, 0.0, 1);
    std::vector<CET_GraphLine*> lines{&measured, &interpolated};
    CET_GraphDrawInfo name{GetLangString(100), "My Camera 100", 1};
    CET_GraphDrawInfo light{GetLangString(104), GetLangString(106), 0};
    CET_GraphDrawInfo metering{GetLangString(108), GetLangString(111), 0};
    CET_GraphDrawInfo iso{GetLangString(114), "1024000", 0};
    std::vector<CET_GraphDrawInfo*> infos{&name, &light, &metering, &iso};
    CET_GraphStyle style;
    const int captions[CET_GraphStyle::kCaptionCount] = {122, 121, 120, 119, 118, 153, 152, 120, 151, 150, 139, 140};
    for (int i = 0; i < CET_GraphStyle::kCaptionCount; ++i) {
        style.caption[i] = GetLangString(captions[i]);
    }
    CharacteristicPoints points;
    const double ev[5] = {-6.3, -4.8, 0.0, 4.14, 5.66};
    std::copy(std::begin(ev), std::end(ev), points.ev);

    for (int layout = 0; layout <= 5; ++layout) {
        SCOPED_TRACE("layout " + std::to_string(layout));
        PrintRig rig;
        const PrintedPage page =
            rig.Run(("graph" + std::to_string(layout)).c_str(), QPageLayout::Landscape, [&](ZarnPrintHost& host) {
                return host.PrintGraphPage(GetLangString(4011), GetLangString(129), GetLangString(130), &curves,
                                           &points, layout, &style, &infos, &lines);
            });
        ExpectTextsApartAndNothingInTheMargin(page);
        // Labels, captions and tables stand around the plot, never on it.
        const RECT plot = PlotOnPage(page);
        ASSERT_GT(RectWidth(plot), 1000);
        for (const ZarnDrawnText* t : Written(page)) {
            EXPECT_FALSE(Intersect(t->box, plot)) << DescribeText(*t);
        }
        // The turned y caption and the tick labels were written.
        const ZarnDrawnText* caption = nullptr;
        for (const ZarnDrawnText& t : page.texts) {
            if (t.turned) {
                caption = &t;
            }
        }
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(caption->text, GetLangString(130));
        const auto isTen = [](const ZarnDrawnText& t) { return t.text == "+10"; };
        EXPECT_EQ(std::count_if(page.texts.begin(), page.texts.end(), isTen), 1);
    }
}

TEST(ZarnPrintedPageLayout, TablePageKeepsEveryTextInsideItsCell)
{
    // The longest texts the reference views print: the seven-digit ISO speeds, the long headers,
    // and two-digit EVs with a sign.
    static const int kIsos[] = {3, 100, 8000, 409600, 1024000, 13107200};
    std::vector<std::unique_ptr<CET_ChartData>> owned;
    std::vector<CET_ChartData*> rows;
    for (int i = 0; i < 67; ++i) {
        owned.push_back(std::make_unique<CET_ChartData>());
        owned.back()->iso = kIsos[i % 6];
        owned.back()->hasValues = 1;
        const double values[5] = {-12.4, -10.8, 0.0, 10.7, 12.9};
        std::copy(std::begin(values), std::end(values), owned.back()->values);
        rows.push_back(owned.back().get());
    }
    const std::vector<std::string> titles = {GetLangString(100), GetLangString(104), GetLangString(108),
                                             "My Camera 100",    GetLangString(106), GetLangString(111)};
    const std::vector<std::string> headers = {GetLangString(113), GetLangString(146), GetLangString(122),
                                              GetLangString(121), GetLangString(119), GetLangString(118)};
    PrintRig rig;
    const PrintedPage page = rig.Run("table", QPageLayout::Portrait, [&](ZarnPrintHost& host) {
        return host.PrintChartPage(titles, headers, rows, 0xFFFFFF, 0xE1E1E1);
    });
    ExpectTextsApartAndNothingInTheMargin(page);
    // Headers and cells are written into their cells, whose edges are the grid lines: a text must
    // stay clear of the line on each edge. Titles stand above the table's top line.
    int cells = 0;
    int tableTop = page.printable.bottom;
    for (const ZarnDrawnText* t : Written(page)) {
        if (t->format & DT_CENTER) {
            ++cells;
            tableTop = std::min<int>(tableTop, t->rect.top);
            const RECT clear{t->rect.left + 1, t->rect.top + 1, t->rect.right, t->rect.bottom};
            EXPECT_TRUE(Inside(t->box, clear)) << DescribeText(*t) << " in cell {" << t->rect.left << ", "
                                               << t->rect.top << ", " << t->rect.right << ", " << t->rect.bottom
                                               << '}';
        }
    }
    EXPECT_EQ(cells, 6 + 67 * 6);
    for (const ZarnDrawnText* t : Written(page)) {
        if (!(t->format & DT_CENTER)) {
            EXPECT_LE(t->box.bottom, tableTop) << DescribeText(*t);
        }
    }
}
