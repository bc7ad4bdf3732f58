// The thumbnail strip: cell geometry and scroll range, keys, selection and check changes offered to
// the parent, exact path look-ups, and its loader passes over real photographs (filled in as they
// decode, stopped and joined when the strip is refilled or destroyed while decoding).
#include "tests/support/ScratchFolder.h"
#include "tests/support/qt/QtTestEnvironment.h"
#include "tests/ui/wizard/ThumbnailWait.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"
#include "platform/qt/QtMessageSink.h"
#include "platform/qt/WindowMessageHandler.h"
#include "ui/wizard/CKZARN_ThumbnailWnd.h"
#include "ui/wizard/ExifInputValues.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <sys/stat.h>

namespace {

// The one QApplication of this program, with the program's texts loaded.
[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new QtTestEnvironment<QApplication>(QtTestTexts::Load));

// The strip's parent: answers the strip's offers with scripted replies and records them.
class Parent final : public QWidget, public WindowMessageHandler {
public:
    Parent() { handle_ = QtMessageSink::Instance().Register(this, this); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        offers.push_back({message, reinterpret_cast<ExifInputValues*>(wParam), lParam});
        return message == WM_ZARN_THUMB_SELECT ? selectReply : checkReply;
    }
    struct Offer {
        UINT message;
        ExifInputValues* record;
        LPARAM lParam;
    };
    std::vector<Offer> offers;
    LRESULT selectReply = 1;
    LRESULT checkReply = 1;

private:
    HWND handle_ = nullptr;
};

struct Rig {
    explicit Rig(int width = 600, int height = 144)
    {
        parent.resize(width + 20, height + 20);
        strip = new CKZARN_ThumbnailWnd(&parent);
        strip->Create(0, RECT{0, 0, width, height}, &parent, 1102);
        strip->ResetLayout(0);
    }
    std::vector<std::string> Names(int count)
    {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i)
            paths.push_back(folder.File("p" + std::to_string(i) + ".jpg"));
        return paths;
    }
    bool WaitForLoaded() { return wizardtest::WaitForThumbnails(strip); }
    ScratchFolder folder;
    Parent parent;
    CKZARN_ThumbnailWnd* strip = nullptr;
};

void Key(QWidget* w, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

} // namespace

TEST(CKZARN_ThumbnailWndTest, CellsAndScrollRangeFollowTheClientWidth)
{
    struct Case {
        int width, count, cellWidth;
        bool shown;
        int lastPosition;
    } cases[] = {{600, 6, 100, false, 1}, {605, 6, 100, false, 0}, {600, 7, 100, true, 101}, {600, 0, 100, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width * 100 + c.count);
        Rig rig(c.width);
        rig.strip->SetFiles(rig.Names(c.count));
        EXPECT_EQ(rig.strip->CellWidth(), c.cellWidth);
        EXPECT_EQ(rig.strip->IsScrollBarShown(), c.shown);
        EXPECT_EQ(rig.strip->ScrollBar()->maximum(), c.lastPosition);
        rig.strip->StopLoading();
    }
    Rig rig;
    const int h = rig.strip->CellHeight();
    auto eq = [](RECT a, RECT b) { return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom; };
    EXPECT_TRUE(eq(rig.strip->GetCellRect(2), RECT{200, 0, 300, h}));
    EXPECT_TRUE(eq(rig.strip->GetCheckBoxRect(2), RECT{277, 7, 293, 23}));
    EXPECT_TRUE(eq(rig.strip->GetImageRect(2), RECT{205, 28, 295, h - 25}));
    EXPECT_TRUE(eq(rig.strip->GetNameRect(2), RECT{205, h - 20, 295, h - 5}));
    EXPECT_TRUE(eq(rig.strip->GetBevelRect(2), RECT{202, 2, 298, h - 2}));
}

TEST(CKZARN_ThumbnailWndTest, ScrollRequestsMoveTheStripUnderTheirLimits)
{
    Rig rig;
    rig.strip->SetFiles(rig.Names(12)); // maximum 700, page 100, last position 601
    rig.strip->StopLoading();
    struct Step {
        UINT code;
        int track;
        int expected;
    } steps[] = {{4, 50, 50}, {2, 0, 0}, {1, 0, 10}, {0, 0, 0}, {0, 0, 0}, {3, 0, 100}, {7, 0, 601},
                 {1, 0, 601}, {3, 0, 601}, {6, 0, 0}, {5, 333, 333}, {8, 0, 333}};
    for (const Step& s : steps) {
        rig.strip->OnHScroll(s.code, s.track);
        EXPECT_EQ(rig.strip->ScrollX(), s.expected) << s.code;
        EXPECT_EQ(rig.strip->ScrollBar()->sliderPosition(), s.expected);
    }
}

TEST(CKZARN_ThumbnailWndTest, KeysMoveTheSelectionAndScrollItIntoView)
{
    struct Case {
        int count, start, key, expected, scrollX;
    } cases[] = {{10, -1, Qt::Key_Right, 0, 0},   {10, -1, Qt::Key_Left, 0, 0},    {10, -1, Qt::Key_PageDown, 4, 0},
                 {3, -1, Qt::Key_PageDown, 2, 0}, {10, -1, Qt::Key_End, 9, 400},   {10, 8, Qt::Key_Home, 0, 0},
                 {10, 7, Qt::Key_PageUp, 2, 0},   {10, 5, Qt::Key_Right, 6, 100}, {10, 3, Qt::Key_A, 3, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Rig rig;
        rig.strip->SetFiles(rig.Names(c.count));
        rig.strip->StopLoading();
        rig.strip->Select(c.start, 0);
        Key(rig.strip, c.key);
        EXPECT_EQ(rig.strip->GetSelectedIndex(), c.expected);
        EXPECT_EQ(rig.strip->ScrollX(), c.scrollX);
    }
}

TEST(CKZARN_ThumbnailWndTest, TheParentDecidesOnSelectionAndCheckChanges)
{
    Rig rig;
    rig.strip->SetFiles(rig.Names(4));
    rig.strip->StopLoading();
    // A click in a cell offers the selection; the reply 2 keeps the old one.
    QTest::mouseClick(rig.strip, Qt::LeftButton, Qt::NoModifier, QPoint(150, 60));
    EXPECT_EQ(rig.strip->GetSelectedIndex(), 1);
    ASSERT_EQ(rig.parent.offers.size(), 1u);
    EXPECT_EQ(rig.parent.offers[0].message, WM_ZARN_THUMB_SELECT);
    EXPECT_EQ(rig.parent.offers[0].record, rig.strip->GetRecordAt(1));
    rig.parent.selectReply = 2;
    QTest::mouseClick(rig.strip, Qt::LeftButton, Qt::NoModifier, QPoint(350, 60));
    EXPECT_EQ(rig.strip->GetSelectedIndex(), 1);

    // A click in a check box offers the flipped flag with the previous value; 0 puts it back.
    QTest::mouseClick(rig.strip, Qt::LeftButton, Qt::NoModifier, QPoint(385, 15));
    EXPECT_EQ(rig.strip->GetRecordAt(3)->checked, 1);
    EXPECT_EQ(rig.parent.offers.back().message, WM_ZARN_THUMB_CHECK);
    EXPECT_EQ(rig.parent.offers.back().lParam, 0);
    rig.parent.checkReply = 0;
    QTest::mouseClick(rig.strip, Qt::LeftButton, Qt::NoModifier, QPoint(385, 15));
    EXPECT_EQ(rig.strip->GetRecordAt(3)->checked, 1);
    EXPECT_EQ(rig.parent.offers.back().lParam, 1);
    std::vector<std::string> checked;
    EXPECT_EQ(rig.strip->GetCheckedPaths(&checked), 1);
    EXPECT_EQ(rig.strip->ToggleCheck(4), 0);
}

TEST(CKZARN_ThumbnailWndTest, InCornerModeTheHiddenCheckBoxSelectsAndNeverUnchecks)
{
    Rig rig;
    rig.strip->SetCornerMode(1);
    rig.strip->SetFiles(rig.Names(3));
    rig.strip->StopLoading();
    rig.strip->GetRecordAt(2)->checked = 1;
    QTest::mouseClick(rig.strip, Qt::LeftButton, Qt::NoModifier, QPoint(285, 15));
    EXPECT_EQ(rig.strip->GetRecordAt(2)->checked, 1);
    EXPECT_EQ(rig.strip->GetSelectedIndex(), 2);
    ASSERT_EQ(rig.parent.offers.size(), 1u);
    EXPECT_EQ(rig.parent.offers[0].message, WM_ZARN_THUMB_SELECT);
}

TEST(CKZARN_ThumbnailWndTest, PathsAreLookedUpExactly)
{
    Rig rig;
    rig.strip->SetFiles({"/photos/A.jpg", "/photos/a.jpg"});
    rig.strip->StopLoading();
    int index = -1;
    EXPECT_EQ(rig.strip->FindRecordByPath("/photos/a.jpg", &index), rig.strip->GetRecordAt(1));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(rig.strip->FindRecordByPath("/photos/A.JPG", &index), nullptr);
    rig.strip->SetMarked("/photos/A.jpg");
    EXPECT_EQ(rig.strip->IsMarked("/photos/A.jpg"), 1);
    EXPECT_EQ(rig.strip->IsMarked("/photos/a.jpg"), 0);
    ExifInputValues copy;
    copy.checked = 1;
    EXPECT_FALSE(rig.strip->GetRecordByPath("/photos/b.jpg", &copy));
    EXPECT_EQ(copy.checked, 0) << "a missed look-up resets the output";
}

TEST(CKZARN_ThumbnailWndTest, FileTitlesDropFolderAndExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/a/b/photo.one.jpg", "photo.one"}, {"C:\\x\\IMG_1.TIF", "IMG_1"}, {"d:name.jpe", "name"}, {"/a/noext", ""}};
    for (const auto& [path, title] : cases)
        EXPECT_EQ(CKZARN_ThumbnailWnd::FileTitle(path), title) << path;
}

TEST(CKZARN_ThumbnailWndTest, AFolderFillsInAsItsPhotographsDecode)
{
    Rig rig(720, 144);
    ASSERT_TRUE(wizardtest::WritePhoto(rig.folder.File("b.JPG"), 1, 0.0, true, 630, 420));
    ASSERT_TRUE(wizardtest::WritePhoto(rig.folder.File("a.tiff"), 1, 1.0, false, 630, 420));
    std::ofstream(rig.folder.File("notes.txt")) << "x";
    std::filesystem::create_directory(rig.folder.File("sub"));
    ASSERT_TRUE(wizardtest::WritePhoto(rig.folder.File("sub/c.jpg"), 1, 0.0, true, 630, 420));

    EXPECT_EQ(rig.strip->LoadFolder(rig.folder.File("absent")), 0);
    EXPECT_EQ(rig.strip->GetCount(), 0);
    EXPECT_EQ(rig.strip->LoadFolder(rig.folder.Path()), 1);
    ASSERT_EQ(rig.strip->GetCount(), 2);
    ASSERT_TRUE(rig.WaitForLoaded());
    for (int i = 0; i < 2; ++i) {
        ExifInputValues copy;
        ASSERT_TRUE(rig.strip->GetRecordByPath(rig.strip->GetRecordAt(i)->path, &copy));
        EXPECT_EQ(copy.loadResult, 0);
        EXPECT_EQ(copy.isoFromExif, 1);
    }
    rig.strip->show();
    const QImage shot = rig.strip->grab().toImage();
    // The first thumbnail is drawn in its cell: bright chart crosses on the dark card.
    bool bright = false;
    for (int y = 28; y < rig.strip->CellHeight() - 25 && !bright; ++y)
        for (int x = 5; x < 115 && !bright; ++x)
            bright = qGray(shot.pixel(x, y)) > 200;
    EXPECT_TRUE(bright);
}

TEST(CKZARN_ThumbnailWndTest, RefillingOrDestroyingWhileDecodingJoinsTheLoaderFirst)
{
    Rig rig;
    std::vector<std::string> paths;
    for (int i = 0; i < 6; ++i) {
        paths.push_back(rig.folder.File("s" + std::to_string(i) + ".jpg"));
        ASSERT_TRUE(wizardtest::WritePhoto(paths.back(), 1, 0.0, true, 1260, 840));
    }
    rig.strip->SetFiles(paths);
    rig.strip->SetFiles({paths[0], paths[1]});
    EXPECT_EQ(rig.strip->GetCount(), 2);
    ASSERT_TRUE(rig.WaitForLoaded());
    rig.strip->SetFiles(paths);
    delete rig.strip; // while the pass is decoding
    rig.strip = nullptr;
    QCoreApplication::processEvents(); // messages posted to the gone strip are dropped
    SUCCEED();
}

TEST(CKZARN_ThumbnailWndTest, PaintsCheckBoxesInSelectionModeAndTheBevelOfTheSelection)
{
    Rig rig;
    rig.strip->SetFiles(rig.Names(3));
    rig.strip->StopLoading();
    rig.strip->GetRecordAt(0)->checked = 1;
    rig.strip->Select(1, 0);
    rig.strip->show();
    QImage shot = rig.strip->grab().toImage();
    // Check boxes are white inside; the selected cell's panel is 0x3D3D3D; other cells black.
    EXPECT_EQ(shot.pixel(100 - 23 + 8, 7 + 3), qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(100 + 10, 60), qRgb(0x3D, 0x3D, 0x3D));
    EXPECT_EQ(shot.pixel(100 + 2, 60), qRgb(0x50, 0x50, 0x50)) << "outer left line";
    EXPECT_EQ(shot.pixel(200 + 10, 60), qRgb(0, 0, 0));
    rig.strip->SetCornerMode(1);
    shot = rig.strip->grab().toImage();
    EXPECT_EQ(shot.pixel(300 - 23 + 8, 7 + 3), qRgb(0, 0, 0)) << "no check boxes at the corner step";
}

TEST(CKZARN_ThumbnailWndTest, AFolderIsListedInNameOrderAndOnlyItsRegularFiles)
{
    Rig rig(720, 144);
    // Created in reverse order, so a folder listed as created shows them reversed; a FIFO named
    // as a photograph would block the loader's open.
    for (const char* name : {"g2_scurve_02.jpg", "G2_scurve_01.jpg", "g2_scurve_00.jpg"})
        ASSERT_TRUE(wizardtest::WritePhoto(rig.folder.File(name), 1, 0.0, true, 630, 420));
    ASSERT_EQ(::mkfifo(rig.folder.File("g2_scurve_03.jpg").c_str(), 0600), 0);

    ASSERT_EQ(rig.strip->LoadFolder(rig.folder.Path()), 1);
    ASSERT_EQ(rig.strip->GetCount(), 3);
    EXPECT_EQ(rig.strip->GetRecordAt(0)->path, rig.folder.File("g2_scurve_00.jpg"));
    EXPECT_EQ(rig.strip->GetRecordAt(1)->path, rig.folder.File("G2_scurve_01.jpg"));
    EXPECT_EQ(rig.strip->GetRecordAt(2)->path, rig.folder.File("g2_scurve_02.jpg"));
    ASSERT_TRUE(rig.WaitForLoaded());
}
