#include "core/CSplashWnd.h"

#include "core/CKestrinZarnApp.h"
#include "tests/core/AppTestFolders.h"
#include "tests/core/FakeAppParts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A widget that counts the key and mouse events that reach it.
class CountingWidget final : public QWidget {
public:
    int received = 0;

protected:
    bool event(QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
            ++received;
            return true;
        default:
            return QWidget::event(e);
        }
    }
};

std::unique_ptr<QEvent> MakeEvent(QEvent::Type type)
{
    const QPointF at(5, 5);
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return std::make_unique<QKeyEvent>(type, Qt::Key_A, Qt::NoModifier, "a");
    case QEvent::MouseMove:
        return std::make_unique<QMouseEvent>(type, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    default:
        return std::make_unique<QMouseEvent>(type, at, at, Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    }
}

class CSplashWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folders_.CopySplashPicture();
        window_ = std::make_unique<FakeMainWindow>(&log_);
        app_ = std::make_unique<CKestrinZarnApp>(&parts_, nullptr, folders_.InstanceName());
        app_->SetMainWindow(window_.get());
        CSplashWnd::EnableSplashScreen(FALSE, FALSE);
    }
    void TearDown() override
    {
        CSplashWnd::EnableSplashScreen(FALSE, FALSE);
        if (CSplashWnd::IsSplashShown()) {
            CSplashWnd::HideSplashScreen();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    AppTestFolders folders_;
    FakeAppParts parts_;
    std::vector<std::string> log_;
    std::unique_ptr<FakeMainWindow> window_;
    std::unique_ptr<CKestrinZarnApp> app_;
};

TEST_F(CSplashWndTest, ShowsOnlyWhenEnabledAndOnlyOnce)
{
    EXPECT_EQ(CSplashWnd::ShowSplashScreen(window_->Widget()), FALSE);
    EXPECT_FALSE(CSplashWnd::IsSplashShown());

    CSplashWnd::EnableSplashScreen(TRUE, FALSE);
    ASSERT_EQ(CSplashWnd::ShowSplashScreen(window_->Widget()), TRUE);
    CSplashWnd* splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(701, 300));
    const QTimer* timer = splash->findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 2000);

    EXPECT_EQ(CSplashWnd::ShowSplashScreen(window_->Widget()), TRUE);
    EXPECT_EQ(CSplashWnd::Current(), splash) << "the splash that is up serves";

    splash->OnTimer();
    EXPECT_FALSE(CSplashWnd::IsSplashShown());
    EXPECT_EQ(window_->destroyed, 0) << "the opening splash leaves the main window";
}

TEST_F(CSplashWndTest, PressesRemoveTheSplashAndAreSwallowedOtherInputPasses)
{
    const struct {
        QEvent::Type type;
        bool removes;
    } cases[] = {
        {QEvent::KeyPress, true},
        {QEvent::MouseButtonPress, true},
        {QEvent::MouseButtonDblClick, true},
        {QEvent::NonClientAreaMouseButtonPress, true},
        {QEvent::KeyRelease, false},
        {QEvent::MouseMove, false},
    };
    CountingWidget target;
    target.setMouseTracking(true); // moves without a button reach only tracking widgets
    CSplashWnd::EnableSplashScreen(TRUE, FALSE);
    for (const auto& c : cases) {
        ASSERT_EQ(CSplashWnd::ShowSplashScreen(window_->Widget()), TRUE);
        target.received = 0;
        const std::unique_ptr<QEvent> event = MakeEvent(c.type);
        QApplication::sendEvent(&target, event.get());
        EXPECT_EQ(CSplashWnd::IsSplashShown(), c.removes ? FALSE : TRUE) << c.type;
        EXPECT_EQ(target.received, c.removes ? 0 : 1) << c.type;
        // Once the splash is gone the same input reaches the widget again.
        QApplication::sendEvent(&target, MakeEvent(c.type).get());
        EXPECT_EQ(target.received, c.removes ? 1 : 2) << c.type;
        CSplashWnd::HideSplashScreen();
    }
    EXPECT_EQ(window_->destroyed, 0);
}

TEST_F(CSplashWndTest, ClosingSplashEndsTheMainWindowWhenItGoes)
{
    CountingWidget target;
    for (bool byKey : {false, true}) {
        window_->destroyed = 0;
        CSplashWnd::EnableSplashScreen(TRUE, TRUE);
        ASSERT_EQ(CSplashWnd::ShowSplashScreen(window_->Widget()), TRUE);
        EXPECT_EQ(window_->destroyed, 0) << "the window stays while the splash is up";
        if (byKey) {
            QApplication::sendEvent(&target, MakeEvent(QEvent::KeyPress).get());
        } else {
            CSplashWnd::Current()->OnTimer();
        }
        EXPECT_FALSE(CSplashWnd::IsSplashShown());
        EXPECT_EQ(window_->destroyed, 1) << (byKey ? "key" : "timer");
    }
}

TEST_F(CSplashWndTest, ClosingWithoutAPictureEndsTheMainWindowAtOnce)
{
    std::filesystem::remove(folders_.Program() + "/Splash.png");

    CSplashWnd::EnableSplashScreen(TRUE, FALSE);
    EXPECT_EQ(CSplashWnd::ShowSplashScreen(window_->Widget()), FALSE);
    EXPECT_EQ(window_->destroyed, 0) << "an opening splash that cannot show changes nothing";

    CSplashWnd::EnableSplashScreen(TRUE, TRUE);
    EXPECT_EQ(CSplashWnd::ShowSplashScreen(window_->Widget()), FALSE);
    EXPECT_FALSE(CSplashWnd::IsSplashShown());
    EXPECT_EQ(window_->destroyed, 1) << "no splash will come to end the window, so it ends now";
}

// The opening splash comes before its owner is on the screen: it is centred on the screen, also
// when the owner shows afterwards (its frame then still lies at the origin, where half the splash
// would be off the screen). The closing splash finds its owner on the screen and is centred on it.
TEST_F(CSplashWndTest, SplashIsCentredOnTheScreenUntilItsOwnerIsOnTheScreen)
{
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    auto near = [](const QPoint& a, const QPoint& b) { return (a - b).manhattanLength() <= 2; };
    CSplashWnd::EnableSplashScreen(TRUE, FALSE);
    for (const bool showsLater : {false, true}) {
        SCOPED_TRACE(showsLater);
        QWidget owner;
        owner.resize(570, 690);
        ASSERT_EQ(CSplashWnd::ShowSplashScreen(&owner), TRUE);
        EXPECT_TRUE(near(CSplashWnd::Current()->frameGeometry().center(), screenCentre));
        if (showsLater) {
            owner.show();
            EXPECT_TRUE(near(CSplashWnd::Current()->frameGeometry().center(), screenCentre));
            EXPECT_GE(CSplashWnd::Current()->x(), 0);
        }
        CSplashWnd::HideSplashScreen();
    }

    QWidget owner;
    owner.setGeometry(40, 30, 570, 690);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    ASSERT_EQ(CSplashWnd::ShowSplashScreen(&owner), TRUE);
    EXPECT_TRUE(near(CSplashWnd::Current()->frameGeometry().center(), owner.frameGeometry().center()));
    EXPECT_FALSE(near(owner.frameGeometry().center(), screenCentre)) << "the fixture tells the two apart";
    CSplashWnd::HideSplashScreen();
}

TEST_F(CSplashWndTest, SplashGoesWithItsOwner)
{
    auto owner = std::make_unique<QWidget>();
    CSplashWnd::EnableSplashScreen(TRUE, FALSE);
    ASSERT_EQ(CSplashWnd::ShowSplashScreen(owner.get()), TRUE);
    owner.reset();
    EXPECT_FALSE(CSplashWnd::IsSplashShown());
    CountingWidget target;
    QApplication::sendEvent(&target, MakeEvent(QEvent::KeyPress).get());
    EXPECT_EQ(target.received, 1);
}

} // namespace
