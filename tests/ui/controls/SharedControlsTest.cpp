#include "core/util/CThemeApi.h"
#include "ui/controls/CComboBoxExact.h"
#include "ui/controls/CCustomRadioButton.h"
#include "ui/controls/CHAlignLabel.h"
#include "ui/controls/CKZARN_ModalBaseDlg.h"
#include "ui/controls/CListBoxExact.h"
#include "ui/controls/CStaticDeltaSymbol.h"
#include "ui/controls/CStaticHLine.h"
#include "ui/controls/CStaticIcon.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QStringListModel>

#include <string>
#include <vector>

namespace {

using Piece = CCustomRadioButton::Piece;

TEST(CCustomRadioButton, SplitsAtMostTwoMarks)
{
    struct Case {
        std::string caption;
        std::vector<Piece> pieces;
    };
    const std::vector<Case> cases = {
        {"Flash", {{"Flash", false}}},
        {"(R)", {{"", false}, {"(R)", true}, {"", false}}},
        {"Incident (R) light", {{"Incident ", false}, {"(R)", true}, {" light", false}}},
        {"A(R)B(R)C", {{"A", false}, {"(R)", true}, {"B", false}, {"(R)", true}, {"C", false}}},
        {"A(R)B(R)C(R)D", {{"A", false}, {"(R)", true}, {"B", false}, {"(R)", true}, {"C(R)D", false}}},
        {"(r) (R", {{"(r) (R", false}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CCustomRadioButton::SplitMarks(c.caption), c.pieces) << c.caption;
    }
}

TEST(CCustomRadioButton, KeepsTheCaptionForPaintingOnly)
{
    CCustomRadioButton button;
    button.SetText("Spot (R)");
    EXPECT_EQ(button.QRadioButton::text(), QString());
    EXPECT_EQ(button.text, "Spot (R)");
    button.resize(120, 20);
    EXPECT_FALSE(button.grab().isNull());
}

// The theme entry points are looked up at run time; fakes stand in for a theme library here.
struct FakeTheme {
    static inline int opened = 0;
    static inline int closed = 0;
    static inline std::u16string className;
    static BOOL Enabled(void*) { return 1; }
    static void* Open(void*, const char16_t* name)
    {
        ++opened;
        className = name;
        return &opened;
    }
    static long Close(void* theme)
    {
        closed += theme == &opened ? 1 : 0;
        return 0;
    }
};

class ThemedControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        FakeTheme::opened = FakeTheme::closed = 0;
        CThemeApi* api = CThemeApi::GetInstance();
        api->IsThemeDialogTextureEnabled = &FakeTheme::Enabled;
        api->OpenThemeData = &FakeTheme::Open;
        api->CloseThemeData = &FakeTheme::Close;
    }
    void TearDown() override
    {
        CThemeApi* api = CThemeApi::GetInstance();
        api->IsThemeDialogTextureEnabled = nullptr;
        api->OpenThemeData = nullptr;
        api->CloseThemeData = nullptr;
    }
};

TEST_F(ThemedControls, RadioButtonAndRuleOpenTheirThemeAndCloseItWhenDestroyed)
{
    QWidget parent;
    {
        CCustomRadioButton button(&parent);
        EXPECT_NE(button.themeData, nullptr);
        EXPECT_EQ(FakeTheme::className, u"FLYOUT");
    }
    EXPECT_EQ(FakeTheme::closed, 1);
    {
        CStaticHLine rule(&parent);
        EXPECT_NE(rule.themeData, nullptr);
        EXPECT_EQ(FakeTheme::className, u"TAB");
    }
    EXPECT_EQ(FakeTheme::opened, 2);
    EXPECT_EQ(FakeTheme::closed, 2);
}

TEST(CHAlignLabel, CentresLinesVerticallyAndNeverAboveTheTop)
{
    EXPECT_EQ(CHAlignLabel::VerticalMargin(40, 1, 13), 13);
    EXPECT_EQ(CHAlignLabel::VerticalMargin(40, 2, 13), 7);
    EXPECT_EQ(CHAlignLabel::VerticalMargin(20, 3, 13), 0); // taller than the control: from the top
    EXPECT_EQ(CHAlignLabel::VerticalMargin(13, 1, 13), 0);

    struct Case {
        int value;
        Qt::Alignment expected;
    };
    for (const Case c : {Case{1, Qt::AlignLeft}, Case{2, Qt::AlignHCenter}, Case{4, Qt::AlignRight},
                         Case{0, Qt::AlignLeft}, Case{3, Qt::AlignLeft}, Case{10, Qt::AlignHCenter},
                         Case{12, Qt::AlignRight}, Case{7, Qt::AlignLeft}}) {
        EXPECT_EQ(CHAlignLabel::HorizontalAlignment(c.value), c.expected) << c.value;
    }
}

TEST(CListBoxExact, FindsPrefixesOrWholeItemsByMode)
{
    QStringListModel items({"100", "10", "1", "Auto", "auto 2"});
    CListBoxExact list;
    list.setModel(&items);

    struct Case {
        int exactMode;
        int start;
        const char* text;
        int row;
    };
    const Case cases[] = {
        {0, -1, "1", 0},  {1, -1, "1", 2},      {0, 0, "1", 1},      {1, 2, "1", 2}, // wraps back to itself
        {0, -1, "AU", 3}, {1, -1, "AUTO", 3},   {1, -1, "auto 2", 4}, {1, -1, "aut", -1},
        {0, 4, "au", 3},  {0, -1, "x", -1},
    };
    for (const Case& c : cases) {
        list.SetExactMode(c.exactMode);
        EXPECT_EQ(list.FindString(c.start, QString::fromLatin1(c.text)), c.row)
            << "mode " << c.exactMode << " from " << c.start << " \"" << c.text << "\"";
    }
    EXPECT_EQ(list.FindStringExact(-1, QStringLiteral("10")), 1);
}

TEST(CComboBoxExact, ItsListSearchesWholeItemsOnlyWhileOpen)
{
    CComboBoxExact combo;
    combo.addItems({"100", "10", "1"});
    ASSERT_EQ(combo.view(), combo.listBox);
    EXPECT_EQ(combo.listBox->exactMode, 0);
    combo.show();
    combo.showPopup();
    EXPECT_EQ(combo.listBox->exactMode, 1);
    EXPECT_EQ(combo.listBox->FindString(-1, QStringLiteral("1")), 2);
    combo.hidePopup();
    EXPECT_EQ(combo.listBox->exactMode, 0);
}

TEST(CStaticIcon, PlacesTheIconByAlignModeAndStyle)
{
    struct Case {
        int mode;
        DWORD style;
        QPoint expected;
    };
    // A 100 x 50 control with a 32 x 20 icon.
    const Case cases[] = {
        {0, 0, {34, 15}},
        {2, CStaticIcon::kCentreHorizontally, {34, 15}},
        {1, 0, {0, 0}},
        {1, CStaticIcon::kCentreHorizontally, {34, 0}},
        {1, CStaticIcon::kCentreVertically, {0, 15}},
        {1, CStaticIcon::kCentreHorizontally | CStaticIcon::kCentreVertically, {34, 15}},
    };
    CStaticIcon picture;
    picture.resize(100, 50);
    QPixmap red(8, 8);
    red.fill(Qt::red);
    picture.SetIcon(QIcon(red), 32, 20);
    for (const Case& c : cases) {
        picture.SetIconAlignMode(c.mode);
        picture.staticStyle = c.style;
        EXPECT_EQ(picture.IconPosition(), c.expected) << "mode " << c.mode << " style " << c.style;
    }

    // Drawn at the stored size, wherever it goes.
    picture.SetIconAlignMode(1);
    picture.staticStyle = 0;
    const QImage image = picture.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(31, 19), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(33, 21), QColor(Qt::red));
}

TEST(CStaticIcon, SetIconHandsBackThePreviousIconAndClearIconRemovesIt)
{
    CStaticIcon picture;
    QPixmap one(4, 4);
    one.fill(Qt::blue);
    const QIcon first(one);
    EXPECT_TRUE(picture.SetIcon(first, 32, 32).isNull());
    EXPECT_EQ(picture.SetIcon(QIcon(), 16, 16).cacheKey(), first.cacheKey());
    EXPECT_EQ(picture.iconWidth, 16);
    picture.SetIcon(first, 32, 32);
    picture.ClearIcon();
    EXPECT_TRUE(picture.icon.isNull());
    picture.SetCaption("Meter");
    EXPECT_EQ(picture.caption, "Meter");
}

TEST(CStaticHLine, FillsItsHeightWithSolidOrDashedLinesInItsColour)
{
    CStaticHLine rule;
    rule.resize(40, 3);
    rule.lineColour = 0x0000FF; // COLORREF red: the low byte is red
    const QImage solid = rule.grab().toImage();
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(solid.pixelColor(x, y), QColor(255, 0, 0)) << x << "," << y;
        }
    }

    rule.lineStyle = 1; // 7 on, 4 off
    rule.lineColour = 0xFF0000; // blue
    const QImage dashed = rule.grab().toImage();
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(dashed.pixelColor(0, y), QColor(0, 0, 255));
        EXPECT_EQ(dashed.pixelColor(6, y), QColor(0, 0, 255));
        EXPECT_NE(dashed.pixelColor(8, y), QColor(0, 0, 255));
        EXPECT_EQ(dashed.pixelColor(12, y), QColor(0, 0, 255));
    }
}

TEST(CStaticDeltaSymbol, DrawsAnUpwardTriangleInItsFillColour)
{
    CStaticDeltaSymbol delta;
    delta.resize(21, 21);
    delta.fillColour = 0x00FF00; // green
    const QImage image = delta.grab().toImage();
    EXPECT_EQ(image.pixelColor(10, 16), QColor(0, 255, 0));
    EXPECT_NE(image.pixelColor(1, 1), QColor(0, 255, 0));
    EXPECT_NE(image.pixelColor(19, 1), QColor(0, 255, 0));
}

TEST(CKZARN_ModalBaseDlg, MinimisingTheDialogMinimisesItsOwnerInstead)
{
    QWidget owner;
    owner.show();
    CKZARN_ModalBaseDlg dialog(150, &owner);
    dialog.show();

    dialog.OnSysCommand(SC_MINIMIZE, 0);
    EXPECT_TRUE(owner.isMinimized());
    EXPECT_FALSE(dialog.isMinimized());

    owner.showNormal();
    dialog.showMinimized(); // the window system's own minimise
    EXPECT_TRUE(owner.isMinimized());
    EXPECT_FALSE(dialog.isMinimized());

    // Only the exact command is redirected.
    owner.showNormal();
    dialog.OnSysCommand(SC_MINIMIZE | 2, 0);
    EXPECT_FALSE(owner.isMinimized());
    EXPECT_TRUE(dialog.isMinimized());
}

TEST(CKZARN_ModalBaseDlg, KeepsItsControlsById)
{
    CKZARN_ModalBaseDlg dialog(150, nullptr);
    QWidget control(&dialog);
    dialog.AddControl(1001, &control);
    EXPECT_EQ(dialog.FindControl(1001), &control);
    EXPECT_EQ(dialog.FindControl(1002), nullptr);
    EXPECT_EQ(dialog.HostWidget(), &dialog);
    EXPECT_EQ(dialog.TemplateId(), 150);
}

} // namespace
