#include "core/CKestrinZarnApp.h"

#include "core/CSplashWnd.h"
#include "core/util/CIniFile.h"
#include "core/util/CLangTable.h"
#include "platform/qt/InstanceActivationChannel.h"
#include "tests/core/AppTestFolders.h"
#include "tests/core/FakeAppParts.h"
#include "tests/support/ScriptedPromptService.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <future>
#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;

// Runs the event loop until the condition holds (at most 10 s); the events it waits for come
// from sockets and other threads.
template <typename Condition>
bool ProcessEventsUntil(Condition condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    return condition();
}

// Starts programs in name only: the pid to give, and a wait that lasts until released.
class FakeStarter final : public ProcessStarter {
public:
    pid_t Start(const std::string&, const std::string&) override { return pid; }
    pid_t StartArgs(const std::string&, const std::vector<std::string>& arguments) override
    {
        lists.push_back(arguments);
        return pid;
    }
    int Wait(pid_t) override
    {
        release.get_future().wait();
        return 0;
    }
    void Release(pid_t) override {}

    pid_t pid = 4242;
    std::promise<void> release;
    std::vector<std::vector<std::string>> lists; // argument lists, in start order
};

class CKestrinZarnAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folders_.WriteTexts("01000\tZarndesk\r\n10014\tAlready running.\r\n");
        AppTestFolders::Write(folders_.Program() + "/KZARN.ini",
                              "[Level]\nCPM=10\nDRM=30\nDRP=200\nCPP=250\nCNT=100\n");
        CLangTable::Free();
    }
    void TearDown() override
    {
        CLangTable::Free();
        CSplashWnd::EnableSplashScreen(FALSE, FALSE);
    }

    AppTestFolders folders_;
    FakeAppParts parts_;
    FakeStarter starter_;
};

TEST_F(CKestrinZarnAppTest, StartsUpAndShutsDownInOrder)
{
    AppTestFolders::Write(folders_.UserFile(), "[Level]\nCPM=15\n[Wizard]\nTarget=2\nExtra=kept\n");
    CKestrinZarnApp app(&parts_, &starter_, folders_.InstanceName());

    parts_.duringModal = [&] {
        EXPECT_EQ(GetLangString(1000), "Zarndesk");
        EXPECT_EQ(app.Settings().programCPM, 10);
        EXPECT_EQ(app.Settings().userCPM, 15);
        EXPECT_EQ(app.Settings().userDRM, 30) << "user levels not in the file come from the program file";
        EXPECT_EQ(app.Settings().Target, 2);
        EXPECT_TRUE(app.InstanceLock().IsOwned());
        EXPECT_TRUE(CSplashWnd::IsEnabled());
        ASSERT_NE(app.GetMainWindow(), nullptr);
        SingleInstanceLock other(folders_.InstanceName());
        EXPECT_EQ(other.Acquire(), SingleInstanceLock::Result::AlreadyRunning);
        app.Settings().Target = 5;
        app.Settings().userCNT = 120;
    };
    parts_.onDestroyFacade = [&] {
        EXPECT_EQ(app.GetMainWindow(), nullptr) << "the main window is gone before the facade ends";
        EXPECT_EQ(GetLangString(1000), "Zarndesk") << "texts are freed after the facade";
        EXPECT_TRUE(app.InstanceLock().IsOwned());
        EXPECT_EQ(AppTestFolders::Read(folders_.UserFile()).find("Target=5"), std::string::npos)
            << "the user file is written after the facade has ended";
    };

    EXPECT_EQ(app.Run({}), 0);

    EXPECT_EQ(parts_.log, (Log{"create window", "modal", "destroy facade"}));
    EXPECT_EQ(GetLangString(1000), "");
    EXPECT_FALSE(app.InstanceLock().IsOwned());
    SingleInstanceLock next(folders_.InstanceName());
    EXPECT_EQ(next.Acquire(), SingleInstanceLock::Result::Owned) << "the lock is free for the next instance";

    CIniFile user;
    ASSERT_TRUE(user.Load(folders_.UserFile()));
    EXPECT_EQ(user.GetInt("Wizard", "Target", -1), 5);
    EXPECT_EQ(user.GetInt("Level", "CNT", -1), 120);
    EXPECT_EQ(user.GetInt("Level", "DRM", -1), 30);
    EXPECT_EQ(user.GetString("Wizard", "Extra", ""), "kept");
    EXPECT_EQ(app.GetGuidePath(), folders_.Program() + "/Zarndesk_Guide.pdf");
    EXPECT_EQ(app.GetTextFilePath(), folders_.Program() + "/String.txt");
}

TEST_F(CKestrinZarnAppTest, SecondInstanceShowsTheMessageAsksTheFirstToComeForwardAndLeavesTheUserFile)
{
    SingleInstanceLock first(folders_.InstanceName());
    ASSERT_EQ(first.Acquire(), SingleInstanceLock::Result::Owned);
    int requests = 0;
    InstanceActivationChannel channel([&] { ++requests; });
    ASSERT_TRUE(channel.Listen(first.SocketPath()));
    // A level set that loading would repair: a rewrite would show.
    const std::string userText = "[Level]\r\nCPM=999\r\n";
    AppTestFolders::Write(folders_.UserFile(), userText);

    ScriptedPromptService prompts;
    prompts.Answer(IDOK);
    CKestrinZarnApp app(&parts_, &starter_, folders_.InstanceName());
    EXPECT_EQ(app.Run({}), 0);

    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_EQ(prompts.Prompts()[0].text, "Already running.");
    EXPECT_EQ(prompts.Prompts()[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
    EXPECT_TRUE(ProcessEventsUntil([&] { return requests == 1; }));
    EXPECT_EQ(parts_.log, (Log{"destroy facade"})) << "no main window; shut-down still runs";
    EXPECT_EQ(AppTestFolders::Read(folders_.UserFile()), userText);
    EXPECT_TRUE(first.IsOwned());
}

TEST_F(CKestrinZarnAppTest, SecondInstanceWithoutAnAnsweringFirstOnlyShowsTheMessage)
{
    SingleInstanceLock first(folders_.InstanceName());
    ASSERT_EQ(first.Acquire(), SingleInstanceLock::Result::Owned);
    folders_.WriteTexts(""); // without texts the message is empty, and still shown
    ScriptedPromptService prompts;
    CKestrinZarnApp app(&parts_, &starter_, folders_.InstanceName());
    EXPECT_EQ(app.Run({}), 0);
    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_EQ(prompts.Prompts()[0].text, "");
}

TEST_F(CKestrinZarnAppTest, RunningInstanceRestoresAndRaisesItsWindowOnRequest)
{
    CKestrinZarnApp app(&parts_, &starter_, folders_.InstanceName());
    int raised = 0;
    app.SetRaiseObserver([&] { ++raised; });
    parts_.duringModal = [&] {
        QWidget* window = app.GetMainWindow()->Widget();
        window->show();
        window->showMinimized();
        ASSERT_TRUE(window->isMinimized());
        ASSERT_TRUE(InstanceActivationChannel::RequestActivation(app.InstanceLock().SocketPath(), 3000));
        EXPECT_TRUE(ProcessEventsUntil([&] { return raised == 1; }));
        EXPECT_FALSE(window->isMinimized());
        window->hide();
    };
    app.Run({});
    EXPECT_EQ(raised, 1);
}

TEST_F(CKestrinZarnAppTest, LockThatCannotBeMadeEndsSilentlyWithoutWritingTheUserFile)
{
    ScriptedPromptService prompts;
    CKestrinZarnApp app(&parts_, &starter_, "no-such-folder/instance");
    EXPECT_EQ(app.Run({}), 0);
    EXPECT_TRUE(prompts.Prompts().empty());
    EXPECT_EQ(parts_.log, (Log{"destroy facade"}));
    EXPECT_FALSE(std::filesystem::exists(folders_.UserFile()));
}

TEST_F(CKestrinZarnAppTest, EmbeddingOrAutomationSwitchTurnsTheSplashOff)
{
    const struct {
        std::vector<std::string> arguments;
        bool splash;
    } cases[] = {
        {{}, true},
        {{"/Embedding"}, false},
        {{"-embedding"}, false},
        {{"/AUTOMATION"}, false},
        {{"--Automation"}, false},
        {{"Embedding"}, true},
        {{"/Embed"}, true},
        {{"/x", "/Automation"}, false},
        {{"/"}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CKestrinZarnApp::ShowSplashFromArguments(c.arguments), c.splash)
            << (c.arguments.empty() ? "" : c.arguments.back());
    }
    CKestrinZarnApp app(&parts_, &starter_, folders_.InstanceName());
    parts_.duringModal = [] { EXPECT_FALSE(CSplashWnd::IsEnabled()); };
    app.Run({"/Embedding"});
}

TEST_F(CKestrinZarnAppTest, LaunchesTellStartedRefusedAndFailedApart)
{
    CKestrinZarnApp app(&parts_, &starter_, folders_.InstanceName());
    EXPECT_EQ(app.LaunchProgram("/bin/updater", ""), FALSE) << "no main window";
    EXPECT_EQ(app.LaunchProgramNotify("/bin/flash", ""), 0) << "no main window";

    parts_.duringModal = [&] {
        auto* window = static_cast<FakeMainWindow*>(app.GetMainWindow());
        parts_.log.clear();

        starter_.pid = 4242;
        EXPECT_EQ(app.LaunchProgram("/bin/updater", "-x"), TRUE);
        EXPECT_EQ(parts_.log, (Log{"starting /bin/updater", "ended"}));

        parts_.log.clear();
        starter_.pid = -1;
        EXPECT_EQ(app.LaunchProgram("/bin/missing", ""), CKestrinZarnApp::kLaunchFailed);
        EXPECT_EQ(parts_.log, (Log{"starting /bin/missing", "ended"})) << "polling resumes after a failed start";

        // A waited-for program holds the launcher: a launch meanwhile is refused, starts nothing, and
        // leaves polling to the end notice of the program that runs.
        parts_.log.clear();
        starter_.pid = 4243;
        EXPECT_EQ(app.LaunchProgramNotify("/bin/flash", "/Zarn 7"), 1);
        EXPECT_EQ(app.LaunchProgram("/bin/updater", ""), FALSE);
        EXPECT_EQ(parts_.log, (Log{"starting /bin/flash", "starting /bin/updater"}));

        starter_.release.set_value();
        EXPECT_TRUE(ProcessEventsUntil([&] { return parts_.log.size() == 3; }));
        EXPECT_EQ(parts_.log.back(), "ended");
        EXPECT_EQ(window->lastEndedWParam, reinterpret_cast<WPARAM>(&app.Launcher()));
        EXPECT_FALSE(app.Launcher().IsBusy()) << "the end notice collects the wait thread";
    };
    app.Run({});
}

TEST_F(CKestrinZarnAppTest, ArgumentListsReachTheStarterUnsplit)
{
    CKestrinZarnApp app(&parts_, &starter_, folders_.InstanceName());
    const std::vector<std::string> updater{"/Ver", "2.0 beta", "/Zarn", "7", "/Lang", ""};
    const std::vector<std::string> flash{"/Zarn", "7", "/Type", "T-310D_DR", "/RFAppVer", "", "/Date", "---"};
    parts_.duringModal = [&] {
        parts_.log.clear();
        EXPECT_EQ(app.LaunchProgram("/bin/updater", updater), TRUE);
        starter_.pid = -1;
        EXPECT_EQ(app.LaunchProgram("/bin/missing", updater), CKestrinZarnApp::kLaunchFailed);
        starter_.pid = 4243;
        EXPECT_EQ(app.LaunchProgramNotify("/bin/flash", flash), 1);
        starter_.release.set_value();
        EXPECT_TRUE(ProcessEventsUntil([&] { return !app.Launcher().IsBusy(); }));
        EXPECT_EQ(parts_.log, (Log{"starting /bin/updater", "ended", "starting /bin/missing", "ended",
                                   "starting /bin/flash", "ended"}));
    };
    app.Run({});
    EXPECT_EQ(starter_.lists, (std::vector<std::vector<std::string>>{updater, updater, flash}));
}

TEST_F(CKestrinZarnAppTest, EndNoticeAfterTheMainWindowIsGoneOnlyCollectsTheWaitThread)
{
    CKestrinZarnApp app(&parts_, &starter_, folders_.InstanceName());
    parts_.duringModal = [&] { EXPECT_EQ(app.LaunchProgramNotify("/bin/flash", ""), 1); };
    app.InitInstance({});
    ASSERT_TRUE(app.Launcher().IsBusy());
    starter_.release.set_value();
    EXPECT_TRUE(ProcessEventsUntil([&] { return !app.Launcher().IsBusy(); }));
    EXPECT_EQ(parts_.log, (Log{"create window", "modal", "starting /bin/flash"}));
    app.ExitInstance();
}

} // namespace
