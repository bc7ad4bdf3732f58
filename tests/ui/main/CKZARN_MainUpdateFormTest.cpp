// The update page and its dialog: version texts, button enabling, the automatic notice, busy and
// idle, the child programs' argument lists, and the page against a loopback update server.
// The simulator's headers come before any Qt header: one of their members is named like a Qt keyword.
#include "tests/support/SimRegisterMemory.h"
#include "tests/support/SimRegisterMeter.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/ui/meter/FacadeRig.h"
#include "tests/ui/meter/OfflineFacade.h"

#include "core/CKestrinZarnApp.h"
#include "core/util/CLangTable.h"
#include "meter/CCommT520.h"
#include "tests/support/ScriptedPromptService.h"
#include "ui/main/CKZARN_MainUpdateForm.h"
#include "core/util/UpdateCommandLine.h"
#include "ui/main/CKZARN_MainUpdateImplDialog.h"

#include <QLineEdit>
#include <QPushButton>

#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace {

constexpr const char* kBaseKey = "SOFTWARE\\KESTRIN\\Zarndesk";

using Args = std::vector<std::string>;

// A facade on a worker that never starts: identity and update records are handed in.
struct QuietFacade : OfflineFacade {
    void SetMeter(const std::string& model, const std::string& revision, const std::string& versionB = "")
    {
        facade->GetLMCtrl()->SetMeterInfo5(MeterFamilyT140, revision, "", versionB, "2024/03/15", model, 1, 1);
        facade->RefreshMeterInfo();
    }
    void SetRecords(const std::vector<std::pair<std::string, std::string>>& records)
    {
        std::vector<ZarnUpdateRecord> list;
        for (const auto& [key, version] : records) {
            ZarnUpdateRecord r;
            r.SetKey(key);
            r.SetVersion(version);
            r.SetDate("20240501");
            list.push_back(r);
        }
        facade->GetLMCtrl()->SetUpdateList(list, HWND());
        facade->UpdateVersionList();
    }
    static void SetString(const std::string& name, const std::string& value)
    {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
        registry.PushKey(kBaseKey);
        registry.SetString(name, value);
    }
    static void SetDword(const std::string& name, DWORD value)
    {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
        registry.PushKey(kBaseKey);
        registry.SetDword(name, value);
    }
};

// The dialog with its programs started in name only, from a folder of the test's choosing.
class RecordingUpdateDialog final : public CKZARN_MainUpdateImplDialog {
public:
    explicit RecordingUpdateDialog(std::string folder) : folder_(std::move(folder)) {}

    QString Text(int id) const { return static_cast<QLineEdit*>(FindControl(id))->text(); }
    bool Enabled(int id) const { return FindControl(id)->isEnabled(); }

    std::string started;
    Args arguments;
    int notifyResult = 1;
    BOOL launchResult = TRUE;

protected:
    int LaunchNotify(const std::string& program, const Args& args) override
    {
        started = program;
        arguments = args;
        return notifyResult;
    }
    BOOL Launch(const std::string& program, const Args& args) override
    {
        started = program;
        arguments = args;
        return launchResult;
    }
    std::string ProgramFolder() const override { return folder_; }

private:
    std::string folder_;
};

// The page with the modal run of its dialog replaced: the test looks at the dialog as it opens.
class ProbedUpdatePage final : public CKZARN_MainUpdateForm {
public:
    int opened = 0;
    int checks = 0;
    bool realCheck = false;
    std::function<void(CKZARN_MainUpdateImplDialog&)> whileOpen;

protected:
    int RunDialog(CKZARN_MainUpdateImplDialog& dialog) override
    {
        ++opened;
        dialog.OnInitDialog();
        if (whileOpen) whileOpen(dialog);
        return IDOK;
    }
    void RunUpdateCheck() override
    {
        ++checks;
        if (realCheck) CKZARN_MainUpdateForm::RunUpdateCheck();
    }
};

void MakeExecutable(const std::string& path)
{
    std::ofstream(path) << "#!/bin/sh\n";
    ::chmod(path.c_str(), 0755);
}

} // namespace

TEST(UpdateArguments, FirmwareDownloaderPerModel)
{
    struct Case {
        const char* model;
        const char* rfApp;
        const char* rfLoader;
        Args expected;
    };
    const Case cases[] = {
        {"T-310D/DR", "02.0109", "01.0A05",
         {"/Zarn", "77", "/Type", "T-310D_DR", "/Ver", "16", "/RFAppVer", "02.0109", "/RFLdrVer", "01.0A05", "/Date", "20240501"}},
        // An empty version keeps its switch with an empty value; exactly "---" drops it.
        {"T-310D/DR", "", "---", {"/Zarn", "77", "/Type", "T-310D_DR", "/Ver", "16", "/RFAppVer", "", "/Date", "20240501"}},
        {"T-520D", "02.0109", "01.0A05", {"/Zarn", "77", "/Type", "T-520D", "/Ver", "16", "/Date", "20240501"}},
        {"T-140DR-EL", "---", "---", {"/Zarn", "77", "/Type", "T-140DR_EL", "/Ver", "16", "/Date", "20240501"}},
        {"T-140DR-PX", "---", "---", {"/Zarn", "77", "/Type", "T-140DR_PX", "/Ver", "16", "/Date", "20240501"}},
        {"T-140DR", "---", "---", {"/Zarn", "77", "/Type", "T-140DR", "/Ver", "16", "/Date", "20240501"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UpdateCommandLine::FirmwareArguments(77, c.model, "16", c.rfApp, c.rfLoader, "20240501"),
                  c.expected)
            << c.model << " " << c.rfApp << " " << c.rfLoader;
    }
}

TEST(UpdateArguments, ApplicationUpdaterWithAndWithoutALatestVersion)
{
    EXPECT_EQ(UpdateCommandLine::SoftwareArguments("1.20", 5, "ENG"),
              (Args{"/Ver", "1.20", "/Zarn", "5", "/Lang", "ENG"}));
    EXPECT_EQ(UpdateCommandLine::SoftwareArguments("---", 5, ""), (Args{"/Zarn", "5", "/Lang", ""}));
}

TEST(UpdateArguments, OnlyPlainValuesGoOntoACommandLine)
{
    const std::pair<const char*, bool> cases[] = {
        {"", true},         {"01.0A05", true},   {"T-310D/DR", true}, {"---", true},
        {"2024/05/01", true}, {"/Type", false},  {"1.0 x", false},    {"a\"b", false},
        {"1\t2", false},    {"1\n", false},
    };
    for (const auto& [value, plain] : cases) {
        EXPECT_EQ(UpdateCommandLine::IsPlainArgument(value), plain) << value;
    }
}

TEST(UpdateArguments, RadioSuffixOfTheLatestFirmware)
{
    const struct {
        const char* model;
        const char* rfApp;
        const char* suffix;
    } cases[] = {
        {"T-140DR", "AB.0109", "_AB.109"},
        {"T-140DR", "02.1A0F", "_02.2615"},
        {"T-140DR", "02.zz05", "_02.005"}, // not hexadecimal: 0
        {"T-140DR", "02.01", "_02.100"},   // characters missing: 0
        {"T-140DR-EL", "AB.0109", "_**.***"},
        {"T-520D", "AB.0109", "_**.***"},
        {"T-140DR", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpdateCommandLine::RadioVersionSuffix(c.model, c.rfApp), c.suffix) << c.model << c.rfApp;
    }
}

TEST(UpdateDialog, VersionTextsAndButtons)
{
    struct Case {
        const char* model;
        const char* revision;
        const char* versionB;
        int module;
        std::vector<std::pair<std::string, std::string>> records;
        const char* current;
        const char* latest;
        bool firmwareButton;
    };
    const Case cases[] = {
        {"T-310D/DR", "15", "", 0, {{"T-310D/DR", "16"}}, "15", "16", true},
        {"T-310D/DR", "16", "", 0, {{"T-310D/DR", "16"}}, "16", "16", false},
        {"T-310D/DR", "15", "", 0, {}, "15", "---", false},
        {"", "", "", 0, {{"T-310D/DR", "16"}}, "---", "---", false},
        {"T-140DR", "15", "02.0218", 0, {{"T-140DR", "16"}, {"T-140RFA", "AB.0109"}}, "15_02.0218", "16_AB.109", true},
        {"T-140DR-EL", "15", "02.0218", 0, {{"T-140DR-EL", "16"}, {"T-140RFA", "AB.0109"}}, "15_02.0218", "16_**.***", true},
        {"T-140D", "15", "02.0218", 0, {{"T-140D", "16"}, {"T-140RFA", "AB.0109"}}, "15", "16", true},
        {"T-520D", "12", "03.0001", 1, {{"T-520D", "13"}}, "12_03.0001", "13", true},
        {"T-520D", "12", "03.0001", 0, {{"T-520D", "13"}}, "12", "13", true},
    };
    QuietFacade rig;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.revision);
        g_T520ModuleStatus = c.module;
        rig.SetMeter(c.model, c.revision, c.versionB);
        rig.SetRecords(c.records);
        RecordingUpdateDialog dialog(rig.scratch.File(""));
        dialog.OnInitDialog();
        EXPECT_EQ(dialog.Text(CKZARN_MainUpdateImplDialog::kCurrentFirmwareId).toStdString(), c.current);
        EXPECT_EQ(dialog.Text(CKZARN_MainUpdateImplDialog::kLatestFirmwareId).toStdString(), c.latest);
        EXPECT_EQ(dialog.Enabled(CKZARN_MainUpdateImplDialog::kUpdateFirmwareId), c.firmwareButton);
        EXPECT_FALSE(dialog.FindControl(CKZARN_MainUpdateImplDialog::kUpdateFirmwareId)->isHidden());
    }
    g_T520ModuleStatus = 0;
}

TEST(UpdateDialog, BusyDisablesAndRefusesToCloseIdleFollowsTheAvailabilityRule)
{
    QuietFacade rig; // no installed version in the registry
    rig.SetMeter("T-310D/DR", "15");
    rig.SetRecords({{"T-310D/DR", "16"}, {"APL", "9.0"}});
    RecordingUpdateDialog dialog(rig.scratch.File(""));
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.Text(CKZARN_MainUpdateImplDialog::kInstalledAppId).toStdString(),
              CKZARN_MainUpdateImplDialog::OwnVersionText());
    EXPECT_TRUE(dialog.Enabled(CKZARN_MainUpdateImplDialog::kUpdateAppId)) << "enabled without an installed version";

    dialog.open();
    dialog.OnBusy(0, 0);
    for (const int id : {CKZARN_MainUpdateImplDialog::kUpdateFirmwareId, CKZARN_MainUpdateImplDialog::kUpdateAppId,
                         CKZARN_MainUpdateImplDialog::kBackId}) {
        EXPECT_FALSE(dialog.Enabled(id)) << id;
    }
    dialog.OnOK();
    dialog.OnCancel();
    dialog.reject();
    EXPECT_TRUE(dialog.isVisible()) << "a busy dialog cannot be closed";

    dialog.OnIdle(0, 0);
    EXPECT_TRUE(dialog.Enabled(CKZARN_MainUpdateImplDialog::kBackId));
    EXPECT_TRUE(dialog.Enabled(CKZARN_MainUpdateImplDialog::kUpdateFirmwareId));
    EXPECT_FALSE(dialog.Enabled(CKZARN_MainUpdateImplDialog::kUpdateAppId)) << "availability rule wins after a child";
    dialog.OnCancel();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), IDCANCEL);
}

TEST(UpdateDialog, StartsTheDownloaderWithItsArgumentList)
{
    QuietFacade rig;
    rig.SetMeter("T-310D/DR", "15");
    rig.SetRecords({{"T-310D/DR", "16"}});
    MakeExecutable(rig.scratch.File("Zarnflash"));
    RecordingUpdateDialog dialog(rig.scratch.File(""));
    dialog.SetMainWindowNumber(4321);
    dialog.OnInitDialog();
    ScriptedPromptService prompts;
    dialog.StartFirmwareUpdate();
    EXPECT_EQ(dialog.started, rig.scratch.File("Zarnflash"));
    EXPECT_EQ(dialog.arguments, (Args{"/Zarn", "4321", "/Type", "T-310D_DR", "/Ver", "16", "/RFAppVer", "",
                                      "/RFLdrVer", "", "/Date", "20240501"}));
    EXPECT_TRUE(prompts.Prompts().empty());

    // A launch the launcher refuses is told, not passed over.
    dialog.notifyResult = 0;
    dialog.StartFirmwareUpdate();
    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_NE(prompts.Prompts()[0].text.find(GetLangString(CKZARN_MainUpdateImplDialog::kStartFailedTextId)),
              std::string::npos);
}

TEST(UpdateDialog, AMissingDownloaderOrAServerValueThatIsNoPlainTextIsTold)
{
    QuietFacade rig;
    rig.SetMeter("T-310D/DR", "15");
    rig.SetRecords({{"T-310D/DR", "16"}});
    RecordingUpdateDialog dialog(rig.scratch.File(""));
    dialog.OnInitDialog();
    ScriptedPromptService prompts;
    dialog.StartFirmwareUpdate(); // no program in the folder
    EXPECT_EQ(dialog.started, "");
    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_NE(prompts.Prompts()[0].text.find(rig.scratch.File("Zarnflash")), std::string::npos);
    EXPECT_EQ(prompts.Prompts()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));

    MakeExecutable(rig.scratch.File("Zarnflash"));
    rig.SetRecords({{"T-310D/DR", "16 /Type x"}});
    dialog.StartFirmwareUpdate();
    EXPECT_EQ(dialog.started, "");
    ASSERT_EQ(prompts.Prompts().size(), 2u);
    EXPECT_EQ(prompts.Prompts()[1].text, GetLangString(CKZARN_MainUpdateImplDialog::kBadUpdateInfoTextId));

    // A radio version that is no plain text, on a meter that gets none: the update starts.
    rig.SetMeter("T-520D", "12");
    rig.SetRecords({{"T-520D", "13"}, {"T-140RFA", "AB 0109"}, {"T-140RFL", "/x"}});
    dialog.OnUpdateListRefresh(0, 0);
    dialog.StartFirmwareUpdate();
    EXPECT_EQ(prompts.Prompts().size(), 2u);
    EXPECT_EQ(dialog.arguments, (Args{"/Zarn", "0", "/Type", "T-520D", "/Ver", "13", "/Date", "20240501"}));
    // The same versions on a T-310D/DR would go onto its command line: refused.
    rig.SetMeter("T-310D/DR", "15");
    rig.SetRecords({{"T-310D/DR", "16"}, {"T-140RFA", "AB 0109"}});
    dialog.started.clear();
    dialog.StartFirmwareUpdate();
    EXPECT_EQ(dialog.started, "");
    EXPECT_EQ(prompts.Prompts().size(), 3u);
}

TEST(UpdateDialog, StartsTheUpdaterAndClearsItsLeftoverInTheProgramFolder)
{
    QuietFacade rig;
    rig.SetRecords({{"APL", "9.0"}});
    std::ofstream(rig.scratch.File("Zarnpatch.oldexe")) << "old";
    RecordingUpdateDialog dialog(rig.scratch.File(""));
    dialog.SetMainWindowNumber(12);
    dialog.OnInitDialog();
    ScriptedPromptService prompts;
    dialog.StartSoftwareUpdate();
    EXPECT_EQ(dialog.started, rig.scratch.File("Zarnpatch"));
    EXPECT_EQ(dialog.arguments, (Args{"/Ver", "9.0", "/Zarn", "12", "/Lang", GetLangString(0)}));
    EXPECT_FALSE(std::filesystem::exists(rig.scratch.File("Zarnpatch.oldexe")));
    EXPECT_TRUE(prompts.Prompts().empty());

    dialog.launchResult = CKestrinZarnApp::kLaunchFailed;
    dialog.StartSoftwareUpdate();
    EXPECT_EQ(prompts.Prompts().size(), 1u) << "a failed start is told";
}

TEST(UpdatePage, NoticeOpensOncePerMeterArrival)
{
    QuietFacade rig;
    rig.SetMeter("T-310D/DR", "15");
    rig.SetRecords({{"T-310D/DR", "16"}});
    ProbedUpdatePage page;
    page.Create(CKZARN_MainUpdateForm::kTemplateId, nullptr, nullptr);

    page.OnMeterInfoChanged();
    EXPECT_EQ(page.opened, 1);
    page.OnMeterInfoChanged();
    page.OnUpdateListReady(0, 0);
    EXPECT_EQ(page.opened, 1) << "the same meter raises the notice once";
    page.OnConnectionChanged(1);
    page.OnMeterInfoChanged();
    EXPECT_EQ(page.opened, 1);
    page.OnConnectionChanged(0);
    page.OnMeterInfoChanged();
    EXPECT_EQ(page.opened, 2) << "a meter plugged in again raises it again";
    EXPECT_EQ(page.checks, 0);

    // Switched off: no notice.
    page.OnConnectionChanged(0);
    QuietFacade::SetDword("Notify Firmware Update", 0);
    page.OnMeterInfoChanged();
    EXPECT_EQ(page.opened, 2);
    EXPECT_EQ(page.noticeShown, 0);
}

TEST(UpdatePage, AnOpenDialogIsRefreshedBusiedAndEndedThroughThePage)
{
    QuietFacade rig;
    rig.SetMeter("T-310D/DR", "15");
    ProbedUpdatePage page;
    page.Create(CKZARN_MainUpdateForm::kTemplateId, nullptr, nullptr);
    page.whileOpen = [&](CKZARN_MainUpdateImplDialog& dialog) {
        EXPECT_EQ(page.updateDialog, &dialog);
        auto text = [&](int id) { return static_cast<QLineEdit*>(dialog.FindControl(id))->text().toStdString(); };
        EXPECT_EQ(text(CKZARN_MainUpdateImplDialog::kLatestFirmwareId), "---");
        rig.SetRecords({{"T-310D/DR", "16"}});
        page.OnUpdateListReady(0, 0);
        EXPECT_EQ(text(CKZARN_MainUpdateImplDialog::kLatestFirmwareId), "16");
        rig.SetMeter("T-310D/DR", "16");
        page.OnMeterInfoChanged();
        EXPECT_EQ(text(CKZARN_MainUpdateImplDialog::kCurrentFirmwareId), "16");
        page.OnExternalProgramStarting("x", "");
        EXPECT_EQ(dialog.idle, 0);
        page.OnUpdateButton(); // a second dialog never opens
        page.OnExternalProgramEnded(0, 0);
        EXPECT_EQ(dialog.idle, 1);
        page.OnExternalProgramStarting("x", "");
        page.OnMainClosing(); // the main window closes: the dialog ends whatever its state
        EXPECT_EQ(dialog.result(), IDOK);
        EXPECT_EQ(page.updateDialog, nullptr);
    };
    page.OnUpdateButton();
    EXPECT_EQ(page.opened, 1);
    EXPECT_EQ(page.checks, 1);
    EXPECT_EQ(page.updateDialog, nullptr);
}

// The page's button against a loopback update server: the check runs on the meter worker, and the
// dialog shows what the server offered for the simulated T-310. The worker ends the check's dialog
// before it announces the stored list to the main window, so that announcement can still be on
// its way when the update dialog opens; the dialog's own message loop then takes it, and the main
// window passes it on to the page, which refreshes the open dialog. The stand-in for that loop
// waits until the worker has posted everything and hands its messages over.
TEST(UpdatePage, ShowsTheLoopbackServersVersions)
{
    struct Case {
        const char* name;
        const char* versionFile; // null: the server cannot be reached
        const char* latestFirmware;
        const char* latestApp;
        bool firmwareButton;
        bool appButton;
    };
    const Case cases[] = {
        {"newer firmware", "[Version]\nAPL,1.00,2024/03/01\nT-310D_DR,16,20240201\n[Status]\nNormal\n", "16", "1.00",
         true, false},
        {"newer program", "[Version]\nAPL,1.10,2024/03/01\nT-310D_DR,15,20240201\n[Status]\nNormal\n", "15", "1.10",
         false, true},
        {"none", "[Version]\nAPL,1.00,2024/03/01\nT-310D_DR,15,20240201\n[Status]\nNormal\n", "15", "1.00", false,
         false},
        {"unreachable", nullptr, "---", "---", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FacadeRig rig;
        if (c.versionFile != nullptr) {
            rig.ServeVersionFile(c.versionFile);
        } else {
            rig.ServeVersionFile("");
            rig.server.Stop();
        }
        QuietFacade::SetString("Version", "1.00");
        rig.AddT310();
        rig.Start();
        ASSERT_EQ(rig.facade->GetT310State(), 1);
        std::vector<std::string> names;
        ASSERT_EQ(rig.facade->ReceiveProfileNames(&names), 0); // reads the meter's identity

        ProbedUpdatePage page;
        page.realCheck = true;
        page.Create(CKZARN_MainUpdateForm::kTemplateId, nullptr, nullptr);
        const int announced = rig.mainWindow.Count(WM_ZARN_UPDATE_LIST_READY);
        rig.mainWindow.afterMessage = [&](UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_ZARN_UPDATE_LIST_READY) page.OnUpdateListReady(wParam, lParam);
        };
        page.whileOpen = [&](CKZARN_MainUpdateImplDialog& dialog) {
            rig.Settle(); // the dialog's message loop
            EXPECT_EQ(rig.mainWindow.Count(WM_ZARN_UPDATE_LIST_READY), announced + 1);
            auto text = [&](int id) { return static_cast<QLineEdit*>(dialog.FindControl(id))->text().toStdString(); };
            EXPECT_EQ(text(CKZARN_MainUpdateImplDialog::kCurrentFirmwareId), "15");
            EXPECT_EQ(text(CKZARN_MainUpdateImplDialog::kLatestFirmwareId), c.latestFirmware);
            EXPECT_EQ(text(CKZARN_MainUpdateImplDialog::kInstalledAppId), "1.00");
            EXPECT_EQ(text(CKZARN_MainUpdateImplDialog::kLatestAppId), c.latestApp);
            EXPECT_EQ(dialog.FindControl(CKZARN_MainUpdateImplDialog::kUpdateFirmwareId)->isEnabled(), c.firmwareButton);
            EXPECT_EQ(dialog.FindControl(CKZARN_MainUpdateImplDialog::kUpdateAppId)->isEnabled(), c.appButton);
        };
        page.OnUpdateButton();
        EXPECT_EQ(page.opened, 1);
        rig.mainWindow.afterMessage = nullptr;
    }
}
