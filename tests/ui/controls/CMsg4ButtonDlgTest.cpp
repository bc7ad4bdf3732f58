#include "ui/controls/CMsg4ButtonDlg.h"

#include "platform/PromptService.h"
#include "tests/support/ScriptedPromptService.h"
#include "ui/controls/CStaticIcon.h"
#include "ui/controls/QtPromptService.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> kTexts = {"Caption", "Message", "One", "Two", "Three", "Four"};

// Runs the dialog and acts on it once its modal loop runs.
int RunWith(CMsg4ButtonDlg& dialog, const std::function<void()>& action)
{
    QTimer::singleShot(0, &dialog, action);
    return dialog.DoModal();
}

QPushButton* Button(CMsg4ButtonDlg& dialog, int index)
{
    return static_cast<QPushButton*>(dialog.FindControl(CMsg4ButtonDlg::kFirstButtonId + index));
}

TEST(CMsg4ButtonDlg, EachButtonEndsWithItsResult)
{
    for (int index = 0; index < 4; ++index) {
        CMsg4ButtonDlg dialog;
        dialog.SetTexts(kTexts);
        dialog.SetDefaultButton(257);
        const int result = RunWith(dialog, [&] { Button(dialog, index)->click(); });
        EXPECT_EQ(result, 257 + index);
    }
}

TEST(CMsg4ButtonDlg, EscapeAndTheCloseBoxCancel)
{
    CMsg4ButtonDlg escaped;
    escaped.SetTexts(kTexts);
    EXPECT_EQ(RunWith(escaped, [&] { QTest::keyClick(&escaped, Qt::Key_Escape); }), 256);

    CMsg4ButtonDlg closed;
    closed.SetTexts(kTexts);
    EXPECT_EQ(RunWith(closed, [&] { closed.close(); }), 256);
}

TEST(CMsg4ButtonDlg, EnterPressesTheDefaultButton)
{
    struct Case {
        int defaultResult;
        int expected;
    };
    // 257..259 name their buttons; any other value makes the fourth the default.
    for (const Case c : {Case{257, 257}, Case{258, 258}, Case{259, 259}, Case{260, 260}, Case{0, 260}, Case{999, 260}}) {
        CMsg4ButtonDlg dialog;
        dialog.SetTexts(kTexts);
        dialog.SetDefaultButton(c.defaultResult);
        EXPECT_EQ(RunWith(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Return); }), c.expected)
            << "default " << c.defaultResult;
    }
}

TEST(CMsg4ButtonDlg, FillsCaptionMessageAndLabels)
{
    CMsg4ButtonDlg dialog;
    dialog.SetTexts(kTexts);
    dialog.SetSystemIcon(IDI_WARNING);
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Caption"));
    EXPECT_EQ(static_cast<QLabel*>(dialog.FindControl(CMsg4ButtonDlg::kMessageId))->text(), QStringLiteral("Message"));
    EXPECT_EQ(Button(dialog, 0)->text(), QStringLiteral("One"));
    EXPECT_EQ(Button(dialog, 3)->text(), QStringLiteral("Four"));
    EXPECT_FALSE(static_cast<CStaticIcon*>(dialog.FindControl(CMsg4ButtonDlg::kIconId))->icon.isNull());
}

TEST(CMsg4ButtonDlg, ATooShortTextArrayIsIgnoredAndUnsetTextsAreSafe)
{
    CMsg4ButtonDlg dialog;
    dialog.SetTexts(kTexts);
    dialog.SetTexts({"only", "two"});
    EXPECT_EQ(dialog.texts, kTexts);

    CMsg4ButtonDlg bare;
    bare.texts.clear(); // an owner that never set its texts
    bare.OnInitDialog();
    EXPECT_EQ(bare.windowTitle(), QString());
}

TEST(CMsg4ButtonDlg, LongMessagesGrowTheDialogAndMoveTheButtonsDown)
{
    struct Case {
        const char* message;
        int height;
        int buttonY;
        int iconY;
        int messageHeight;
    };
    const Case cases[] = {
        {"one line", 135, 57, 12, 26},
        {"one\ntwo", 135, 57, 12, 26},
        {"one\ntwo\nthree", 148, 70, 18, 39},
        {"1\n2\n3\n4\n5", 174, 96, 31, 65},
    };
    for (const Case& c : cases) {
        CMsg4ButtonDlg dialog;
        std::vector<std::string> texts = kTexts;
        texts[1] = c.message;
        dialog.SetTexts(texts);
        dialog.OnInitDialog();
        EXPECT_EQ(dialog.frameGeometry().size(), QSize(410, c.height)) << c.message;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Button(dialog, i)->geometry(), QRect(12 + 95 * i, c.buttonY, 88, 23)) << c.message;
        }
        EXPECT_EQ(dialog.FindControl(CMsg4ButtonDlg::kIconId)->pos(), QPoint(12, c.iconY)) << c.message;
        EXPECT_EQ(dialog.FindControl(CMsg4ButtonDlg::kMessageId)->geometry(), QRect(68, 14, 322, c.messageHeight))
            << c.message;
    }
}

TEST(QtPromptService, TheInstalledServiceAnswersInsteadOfADialog)
{
    ScriptedPromptService script;
    script.Answer(259);
    script.Answer(IDNO);
    PromptService& prompts = QtPromptService::Current();
    EXPECT_EQ(prompts.AskFourButtons(HWND(), kTexts, IDI_EXCLAMATION, 260), 259);
    EXPECT_EQ(prompts.MessageBox(HWND(), "Delete?", "Zarndesk", MB_YESNO | MB_DEFBUTTON2), IDNO);
    ASSERT_EQ(script.Prompts().size(), 2u);
    EXPECT_TRUE(script.Prompts()[0].fourButtons);
    EXPECT_EQ(script.Prompts()[0].defaultResult, 260);
    EXPECT_EQ(script.Prompts()[1].text, "Delete?");
    EXPECT_EQ(script.Prompts()[1].type, MB_YESNO | MB_DEFBUTTON2);
    EXPECT_EQ(script.Unanswered(), 0);
}

} // namespace
