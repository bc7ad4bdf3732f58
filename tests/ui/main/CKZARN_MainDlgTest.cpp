#include "tests/ui/main/MainDlgRig.h"

#include "core/util/CLangTable.h"
#include "core/util/ZarnProgramMessages.h"
#include "meter/ZarnMeterMessages.h"
#include "platform/SystemFolders.h"
#include "tests/support/ScriptedPromptService.h"
#include "ui/controls/CKZARN_ProfileListCtrl.h"
#include "ui/controls/ProgramIcon.h"
#include "ui/main/ProgramMessageServer.h"
#include "ui/main/ZarnMainMessages.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <map>
#include <set>
#include <string>

namespace {

using Dlg = CKZARN_MainDlg;

CZarnManager* Facade()
{
    return CZarnManager::CreateInstance(nullptr);
}

// Opens every popup as the user would and collects the enabled state of every item.
std::map<UINT, bool> MenuState(CKZARN_MainDlg& dialog)
{
    std::map<UINT, bool> state;
    for (int i = 0; i < 4; ++i) {
        QMenu* popup = dialog.GetSubMenu(i);
        emit popup->aboutToShow();
        for (QAction* action : popup->actions()) {
            if (!action->isSeparator()) state[action->data().toUInt()] = action->isEnabled();
        }
    }
    return state;
}

const std::set<UINT> kMeterItems = {Dlg::ID_BACKUP_RECEIVE, Dlg::ID_BACKUP_SEND, Dlg::ID_METER_RESET};
const std::set<UINT> kEditItems = {Dlg::ID_EDIT_COPY, Dlg::ID_EDIT_CUT, Dlg::ID_EDIT_PASTE};

struct MeterCase {
    const char* name;
    std::function<void(MainDlgRig&)> attach;
    bool connected;
};

class MainDlgMenuTest : public ::testing::TestWithParam<MeterCase> {};

// The menu's items over each kind of meter: the meter items follow the connection, TX follows the
// profile page, the Edit items the current page, and everything else is always offered. While a
// child program has the meter, no meter command is offered.
TEST_P(MainDlgMenuTest, ItemsFollowTheMeterThePagesAndSuspension)
{
    const MeterCase& c = GetParam();
    MainDlgRig rig;
    rig.journal.canTransmit = true;
    c.attach(rig);
    rig.Start();
    rig.Round();

    std::map<UINT, bool> state = MenuState(*rig.dialog);
    ASSERT_EQ(state.size(), 20u);
    for (const auto& [id, enabled] : state) {
        SCOPED_TRACE(id);
        if (kMeterItems.count(id)) {
            EXPECT_EQ(enabled, c.connected);
        } else if (kEditItems.count(id)) {
            EXPECT_FALSE(enabled);
        } else {
            EXPECT_TRUE(enabled);
        }
    }

    rig.dialog->OnExternalProgramStarting("/opt/Zarnflash", "/Zarn 1");
    state = MenuState(*rig.dialog);
    EXPECT_FALSE(state[Dlg::ID_PROFILE_TX]);
    for (UINT id : kMeterItems) EXPECT_FALSE(state[id]) << id;
    EXPECT_TRUE(state[Dlg::ID_BACKUP_VIEW]);
    EXPECT_TRUE(state[Dlg::ID_INITIAL_LEVELS]);

    // The downloader reports back: polling resumes and the meter commands come back.
    QtMessageSink::Instance().SendMessage(rig.dialog->GetSafeHwnd(), WM_ZARN_FLASH_FINISHED, 0, 0);
    state = MenuState(*rig.dialog);
    EXPECT_TRUE(state[Dlg::ID_PROFILE_TX]);
    for (UINT id : kMeterItems) EXPECT_EQ(state[id], c.connected) << id;
}

INSTANTIATE_TEST_SUITE_P(
    Meters, MainDlgMenuTest,
    ::testing::Values(MeterCase{"none", [](MainDlgRig&) {}, false},
                      MeterCase{"T310", [](MainDlgRig& rig) { rig.AddT310(); }, true},
                      MeterCase{"T140", [](MainDlgRig& rig) { rig.AddT140(); }, true},
                      MeterCase{"T520D", [](MainDlgRig& rig) { rig.AddT520(); }, true}),
    [](const ::testing::TestParamInfo<MeterCase>& param) { return std::string(param.param.name); });

TEST(MainDlgTest, EditItemsFollowTheCurrentPage)
{
    MainDlgRig rig;
    rig.journal.canCopy = true;
    rig.journal.canPaste = true;
    rig.Start();
    // Every page answers alike here, so only the page switch decides; the base pages say no.
    std::map<UINT, bool> state = MenuState(*rig.dialog);
    EXPECT_TRUE(state[Dlg::ID_EDIT_COPY]);
    EXPECT_FALSE(state[Dlg::ID_EDIT_CUT]);
    EXPECT_TRUE(state[Dlg::ID_EDIT_PASTE]);

    rig.dialog->TabControl()->setCurrentIndex(2);
    EXPECT_EQ(rig.dialog->CurrentForm(), rig.dialog->UserSettingForm());
    rig.dialog->ShowForm(7); // not a page: nothing changes
    EXPECT_EQ(rig.dialog->CurrentForm(), rig.dialog->UserSettingForm());
    rig.dialog->OnCommand(Dlg::ID_EDIT_CUT);
    EXPECT_EQ(rig.journal.Count("user:cut"), 1);
}

// The accelerators, pressed in a control of each page, run the profile page's commands (or the
// Edit commands) once each, whatever page is current; a key whose item is disabled does nothing.
TEST(MainDlgTest, AcceleratorsReachTheProfileCommandsFromEveryPage)
{
    MainDlgRig rig;
    rig.Start();
    const struct {
        Qt::Key key;
        const char* call; // null: nothing may happen
        bool canTransmit;
    } cases[] = {
        {Qt::Key_N, "profile:new", false}, {Qt::Key_R, "profile:ref", false}, {Qt::Key_E, "profile:edit", false},
        {Qt::Key_T, "profile:tx", true},   {Qt::Key_T, nullptr, false},        {Qt::Key_X, nullptr, false},
    };
    for (int page = 0; page < 4; ++page) {
        rig.dialog->TabControl()->setCurrentIndex(page);
        auto* edit = new QLineEdit(rig.dialog->CurrentForm());
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(page) + " " + QKeySequence(c.key).toString().toStdString());
            rig.journal.calls.clear();
            rig.journal.canTransmit = c.canTransmit;
            QTest::keyClick(edit, c.key, Qt::ControlModifier);
            if (c.call != nullptr) {
                EXPECT_EQ(rig.journal.calls, std::vector<std::string>{c.call});
            } else {
                EXPECT_TRUE(rig.journal.calls.empty());
            }
        }
    }
}

TEST(MainDlgTest, CopyAndPasteGoToTheFocusedControlOnlyWhenThePageAllows)
{
    MainDlgRig rig;
    rig.Start();
    rig.dialog->show();
    rig.dialog->activateWindow();
    auto* edit = new QLineEdit(rig.dialog->CurrentForm());
    edit->setText("abc");
    edit->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.dialog.get()));
    edit->setFocus();
    edit->selectAll();
    ASSERT_EQ(QApplication::focusWidget(), edit);

    QApplication::clipboard()->setText("before");
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier); // the page does not allow it
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    rig.journal.canCopy = true;
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "abc");
}

TEST(MainDlgTest, EscAndEnterCloseNothing)
{
    MainDlgRig rig;
    rig.Start();
    rig.dialog->show();
    for (int page = 0; page < 4; ++page) {
        rig.dialog->TabControl()->setCurrentIndex(page);
        auto* edit = new QLineEdit(rig.dialog->CurrentForm());
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(edit, key);
            QTest::keyClick(rig.dialog.get(), key);
        }
    }
    EXPECT_TRUE(rig.dialog->isVisible());
    EXPECT_FALSE(rig.dialog->IsDestroyed());
}

// Closing goes through the splash, whose end destroys the window and ends the meter facade;
// without a splash the window closes at once. The pages are told nothing on an ordinary close.
TEST(MainDlgTest, ClosingGoesThroughTheSplashOrAtOnceWithoutOne)
{
    for (bool available : {true, false}) {
        for (bool throughMenu : {false, true}) {
            SCOPED_TRACE(std::string(available ? "splash" : "no splash") + (throughMenu ? ", Exit" : ", close box"));
            MainDlgRig rig;
            SplashStandIn splash(available);
            rig.dialog->SetSplashHook(&splash);
            rig.Start();
            EXPECT_EQ(splash.startShown, 1);
            rig.dialog->show();

            if (throughMenu) {
                rig.dialog->FindMenuItem(Dlg::ID_APP_EXIT)->trigger();
            } else {
                rig.dialog->close();
            }
            EXPECT_EQ(splash.closingShown, 1);
            EXPECT_EQ(rig.dialog->IsDestroyed(), !available);
            if (available) {
                EXPECT_TRUE(rig.dialog->isVisible());
                EXPECT_NE(Facade(), nullptr);
                EXPECT_EQ(splash.shownOver, rig.dialog.get());
                splash.End();
            }
            EXPECT_TRUE(rig.dialog->IsDestroyed());
            EXPECT_FALSE(rig.dialog->isVisible());
            EXPECT_EQ(Facade(), nullptr);
            EXPECT_EQ(rig.dialog->ProfileForm(), nullptr);
            EXPECT_EQ(rig.journal.Count("profile:closing"), 0);
        }
    }
}

TEST(MainDlgTest, WithoutSplashHookClosingIsImmediate)
{
    MainDlgRig rig;
    rig.Start();
    rig.dialog->OnClose();
    EXPECT_TRUE(rig.dialog->IsDestroyed());
    EXPECT_EQ(Facade(), nullptr);
}

// A quit request from another program tells every page, closes the window without the splash and
// ends the meter facade, and leaves the rest of the shut-down to the caller of the modal run
// (the process is not ended from inside the handler).
TEST(MainDlgTest, QuitRequestOverTheSocketClosesAtOnceAfterTellingThePages)
{
    MainDlgRig rig;
    SplashStandIn splash(true);
    rig.dialog->SetSplashHook(&splash);
    rig.Start();
    rig.dialog->show();
    rig.journal.calls.clear();

    ASSERT_TRUE(ProgramMessageServer::Send(std::to_string(rig.dialog->GetProgramNumber()), WM_ZARN_QUIT_REQUEST, 0, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.dialog->IsDestroyed(); }, 5000));
    EXPECT_EQ(rig.dialog->CloseFlag(), 0);
    EXPECT_EQ(splash.closingShown, 0);
    EXPECT_EQ(rig.journal.calls, (std::vector<std::string>{"profile:closing", "custom:closing", "user:closing",
                                                           "update:closing"}));
    EXPECT_EQ(Facade(), nullptr);
    EXPECT_FALSE(rig.dialog->isVisible());
}

// A quit request while a modal dialog runs over the window (a meter command under its progress
// dialog, say) waits until that dialog has gone, so that its caller finishes first.
TEST(MainDlgTest, QuitRequestWaitsForAModalDialog)
{
    MainDlgRig rig;
    rig.Start();
    rig.dialog->show();
    auto* modal = new QDialog(rig.dialog.get());
    modal->setWindowModality(Qt::ApplicationModal);
    modal->show();
    ASSERT_EQ(QApplication::activeModalWidget(), modal);

    QtMessageSink::Instance().PostMessage(rig.dialog->GetSafeHwnd(), WM_ZARN_QUIT_REQUEST, 0, 0);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(rig.dialog->IsDestroyed());
    EXPECT_NE(Facade(), nullptr);

    delete modal;
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.dialog->IsDestroyed(); }, 5000));
    EXPECT_EQ(rig.journal.Count("update:closing"), 1);
    EXPECT_EQ(Facade(), nullptr);
}

// Only the downloader's and the updater's messages come through the socket; anything else, or a
// spoilt frame, ends that connection without a message.
TEST(MainDlgTest, SocketPassesOnlyTheMessagesBetweenPrograms)
{
    MainDlgRig rig;
    rig.Start();
    const std::string number = std::to_string(rig.dialog->GetProgramNumber());
    ASSERT_TRUE(ProgramMessageServer::Send(number, WM_ZARN_T140_CONNECTION, 1, 0));
    rig.dialog->OnExternalProgramStarting("/opt/Zarnflash", "");
    ASSERT_TRUE(ProgramMessageServer::Send(number, WM_ZARN_FLASH_FINISHED, 0, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Facade()->IsSuspended() == 0; }, 5000));
    EXPECT_EQ(Facade()->GetT140State(), 0);
    EXPECT_EQ(rig.journal.Count("profile:ended 0 0"), 1);
    EXPECT_EQ(rig.journal.Count("update:ended 0 0"), 1);
    EXPECT_FALSE(ProgramMessageServer::Send("12x", WM_ZARN_QUIT_REQUEST, 0, 0));
    EXPECT_FALSE(rig.dialog->IsDestroyed());
}

// Connection messages reach the facade and the pages in order, unless a child program has the
// meter; identity messages refresh the facade and tell every page. The profile page says which
// meter is connected, or that none is.
TEST(MainDlgTest, ConnectionAndIdentityMessagesFollowTheMeter)
{
    MainDlgRig rig;
    rig.Start();
    CKZARN_ProfileListCtrl* meterList = rig.dialog->ProfileForm()->MeterList();
    EXPECT_EQ(meterList->GetItemCount(), 0);

    rig.journal.calls.clear();
    rig.AddT140();
    rig.Round();
    EXPECT_EQ(Facade()->GetT140State(), 1);
    // The profile page reads the meter's names under the progress dialog; the identity notices that
    // read brings reach every page meanwhile.
    std::vector<std::string> connectionCalls;
    for (const std::string& call : rig.journal.calls) {
        if (call.find(":info") == std::string::npos) connectionCalls.push_back(call);
    }
    EXPECT_EQ(connectionCalls, (std::vector<std::string>{"profile:meter list", "custom:refresh 1", "user:refresh 1",
                                                         "update:connection 1"}));
    EXPECT_EQ(meterList->GetItemCount(), 10);
    EXPECT_EQ(rig.dialog->ProfileForm()->SendList()->GetItemCount(), 10);

    rig.journal.calls.clear();
    EXPECT_EQ(QtMessageSink::Instance().SendMessage(rig.dialog->GetSafeHwnd(), WM_ZARN_T140_INFO, 1, 0), 1);
    EXPECT_EQ(rig.journal.calls,
              (std::vector<std::string>{"profile:info", "custom:info", "user:info", "update:info"}));

    rig.dialog->OnExternalProgramStarting("/opt/Zarnflash", "/Zarn 7");
    EXPECT_EQ(rig.journal.Count("update:starting /opt/Zarnflash /Zarn 7"), 1);
    rig.journal.calls.clear();
    QtMessageSink::Instance().SendMessage(rig.dialog->GetSafeHwnd(), WM_ZARN_T140_CONNECTION, 0, 0);
    EXPECT_EQ(Facade()->GetT140State(), 1);
    EXPECT_TRUE(rig.journal.calls.empty());

    rig.dialog->OnExternalProgramEnded(42, 0);
    EXPECT_EQ(Facade()->GetT140State(), 0);
    EXPECT_EQ(Facade()->IsSuspended(), 0);
    EXPECT_EQ(rig.journal.Count("custom:ended 42 0"), 1);
    EXPECT_EQ(meterList->GetItemCount(), 0);
    EXPECT_EQ(rig.dialog->ProfileForm()->SendList()->GetItemCount(), 0);
}

TEST(MainDlgTest, OtherMessagesOfTheMainWindow)
{
    MainDlgRig rig;
    rig.Start();
    ScriptedPromptService prompts;
    prompts.Answer(IDOK);
    const HWND window = rig.dialog->GetSafeHwnd();
    EXPECT_EQ(QtMessageSink::Instance().SendMessage(window, WM_ZARN_MULTIPLE_METERS, 0, 0), 1);
    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_EQ(prompts.Prompts()[0].text, GetLangString(7027));
    EXPECT_EQ(prompts.Prompts()[0].type, MB_OK | MB_ICONEXCLAMATION);

    rig.journal.calls.clear();
    QtMessageSink::Instance().SendMessage(window, WM_ZARN_PROFILES_CHANGED, 0, 0);
    QtMessageSink::Instance().SendMessage(window, WM_ZARN_UPDATE_LIST_READY, 3, 4);
    EXPECT_EQ(rig.journal.calls, (std::vector<std::string>{"profile:pc list", "update:list"}));

    rig.dialog->FindMenuItem(Dlg::ID_APP_ABOUT)->trigger();
    EXPECT_EQ(rig.journal.Count("main:about"), 1);
}

TEST(MainDlgTest, WindowLayoutMenuTextsAndTabs)
{
    MainDlgRig rig;
    rig.Start();
    EXPECT_EQ(rig.dialog->windowTitle().toStdString(), GetLangString(1000));
    QTabWidget* tab = rig.dialog->TabControl();
    EXPECT_EQ(tab->geometry(), QRect(5, 5, 545, 620));
    ASSERT_EQ(tab->count(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(tab->tabText(i).toStdString(), GetLangString(1018 + i));
    EXPECT_EQ(tab->widget(0), rig.dialog->ProfileForm());
    EXPECT_EQ(tab->widget(3), rig.dialog->UpdateForm());
    EXPECT_EQ(rig.dialog->CurrentForm(), rig.dialog->ProfileForm());
    EXPECT_EQ(rig.dialog->GetSubMenu(2)->title().toStdString(), GetLangString(1102));
    EXPECT_EQ(rig.dialog->FindMenuItem(Dlg::ID_PROFILE_DELETE)->text().toStdString(), GetLangString(1200));
}

} // namespace

TEST(MainDlgTest, WindowAndApplicationCarryTheProgramIcon)
{
    SystemFolders::SetProgramFolderOverride(ZARN_SOURCE_DIR "/data");
    QApplication::setWindowIcon(QIcon());
    const QImage expected = ProgramIcon::Load("Zarndesk").pixmap(32, 32).toImage();
    ASSERT_FALSE(expected.isNull());
    {
        MainDlgRig rig;
        EXPECT_EQ(rig.dialog->windowIcon().pixmap(32, 32).toImage(), expected);
        EXPECT_EQ(QApplication::windowIcon().pixmap(32, 32).toImage(), expected);
    }
    QApplication::setWindowIcon(QIcon());
    SystemFolders::SetProgramFolderOverride("");
}
