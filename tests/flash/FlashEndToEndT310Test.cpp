// The T-310 firmware player and a launched T-310 update over the real serial link code against the
// simulated meter behind a pseudo-terminal.
#include "tests/flash/FlashTestKit.h"
#include "tests/support/SimT310Rig.h"

#include "core/util/CRegistryHelper.h"
#include "flash/CZarnflashPlayer.h"
#include "flash/CZarnflashSerialLink.h"
#include "flash/ZarnflashCommandLine.h"
#include "flash/ui/CZarnflashDlg.h"
#include "platform/RegistryTypes.h"
#include "platform/SystemFolders.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScratchFolder.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr FlashPlayerForm kMainT310{6, "P0000F", 0x20000000, 0x20000001, 0x20000002,
                                    FlashPlayerForm::Kind::MainSerial};

class T310Links final : public MeterLinkFactory {
public:
    explicit T310Links(SimT310Rig& rig) : rig_(rig) {}
    std::unique_ptr<CCommT310> CreateT310() override
    {
        return std::make_unique<CCommT310>(rig_.System(), UsbSerialPortFinder(rig_.Sysfs().Root()), rig_.DeviceDir());
    }
    std::unique_ptr<CCommT140> CreateT140() override { return std::make_unique<CCommT140>(hid_); }
    std::unique_ptr<CCommT520> CreateT520() override { return std::make_unique<CCommT520>(hid_); }

private:
    SimT310Rig& rig_;
    SimHidDeviceSystem hid_;
};

class FlashT310 : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(rig.IsReady()); }
    int Play(const std::vector<std::string>& lines)
    {
        WriteFlashFile(scratch.File("QK850210.dlf"), lines);
        CZarnflashSerialLink link(links.CreateT310());
        CZarnflashPlayer player(kMainT310, link, target, rig.Clock());
        return player.Run(scratch.File("QK850210.dlf"), "");
    }

    SimT310Rig rig{true};
    T310Links links{rig};
    ScratchFolder scratch;
    RecordingFlashTarget target;
};

TEST_F(FlashT310, ScriptIsWrittenWithItsProgress)
{
    const auto lines = FlashScriptLines("P0000F", 3);
    EXPECT_EQ(0, Play(lines));
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end() - 1), rig.FlashMode()->Memory("P0000F"));
    const auto log = rig.Meter().Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ("H00000", log.back());
    const auto progress = target.Progress();
    ASSERT_GE(progress.size(), 3u);
    EXPECT_EQ(std::make_pair(100u, 0u), progress[0]);
    EXPECT_EQ(std::make_pair(7u, 1u), progress[1]); // after reading: range lines + 1, position 1
    EXPECT_EQ(std::make_pair(7u, 7u), progress.back());
    EXPECT_EQ(WM_UPDATE_JOB_DONE, target.Last().message);
}

TEST_F(FlashT310, SilentEntryIsAFailureWithTwoLeaveCommands)
{
    rig.Meter().ResetExchangeCount();
    // Exchange 0 is the "[" handshake; 1 the entry command.
    rig.Meter().InjectFault({MeterFaultKind::NoReply, 1, 0});
    EXPECT_EQ(0x20000002, Play(FlashScriptLines("P0000F", 1)));
    const auto log = rig.Meter().Log();
    EXPECT_EQ(2, std::count(log.begin(), log.end(), std::string("H00000")));
    EXPECT_TRUE(rig.FlashMode()->Memory("P0000F").empty());
}

TEST_F(FlashT310, LaunchedUpdateOfAT310)
{
    ::setenv("ZARN_REGISTRY_FILE", (scratch.Path() + "/registry.reg").c_str(), 1);
    SystemFolders::SetLocalAppDataOverride(scratch.Path() + "/local");
    LoopbackHttpServer server;
    {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
        registry.PushKey("SOFTWARE\\KESTRIN\\Zarndesk\\Download Setting");
        registry.SetString("Base Url", server.BaseUrl());
        registry.SetString("Version Confirm Url", "ver/version.txt");
        registry.SetString("Download List Url", "ver/list.txt");
        registry.SetString("Download List Firm Url", "ver/%s/list.txt");
    }
    std::string script;
    for (const std::string& line : FlashScriptLines("P0000F", 4)) script += line + "\r\n";
    LoopbackHttpServer::Route file;
    file.body = script;
    server.SetRoute("/files/QK850210.dlf", file);
    LoopbackHttpServer::Route list;
    list.body = "[URL]\nfiles\n[Files]\n1,QK850210.dlf\n[Status]\nNormal\n";
    server.SetRoute("/ver/firmware/T-310D_DR/21/list.txt", list);
    rig.FlashMode()->SetOnCommit([this](const std::string&, const std::vector<std::string>&) {
        rig.Mode().SetRevision("21");
    });

    CZarnflashDlg dialog(SplitArguments({"Zarnflash", " /Zarn ", "99", " /Type ", "T-310D_DR", " /Ver ", "21",
                                         " /Date ", "20240102"}));
    dialog.SetEnvironment(&links, &rig.Clock());
    dialog.Worker().SetHttpTimeouts(5000, 5000);
    dialog.OnInitDialog();
    EXPECT_EQ("T-310D/DR", dialog.ModelName());
    EXPECT_EQ("15", dialog.MeterRevision());
    while (dialog.UiState() != kUiFinished && dialog.Worker().IsRunning()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    EXPECT_EQ(0, dialog.ResultCode());
    EXPECT_EQ(4u, rig.FlashMode()->Memory("P0000F").size());

    CZarnflashSerialLink readBack(links.CreateT310());
    ASSERT_TRUE(readBack.Open("", nullptr));
    std::string revision;
    readBack.Link().GetRevision(&revision, nullptr);
    readBack.Close();
    EXPECT_EQ("21", revision);
    std::vector<std::string> told;
    dialog.SetOwnerMessenger([&told](const std::string& owner, UINT, WPARAM, LPARAM) { told.push_back(owner); });
    dialog.OnCancelButton();
    EXPECT_EQ(std::vector<std::string>{"99"}, told);
    SystemFolders::SetLocalAppDataOverride("");
    ::unsetenv("ZARN_REGISTRY_FILE");
}

} // namespace
