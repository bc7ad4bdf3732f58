// The corner-marking photograph view: where the markers start (stored, kept from the previous
// photograph, found in the picture, or the settings' defaults), grabbing and event-driven drags
// that never leave the picture, and the pointer reports to the owner.
#include "tests/support/ScratchFolder.h"
#include "tests/support/ScriptedPromptService.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"
#include "core/ZarnAppSettings.h"
#include "core/util/CLangTable.h"
#include "platform/qt/QtMessageSink.h"
#include "platform/qt/WindowMessageHandler.h"
#include "profilelib/ZarnExif_File.h"
#include "profilelib/ZarnLib_Image.h"
#include "ui/wizard/CKZARN_ImageWnd.h"
#include "ui/wizard/WizardAppLink.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace {

class Owner final : public QWidget, public WindowMessageHandler {
public:
    Owner() { QtMessageSink::Instance().Register(this, this); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const auto* info = reinterpret_cast<const ImagePointerInfo*>(wParam);
        reports.push_back({message, *info, lParam});
        return 0;
    }
    struct Report {
        UINT message;
        ImagePointerInfo info;
        LPARAM lParam;
    };
    std::vector<Report> reports;
};

struct Rig {
    Rig()
    {
        settings.corners[0] = 0.1, settings.corners[1] = 0.1, settings.corners[2] = 0.9, settings.corners[3] = 0.1;
        settings.corners[4] = 0.9, settings.corners[5] = 0.9, settings.corners[6] = 0.1, settings.corners[7] = 0.9;
        WizardAppLink::SetSettings(&settings);
        owner.resize(720, 300);
        view = new CKZARN_ImageWnd(&owner);
        view->setGeometry(0, 0, 600, 300);
        view->SetOwner(&owner);
        view->Reset();
    }
    ~Rig() { WizardAppLink::SetSettings(nullptr); }

    // A picture loaded as the photographs page loads it: fitted into the view with colour planes.
    bool Load(const std::string& path, RECT* fit, double* scale)
    {
        image.Reset();
        return image.Load(ZarnExif_File::NativeToWide(path), 0x1, 600, 300, fit, scale) == 0;
    }
    void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, QPointF(x, y), view->mapToGlobal(QPointF(x, y)), type == QEvent::MouseMove ? Qt::NoButton : button,
                          held, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }

    ZarnAppSettings settings;
    ScriptedPromptService prompts;
    Owner owner;
    CKZARN_ImageWnd* view = nullptr;
    ZarnLib_Image image;
    ScratchFolder folder;
};

bool Same(POINT a, POINT b)
{
    return a.x == b.x && a.y == b.y;
}

} // namespace

TEST(CKZARN_ImageWndTest, MarkersStartAtStoredCornersOrTheDefaults)
{
    Rig rig;
    ASSERT_TRUE(wizardtest::WritePhoto(rig.folder.File("p.jpg"), 1, 0.0, true, 400, 300));
    RECT fit{};
    double scale = 0;
    ASSERT_TRUE(rig.Load(rig.folder.File("p.jpg"), &fit, &scale));
    const RECT shown{100, 0, 500, 300};
    const double half = 0.5;

    // Plain view without stored corners: the settings' fractions of the picture.
    rig.view->SetPhoto(&rig.image, 0, 0, 1, nullptr, &shown, &half);
    const POINT defaults[4] = {{140, 30}, {460, 30}, {460, 270}, {140, 270}};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(Same(rig.view->GetCorner(i), defaults[i])) << i;

    // Stored corners are relative to the picture and come back unchanged.
    const POINT stored[4] = {{0, 0}, {399, 0}, {399, 299}, {0, 299}};
    const POINT placed[4] = {{100, 0}, {499, 0}, {499, 299}, {100, 299}};
    rig.view->SetPhoto(&rig.image, 0, 0, 1, stored, &shown, &half);
    POINT back[4];
    double backScale = 0;
    rig.view->GetCornerPoints(back, &backScale);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(Same(rig.view->GetCorner(i), placed[i])) << i;
        EXPECT_TRUE(Same(back[i], stored[i])) << i;
    }
    EXPECT_EQ(backScale, 0.5);

    // The next photograph without corners keeps them, each pulled inside its own two edges.
    const RECT smaller{150, 20, 450, 280};
    rig.view->SetPhoto(&rig.image, 0, 0, 1, nullptr, &smaller, &half);
    const POINT pulled[4] = {{150, 20}, {450, 20}, {450, 280}, {150, 280}};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(Same(rig.view->GetCorner(i), pulled[i])) << i;
    EXPECT_TRUE(rig.prompts.Prompts().empty());

    rig.view->SetPhoto(nullptr, 0, 0, 1, nullptr, &shown, &half);
    EXPECT_FALSE(rig.view->HasImageRect());
}

TEST(CKZARN_ImageWndTest, TheCornerStepFindsTheChartOrSaysSoAndFallsBack)
{
    Rig rig;
    rig.view->SetMode(CKZARN_ImageWnd::kCornerMode);
    const std::string chart = rig.folder.File("chart.jpg");
    auto truth = wizardtest::WritePhoto(chart, 1, 0.0, true, 1200, 800);
    ASSERT_TRUE(truth);
    RECT fit{};
    double scale = 0;
    ASSERT_TRUE(rig.Load(chart, &fit, &scale));
    rig.view->SetPhoto(&rig.image, 0, 0, 1, nullptr, &fit, &scale);
    EXPECT_TRUE(rig.prompts.Prompts().empty());
    POINT found[4];
    double foundScale = 0;
    rig.view->GetCornerPoints(found, &foundScale);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(found[i].x / foundScale, truth->values.corners[i].x, 6) << i;
        EXPECT_NEAR(found[i].y / foundScale, truth->values.corners[i].y, 6) << i;
    }

    // A picture without a chart: text 3058, then the defaults.
    rig.view->Reset();
    const std::string blank = rig.folder.File("blank.jpg");
    ZarnTest_ChartSpec none = wizardtest::Drawing(1, 0.0, 600, 300);
    none.crossLevel = none.cardLevel;
    ZarnTest_ChartPoint ignored[4];
    auto bitmap = ZarnTest_ChartPhoto::Render(none, ignored);
    ASSERT_TRUE(bitmap);
    ASSERT_TRUE(ZarnTest_ExifWriter(false).WriteJpeg(*bitmap, blank, 90));
    ASSERT_TRUE(rig.Load(blank, &fit, &scale));
    rig.view->SetPhoto(&rig.image, 0, 0, 1, nullptr, &fit, &scale);
    ASSERT_EQ(rig.prompts.Prompts().size(), 1u);
    EXPECT_EQ(rig.prompts.Prompts()[0].text, GetLangString(3058));
    EXPECT_EQ(rig.prompts.Prompts()[0].type & 0xF0u, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(rig.view->GetCorner(0).x, static_cast<LONG>((fit.right - fit.left) * 0.1 + fit.left));
}

TEST(CKZARN_ImageWndTest, APressGrabsTheFirstCornerWithinItsSquare)
{
    // Corner 1 lies far off, or 5 pixels right of corner 0: a press between them takes corner 0.
    struct Case {
        int mode, dx, corner1x;
        int grabbed;
    } cases[] = {{6, 9, 300, 0}, {6, 10, 300, -1}, {6, -10, 300, 0}, {6, -11, 300, -1}, {6, 3, 105, 0}, {6, 12, 105, 1},
                 {0, 0, 300, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dx);
        Rig rig;
        rig.view->SetMode(c.mode);
        ASSERT_TRUE(wizardtest::WritePhoto(rig.folder.File("p.jpg"), 1, 0.0, true, 400, 300));
        RECT fit{};
        double scale = 0;
        ASSERT_TRUE(rig.Load(rig.folder.File("p.jpg"), &fit, &scale));
        const RECT shown{100, 0, 500, 300};
        const POINT stored[4] = {{100, 100}, {c.corner1x, 100}, {300, 250}, {20, 250}};
        rig.view->SetPhoto(&rig.image, 0, 0, 1, stored, &shown, &scale);
        rig.Mouse(QEvent::MouseButtonPress, 200 + c.dx, 100);
        EXPECT_EQ(rig.view->GetActiveMarker(), c.grabbed);
        rig.Mouse(QEvent::MouseButtonRelease, 200 + c.dx, 100);
        QCoreApplication::processEvents();
        ASSERT_EQ(rig.owner.reports.size(), 1u);
        EXPECT_EQ(rig.owner.reports[0].message, WM_ZARN_IMAGE_LBUTTONDOWN);
        EXPECT_EQ(rig.owner.reports[0].lParam, -1);
        EXPECT_EQ(rig.owner.reports[0].info.mode, c.mode);
    }
}

TEST(CKZARN_ImageWndTest, ADragFollowsThePointerInsideThePictureAndReportsOnRelease)
{
    Rig rig;
    rig.view->SetMode(CKZARN_ImageWnd::kCornerMode);
    ASSERT_TRUE(wizardtest::WritePhoto(rig.folder.File("p.jpg"), 1, 0.0, true, 400, 300));
    RECT fit{};
    double scale = 0;
    ASSERT_TRUE(rig.Load(rig.folder.File("p.jpg"), &fit, &scale));
    const RECT shown{100, 0, 500, 300};
    const POINT stored[4] = {{40, 30}, {360, 30}, {360, 270}, {40, 270}};
    rig.view->SetPhoto(&rig.image, 0, 0, 1, stored, &shown, &scale);

    rig.Mouse(QEvent::MouseButtonPress, 462, 272);
    EXPECT_EQ(rig.view->GetActiveMarker(), 2);
    rig.Mouse(QEvent::MouseMove, 430, 250);
    EXPECT_TRUE(Same(rig.view->GetCorner(2), POINT{430, 250}));
    rig.Mouse(QEvent::MouseMove, 560, 250); // outside: the corner stays at its last place inside
    EXPECT_TRUE(Same(rig.view->GetCorner(2), POINT{430, 250}));
    rig.Mouse(QEvent::MouseMove, 499, 299);
    EXPECT_TRUE(rig.owner.reports.empty()) << "no report while dragging";
    rig.Mouse(QEvent::MouseButtonRelease, 499, 299);
    EXPECT_EQ(rig.view->GetActiveMarker(), -1);
    EXPECT_TRUE(Same(rig.view->GetCorner(2), POINT{499, 299}));
    QCoreApplication::processEvents();
    ASSERT_EQ(rig.owner.reports.size(), 1u);
    EXPECT_EQ(rig.owner.reports[0].info.x, 462) << "the report carries the press position";
    EXPECT_EQ(rig.owner.reports[0].info.imageX, 362);
    EXPECT_EQ(rig.owner.reports[0].lParam, -1);

    // Moves without a drag are sent at once; outside the picture the image position is -1.
    rig.Mouse(QEvent::MouseMove, 50, 10);
    ASSERT_EQ(rig.owner.reports.size(), 2u);
    EXPECT_EQ(rig.owner.reports[1].message, WM_ZARN_IMAGE_MOUSEMOVE);
    EXPECT_EQ(rig.owner.reports[1].info.imageX, -1);
    EXPECT_EQ(rig.owner.reports[1].info.outside[0], 255);
    rig.Mouse(QEvent::MouseButtonPress, 120, 10, Qt::RightButton);
    QCoreApplication::processEvents();
    ASSERT_EQ(rig.owner.reports.size(), 3u);
    EXPECT_EQ(rig.owner.reports[2].message, WM_ZARN_IMAGE_RBUTTONDOWN);
    EXPECT_EQ(rig.owner.reports[2].info.imageX, 20);
}

TEST(CKZARN_ImageWndTest, MarkersAreDrawnOnlyAtTheCornerStepAndNotWhileOneIsDragged)
{
    Rig rig;
    ASSERT_TRUE(wizardtest::WritePhoto(rig.folder.File("p.jpg"), 1, 0.0, true, 400, 300));
    RECT fit{};
    double scale = 0;
    ASSERT_TRUE(rig.Load(rig.folder.File("p.jpg"), &fit, &scale));
    const RECT shown{100, 0, 500, 300};
    const POINT stored[4] = {{60, 60}, {340, 60}, {340, 240}, {60, 240}};
    // The marker's red arm runs from its centre along the chart's edge.
    auto redAt = [&rig](int x, int y) {
        const QColor c = rig.view->grab().toImage().pixelColor(x, y);
        return c.red() > 200 && c.green() < 100 && c.blue() < 100;
    };
    rig.view->SetPhoto(&rig.image, 0, 0, 1, stored, &shown, &scale);
    EXPECT_FALSE(redAt(100 + 60 + 8, 60)) << "plain view";
    rig.view->SetMode(CKZARN_ImageWnd::kCornerMode);
    EXPECT_TRUE(redAt(100 + 60 + 8, 60));
    rig.Mouse(QEvent::MouseButtonPress, 100 + 340, 240);
    ASSERT_EQ(rig.view->GetActiveMarker(), 2);
    EXPECT_FALSE(redAt(100 + 60 + 8, 60)) << "all markers vanish during a drag";
    rig.Mouse(QEvent::MouseButtonRelease, 100 + 340, 240);
    EXPECT_TRUE(redAt(100 + 60 + 8, 60));
}
