// A launched T-310 update over the real serial link code against the simulated meter behind a
// pseudo-terminal: the dialog's download and transfer chain, the revision read back, the caller told.
#include "tests/flash/FlashT310Links.h"
#include "tests/flash/FlashTestKit.h"

#include "core/util/CRegistryHelper.h"
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

class FlashT310 : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(rig.IsReady()); }

    SimT310Rig rig{true};
    T310Links links{rig};
    ScratchFolder scratch;
};

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
