#include "ui/views/CKZARN_GparhWindow.h"

#include "tests/ui/views/ViewImageProbe.h"

#include <QDialog>

#include <cmath>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

struct Moves {
    std::vector<std::pair<int, double>> calls;
    static void Record(void* context, int index, double ev)
    {
        static_cast<Moves*>(context)->calls.emplace_back(index, ev);
    }
};

// An interactive graph window of 1000 x 800 with layout 0 and aspect 30 : 15, painted once so that its
// scales are known (about 44.5 pixels per EV, so one pixel is 0.0225 EV).
struct WindowRig {
    CKZARN_GparhWindow window;
    Moves moves;
    CharacteristicPoints points;

    explicit WindowRig(int interactive = 1, bool paint = true)
    {
        window.resize(1000, 800);
        Set(interactive);
        window.m_pfnCallback = &Moves::Record;
        window.m_pCallbackContext = &moves;
        if (paint) {
            Paint();
        }
    }
    void Set(int interactive) { window.SetGraph(interactive, "t", "x", "y", nullptr, &points, 0, nullptr, 30, 15); }
    QImage Paint()
    {
        QImage image(1000, 800, QImage::Format_RGB32);
        QPainter painter(&image);
        window.OnPaint(painter);
        return image;
    }
    int MarkerX(double ev) const { return window.m_graph.ValueToPoint(ev, 0).x; }
    void ClickMarker(double ev) { window.OnLButtonDown(MarkerX(ev), window.m_graph.GetPlotRect().bottom + 9); }
    double Ev(int index) const { return window.m_graph.GetPoints().ev[index]; }
};

} // namespace

TEST(CKZARN_GparhWindow, MarkerRectanglesLieUnderThePlot)
{
    WindowRig rig;
    const int bottom = rig.window.m_graph.GetPlotRect().bottom;
    const int x = rig.MarkerX(-3.5);
    EXPECT_EQ(rig.window.GetMarkerRect(CharacteristicPoints::kCPM), (RECT{x - 5, bottom + 1, x + 5, bottom + 17}));
    // Triangles in the marker colours, CNT never drawn.
    const QImage image = rig.Paint();
    // The image is the window itself, drawn into the grown rectangle one pixel up and left.
    EXPECT_GT(CountColour(image, 0x0000FF, x - 10, bottom + 1, x + 10, bottom + 18), 20);
    const int cnt = rig.MarkerX(0.0);
    EXPECT_EQ(CountColour(image, 0x000000, cnt - 3, bottom + 6, cnt + 3, bottom + 17), 0);
}

TEST(CKZARN_GparhWindow, DragMovesOnlyWithinTheRulesAndReportsEveryMove)
{
    WindowRig rig;
    rig.ClickMarker(-2.5); // DRM
    EXPECT_EQ(rig.window.m_nDragIndex, CharacteristicPoints::kDRM);
    EXPECT_EQ(rig.window.m_nSelectedIndex, CharacteristicPoints::kDRM);
    rig.window.OnMouseMove(rig.MarkerX(-1.0), 300);
    EXPECT_NEAR(rig.Ev(1), -1.0, 0.03);
    rig.window.OnMouseMove(rig.MarkerX(2.0), 300); // past CNT: stops at CNT
    EXPECT_DOUBLE_EQ(rig.Ev(1), 0.0);
    rig.window.OnMouseMove(rig.MarkerX(-6.0), 300); // below CPM: stops at CPM
    EXPECT_DOUBLE_EQ(rig.Ev(1), -3.5);
    rig.window.OnLButtonUp(rig.MarkerX(-2.0), 300);
    EXPECT_EQ(rig.window.m_nDragIndex, -1);
    EXPECT_EQ(rig.window.m_nSelectedIndex, CharacteristicPoints::kDRM);
    ASSERT_EQ(rig.moves.calls.size(), 4u);
    EXPECT_EQ(rig.moves.calls[1], std::make_pair(1, 0.0));
    EXPECT_NEAR(rig.moves.calls[3].second, -2.0, 0.03);
    // Moves after the release change nothing.
    rig.window.OnMouseMove(rig.MarkerX(-1.0), 300);
    EXPECT_EQ(rig.moves.calls.size(), 4u);
}

TEST(CKZARN_GparhWindow, ClickChoosesBetweenCoincidingMarkers)
{
    struct Case {
        double cpm, drm, cnt;
        int expected;
    };
    const Case cases[] = {
        {-2.0, -2.0, 0.0, CharacteristicPoints::kDRM},  // at the limit: the inner one
        {-0.1, -0.1, 0.0, CharacteristicPoints::kCPM},  // and too close to CNT: the outer one
        {-3.5, -2.5, 0.0, CharacteristicPoints::kCPM},  // apart: the one clicked
    };
    for (const Case& c : cases) {
        WindowRig rig(1, false);
        rig.points.ev[0] = c.cpm;
        rig.points.ev[1] = c.drm;
        rig.points.ev[2] = c.cnt;
        rig.Set(1);
        rig.Paint();
        rig.ClickMarker(c.cpm);
        EXPECT_EQ(rig.window.m_nDragIndex, c.expected) << c.cpm;
    }
}

TEST(CKZARN_GparhWindow, ClicksBesideKeepTheSelectionAndDisplayOnlyIgnoresThem)
{
    WindowRig rig;
    rig.ClickMarker(2.5); // DRP
    rig.window.OnLButtonUp(rig.MarkerX(2.5), 595);
    rig.window.OnLButtonDown(20, 20);
    EXPECT_EQ(rig.window.m_nDragIndex, -1);
    EXPECT_EQ(rig.window.m_nSelectedIndex, CharacteristicPoints::kDRP);

    WindowRig display(0);
    display.ClickMarker(-2.5);
    EXPECT_EQ(display.window.m_nDragIndex, -1);
    EXPECT_EQ(display.window.m_nSelectedIndex, -1);
}

TEST(CKZARN_GparhWindow, MouseBeforeTheFirstPaintIsIgnored)
{
    WindowRig rig(1, false);
    EXPECT_EQ(rig.window.m_graph.GetXScale(), 0.0);
    rig.window.OnLButtonDown(rig.window.GetMarkerRect(1).left + 2, rig.window.GetMarkerRect(1).top + 2);
    EXPECT_EQ(rig.window.m_nDragIndex, -1);
    rig.window.OnMouseMove(400, 300);
    rig.window.OnLButtonUp(400, 300);
    EXPECT_TRUE(rig.moves.calls.empty());
    EXPECT_TRUE(std::isfinite(rig.Ev(1)));
}

TEST(CKZARN_GparhWindow, ReleaseWithoutContextCallsNothing)
{
    WindowRig rig;
    rig.window.m_pCallbackContext = nullptr;
    rig.ClickMarker(3.5);
    rig.window.OnMouseMove(rig.MarkerX(4.0), 300);
    rig.window.OnLButtonUp(rig.MarkerX(4.5), 300);
    EXPECT_TRUE(rig.moves.calls.empty());
    EXPECT_NEAR(rig.Ev(4), 4.5, 0.03);
}

TEST(CKZARN_GparhWindow, HeldArrowStepsOnTheTimerUntilTheLimit)
{
    WindowRig rig;
    rig.points.ev[3] = 2.5;
    rig.ClickMarker(2.5);
    rig.window.OnLButtonUp(rig.MarkerX(2.5), 595);
    rig.window.m_graph.SetMarkerHigh(2.5); // undo the pixel rounding of the click
    rig.moves.calls.clear();

    QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    EXPECT_TRUE(rig.window.PreTranslateMessage(&press));
    EXPECT_TRUE(rig.window.IsKeyStepping());
    EXPECT_NEAR(rig.Ev(3), 2.6, 1e-9);
    for (int i = 0; i < 20; ++i) {
        rig.window.OnKeyStepTimer();
    }
    EXPECT_DOUBLE_EQ(rig.Ev(3), 3.5); // stops at CPP
    // 2.6 .. 3.4 then 3.5: every change reported once, none after the limit.
    EXPECT_EQ(rig.moves.calls.size(), 10u);
    EXPECT_TRUE(rig.window.IsKeyStepping());
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
    EXPECT_TRUE(rig.window.PreTranslateMessage(&release));
    EXPECT_FALSE(rig.window.IsKeyStepping());

    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    EXPECT_TRUE(rig.window.PreTranslateMessage(&left));
    EXPECT_NEAR(rig.Ev(3), 3.4, 1e-9);
}

TEST(CKZARN_GparhWindow, RightWinsWhileBothArrowsAreHeld)
{
    WindowRig rig;
    rig.points.ev[3] = 2.5;
    rig.ClickMarker(2.5);
    rig.window.OnLButtonUp(rig.MarkerX(2.5), 595);
    rig.window.m_graph.SetMarkerHigh(2.5);

    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QKeyEvent rightUp(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
    QKeyEvent leftUp(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier);
    EXPECT_TRUE(rig.window.PreTranslateMessage(&right));
    EXPECT_NEAR(rig.Ev(3), 2.6, 1e-9);
    // Left joins the held Right: no step of its own, and the steps keep going right.
    EXPECT_TRUE(rig.window.PreTranslateMessage(&left));
    EXPECT_NEAR(rig.Ev(3), 2.6, 1e-9);
    rig.window.OnKeyStepTimer();
    EXPECT_NEAR(rig.Ev(3), 2.7, 1e-9);
    // Right released, Left still held: the steps turn left.
    EXPECT_TRUE(rig.window.PreTranslateMessage(&rightUp));
    EXPECT_TRUE(rig.window.IsKeyStepping());
    rig.window.OnKeyStepTimer();
    EXPECT_NEAR(rig.Ev(3), 2.6, 1e-9);
    EXPECT_TRUE(rig.window.PreTranslateMessage(&leftUp));
    EXPECT_FALSE(rig.window.IsKeyStepping());
}

TEST(CKZARN_GparhWindow, OtherKeysReachTheDialog)
{
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* graph = new CKZARN_GparhWindow(&dialog);
    auto* edit = new QLineEdit(&dialog);
    graph->setMinimumSize(600, 400);
    graph->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(graph);
    layout->addWidget(edit);
    CharacteristicPoints points;
    graph->SetGraph(1, "t", "x", "y", nullptr, &points, 0, nullptr, 30, 15);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    graph->repaint();
    const RECT drp = graph->GetMarkerRect(CharacteristicPoints::kDRP);
    QTest::mouseClick(graph, Qt::LeftButton, Qt::NoModifier, QPoint(drp.left + 5, drp.top + 8));
    ASSERT_EQ(graph->m_nSelectedIndex, CharacteristicPoints::kDRP);
    ASSERT_TRUE(graph->hasFocus());

    QTest::keyClick(graph, Qt::Key_Right);
    EXPECT_NEAR(graph->m_graph.GetPoints().ev[3], 2.6, 1e-9);
    QTest::keyClick(graph, Qt::Key_Tab);
    EXPECT_TRUE(edit->hasFocus());
    graph->setFocus();
    QTest::keyClick(graph, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    // Enter reaches the dialog's default button.
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    layout->addWidget(ok);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    graph->setFocus();
    QTest::keyClick(graph, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(graph->m_nSelectedIndex, CharacteristicPoints::kDRP);
}
