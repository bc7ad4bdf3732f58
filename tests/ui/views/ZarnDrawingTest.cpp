#include "ui/views/ZarnDrawing.h"

#include "tests/ui/views/ViewImageProbe.h"
#include "ui/views/ZarnFontBuilder.h"

#include <gtest/gtest.h>

TEST(ZarnDrawing, MulDivRoundsHalfAwayFromZeroAndRefusesZeroDivisor)
{
    struct Case {
        int a, b, c, expected;
    };
    const Case cases[] = {
        {5, 1, 2, 3},   {-5, 1, 2, -3}, {7, 3, 2, 11}, {-7, 3, -2, 11}, {80, 600, 72, 667},
        {4, 1, 3, 1},   {1, 1, 0, -1},  {0, 5, 7, 0},  {0x7FFFFFFF, 4, 1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
    }
}

TEST(ZarnDrawing, ColourRefIsBlueGreenRed)
{
    EXPECT_EQ(ColorFromRef(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(ColorFromRef(0xFFAF95), QColor(0x95, 0xAF, 0xFF));
    EXPECT_EQ(RefFromColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    EXPECT_EQ(ToRect(ToQRect(RECT{3, 4, 10, 20})), (RECT{3, 4, 10, 20}));
}

TEST(ZarnDrawing, FitRectKeepAspectCentresAndClips)
{
    int flag = -1;
    EXPECT_EQ(FitRectKeepAspect(RECT{0, 0, 1000, 800}, RECT{0, 0, 250, 200}, &flag), (RECT{0, 0, 1000, 800}));
    EXPECT_EQ(FitRectKeepAspect(RECT{80, 48, 970, 680}, RECT{0, 0, 30, 15}, &flag), (RECT{80, 141, 970, 586}));
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(FitRectKeepAspect(RECT{0, 0, 100, 100}, RECT{0, 0, 10, 20}, &flag), (RECT{25, 0, 75, 100}));
    EXPECT_EQ(flag, 1);
    // An outer rectangle without width uses ratio 1 both ways, then clips to itself.
    EXPECT_EQ(FitRectKeepAspect(RECT{10, 10, 10, 50}, RECT{0, 0, 30, 15}, &flag), (RECT{10, 22, 10, 37}));
}

TEST(ZarnDrawing, PrintableRectKeepsSixteenMillimetresOrThePrintersLargerMargin)
{
    // 600 x 300 dpi: 16 mm is 377 pixels across and 188 down.
    PageGeometry page{5100, 3300, 100, 100, 4900, 3100, 600, 300};
    EXPECT_EQ(PrintableRectOnPage(page), (RECT{377, 188, 5100 - 377, 3300 - 188}));
    EXPECT_EQ(PrintableRectInDevice(page), (RECT{277, 88, 5100 - 377 - 100, 3300 - 188 - 100}));
    // A printer whose own margins exceed 16 mm on the left and at the bottom.
    page = PageGeometry{5100, 3300, 500, 0, 4500, 3000, 600, 300};
    EXPECT_EQ(PrintableRectOnPage(page), (RECT{500, 188, 5100 - 377, 3000}));
    EXPECT_EQ(PrintableRectInDevice(page), (RECT{0, 188, 5100 - 377 - 500, 3000}));
}

TEST(ZarnDrawing, DrawRectOutlineDrawsFourEdgesAndRestoresThePen)
{
    QImage image = BlankImage(20, 20);
    QPainter painter(&image);
    const QPen before = SolidPen(0x00FF00, 1);
    painter.setPen(before);
    DrawRectOutline(painter, SolidPen(0x000000, 1), 2, 3, 12, 10);
    EXPECT_EQ(painter.pen(), before);
    painter.end();
    EXPECT_EQ(PixelRef(image, 2, 3), 0u);
    EXPECT_EQ(PixelRef(image, 12, 3), 0u);
    EXPECT_EQ(PixelRef(image, 12, 10), 0u);
    EXPECT_EQ(PixelRef(image, 2, 10), 0u);
    EXPECT_EQ(PixelRef(image, 7, 7), PixelRef(image, 0, 0)); // inside untouched
    EXPECT_EQ(CountColour(image, 0), 2 * 10 + 2 * 7);
}

TEST(ZarnDrawing, FontHeightsUseThePinnedReferenceResolution)
{
    const ZarnFontBuilder fonts(nullptr, 96);
    EXPECT_EQ(fonts.LogicalHeight(120), -16);
    EXPECT_EQ(fonts.Make(120).pixelSize(), 16);
    // Printer, 600 dpi, 11 points: -MulDiv(110, 600, 72) = -917, then 917 * 96 / 720 = 122.
    EXPECT_EQ(fonts.LogicalHeight(ZarnFontBuilder::PrinterHeight(110, 600)), -122);
    const ZarnFontBuilder wide(nullptr, 144);
    EXPECT_EQ(wide.LogicalHeight(120), -24);
}

namespace {

struct BufferProbe {
    int calls = 0;
    RECT seen{};
};

void PaintGreen(QPainter& memory, int left, int top, int right, int bottom, void* context, int value)
{
    auto* probe = static_cast<BufferProbe*>(context);
    ++probe->calls;
    probe->seen = RECT{left, top, right, bottom};
    memory.fillRect(QRect(left + 1, top + 1, value, value), Qt::green);
}

} // namespace

TEST(ZarnDrawing, DoubleBufferedPaintsTheGrownRectangleInOneCopy)
{
    QImage image = BlankImage(40, 40);
    BufferProbe probe;
    {
        QPainter painter(&image);
        DrawDoubleBuffered(painter, RECT{10, 10, 30, 30}, PaintGreen, &probe, 5);
    }
    EXPECT_EQ(probe.calls, 1);
    EXPECT_EQ(probe.seen, (RECT{9, 9, 31, 31}));
    EXPECT_EQ(PixelRef(image, 10, 10), 0x00FF00u);
    EXPECT_EQ(PixelRef(image, 9, 9), 0xFFFFFFu); // white background of the buffer
    EXPECT_EQ(PixelRef(image, 8, 8), 0xFF00FFu); // outside untouched
}
