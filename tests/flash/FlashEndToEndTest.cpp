// The downloader's main dialog run as a user runs it, offscreen: launched with the update page's
// command line against a loopback update server and simulated meters, and stand-alone with local
// image files. The worker runs on its own thread; its messages reach the dialog through Qt's queue.
// The simulator's headers come before Qt's, whose "slots" keyword they would trip over.
#include "tests/flash/FlashTestKit.h"

#include "core/util/CLangTable.h"
#include "core/util/CRegistryHelper.h"
#include "core/util/ZarnProgramMessages.h"
#include "flash/CZarnflashHidLink.h"
#include "flash/FlashRefusalText.h"
#include "flash/ZarnflashCommandLine.h"
#include "flash/ui/CZarnflashDlg.h"
#include "meter/CCommT140.h"
#include "meter/CCommT520.h"
#include "platform/RegistryTypes.h"
#include "platform/SystemFolders.h"
#include "tests/flash/FlashSimLinks.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/qt/QtTestEnvironment.h"

#include <QApplication>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/stat.h>

namespace {

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new QtTestEnvironment<QApplication>(QtTestTexts::Load));

LoopbackHttpServer::Route Body(const std::string& text)
{
    LoopbackHttpServer::Route route;
    route.body = text;
    return route;
}

class FlashEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("ZARN_REGISTRY_FILE", (scratch.Path() + "/registry.reg").c_str(), 1);
        SystemFolders::SetLocalAppDataOverride(scratch.Path() + "/local");
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
        registry.PushKey("SOFTWARE\\KESTRIN\\Zarndesk\\Download Setting");
        registry.SetString("Base Url", server.BaseUrl());
        registry.SetString("Version Confirm Url", "ver/version.txt");
        registry.SetString("Download List Url", "ver/list.txt");
        registry.SetString("Download List Firm Url", "ver/%s/list.txt");
    }
    void TearDown() override
    {
        SystemFolders::SetLocalAppDataOverride("");
        ::unsetenv("ZARN_REGISTRY_FILE");
    }
    // Serves a release of one image: its script (entry command, erase, records, final check).
    void ServeImage(const std::string& type, const std::string& version, const std::string& name,
                    const std::string& entry, int records)
    {
        std::string script;
        for (const std::string& line : FlashScriptLines(entry, records)) script += line + "\r\n";
        server.SetRoute("/files/" + name, Body(script));
        server.SetRoute("/ver/firmware/" + type + "/" + version + "/list.txt",
                        Body("[URL]\nfiles\n[Files]\n1," + name + "\n[Status]\nNormal\n"));
    }
    std::unique_ptr<CZarnflashDlg> Launch(std::vector<std::string> tokens)
    {
        auto dialog = std::make_unique<CZarnflashDlg>(SplitArguments(tokens));
        dialog->SetEnvironment(&links, &hid.Clock());
        dialog->Worker().SetHttpTimeouts(5000, 5000);
        dialog->SetOwnerMessenger([this](const std::string& owner, UINT message, WPARAM, LPARAM) {
            sent.emplace_back(owner, message);
        });
        dialog->OnInitDialog();
        return dialog;
    }
    // Delivers the worker's messages until the run has finished.
    static void RunToEnd(CZarnflashDlg& dialog)
    {
        // A worker that is held has a result message still to come.
        while (dialog.UiState() != kUiFinished && dialog.Worker().IsRunning()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        // Messages still queued behind the result (none are expected) would be handled here.
        QCoreApplication::processEvents();
    }

    ScratchFolder scratch;
    ScratchFolder sysfs;
    LoopbackHttpServer server;
    SimHidDeviceSystem hid;
    SimFlashLinks links{hid, sysfs.Path()};
    std::vector<std::pair<std::string, UINT>> sent;
};

// The update page's full radio chain on a T-140DR: downloads 1, 4, 2, 3, transfers 8, 9, 10, then
// the main firmware 6; the meter ends with every image and the new revision, and the main program
// is told once when the user closes the dialog.
TEST_F(FlashEndToEnd, LaunchedRadioChainOfAT140DR)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, false, 0x11);
    auto& id = sim.normal->GetIdentity();
    id.revision = "17";
    id.versionBLead = "3132"; // radio application "12.0105"
    id.versionBMajor = 1;
    id.versionBMinor = 5;
    id.versionALead = "3135"; // radio loader "15.0105"
    id.versionAMajor = 1;
    id.versionAMinor = 5;
    sim.mode->SetOnCommit([&id](const std::string& target, const std::vector<std::string>&) {
        if (target == "P0000F") id.revision = "18";
    });
    server.SetRoute("/ver/version.txt", Body("[Version]\nT-140RFU,3.0001,2024/01/01\n[Status]\nNormal\n"));
    ServeImage("T-140DR", "18", "QM630180.dlf", "P0000F", 3);
    ServeImage("T-140RFA", "12.0106", "QM630106A.dlf", "P0001F", 2);
    ServeImage("T-140RFU", "3.0001", "QM630001U.dlf", "P0001F", 1);
    ServeImage("T-140RFL", "15.0106", "QM630106L.dlf", "P0003F", 2);

    auto dialog = Launch({"/opt/zarn/Zarnflash", " /Zarn ", "4242", " /Type ", "T-140DR", " /Ver ", "18",
                          " /RFAppVer ", "12.0106", " /RFLdrVer ", "15.0106", " /Date ", "20240102"});
    EXPECT_EQ(kUiDownloading, dialog->UiState());
    EXPECT_EQ("12.0105", dialog->MeterRadioAppVersion());
    // Meter and offered versions in their display form: revision_radio application.
    QString line = QString::fromStdString(GetLangString(50016));
    line.replace(line.indexOf("%s"), 2, "17_12.261");
    line.replace(line.indexOf("%s"), 2, "18_12.262");
    line.replace(line.indexOf("%s"), 2, "2024/01/02");
    EXPECT_EQ(line, dialog->VersionLabel()->text());
    RunToEnd(*dialog);
    EXPECT_EQ(0, dialog->ResultCode());
    EXPECT_EQ(dialog->ProgressBar()->maximum(), dialog->ProgressBar()->value());

    std::vector<std::string> entries;
    for (const std::string& c : sim.meter->Log()) {
        if (c == "P0000F" || c == "P0001F" || c == "P0003F" || c == "H00000") entries.push_back(c);
    }
    EXPECT_EQ((std::vector<std::string>{"P0001F", "P0003F", "P0001F", "P0000F", "H00000"}), entries);
    std::vector<std::string> order;
    for (const auto& r : server.Requests()) order.push_back(r.path);
    EXPECT_EQ((std::vector<std::string>{"/ver/firmware/T-140DR/18/list.txt", "/files/QM630180.dlf",
                                        "/ver/firmware/T-140RFA/12.0106/list.txt", "/files/QM630106A.dlf",
                                        "/ver/version.txt", "/ver/firmware/T-140RFU/3.0001/list.txt",
                                        "/files/QM630001U.dlf", "/ver/firmware/T-140RFL/15.0106/list.txt",
                                        "/files/QM630106L.dlf"}),
              order);
    EXPECT_EQ(3u, sim.mode->Memory("P0000F").size());
    EXPECT_EQ(2u, sim.mode->Memory("P0003F").size());
    EXPECT_EQ(4, sim.mode->Commits());

    // The new firmware answers with its new revision.
    CZarnflashHidLink readBack(std::make_unique<CCommT140>(hid), CZarnflashHidLink::Family::T140);
    ASSERT_TRUE(readBack.Open("", nullptr));
    std::string revision;
    readBack.GetRevision(&revision);
    readBack.Close();
    EXPECT_EQ("18", revision);

    EXPECT_FALSE(dialog->Worker().IsRunning());
    dialog->OnCancelButton();
    EXPECT_EQ((std::vector<std::pair<std::string, UINT>>{{"4242", WM_ZARN_FLASH_FINISHED}}), sent);
    EXPECT_TRUE(dialog->Ended());
}

// A T-520D without radio module: the main firmware alone, read back, and the main program told.
TEST_F(FlashEndToEnd, LaunchedT520MainOnly)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, true);
    sim.normal->GetIdentity().revision = "20";
    sim.normal->GetIdentity().variant = 2; // a code of no radio module: variant 0
    ServeImage("T-520D", "21", "QP520210.dlf", "P0000F", 4);
    ServeImage("T-520D", "20", "QP520200.dlf", "P0000F", 4);

    sim.mode->SetOnCommit([&sim](const std::string&, const std::vector<std::string>&) {
        sim.normal->GetIdentity().revision = "21";
    });
    auto dialog = Launch({"Zarnflash", "/Zarn", "77", "/Type", "T-520D", "/Ver", "21", "/Date", "20240301"});
    RunToEnd(*dialog);
    EXPECT_EQ(0, dialog->ResultCode());
    EXPECT_EQ(4u, sim.mode->Memory("P0000F").size());
    EXPECT_EQ(QString("2024/03/01"), dialog->VersionLabel()->text().right(10));
    CZarnflashHidLink readBack(std::make_unique<CCommT520>(hid), CZarnflashHidLink::Family::T520);
    ASSERT_TRUE(readBack.Open("", nullptr));
    std::string revision;
    readBack.GetRevision(&revision);
    readBack.Close();
    EXPECT_EQ("21", revision);
    dialog->OnCancelButton();
    EXPECT_EQ((std::vector<std::pair<std::string, UINT>>{{"77", WM_ZARN_FLASH_FINISHED}}), sent);

    // Without a radio module the downloaded image is written whatever the meter's revision.
    auto again = Launch({"Zarnflash", "/Zarn", "77", "/Type", "T-520D", "/Ver", "21", "/Date", "20240301"});
    EXPECT_EQ("T-520D", again->ModelName());
    RunToEnd(*again);
    EXPECT_EQ(0, again->ResultCode());
    EXPECT_EQ(2, sim.mode->Commits());

    // With a radio module (code 0: variant 1) versions count: the meter has the offered revision.
    sim.normal->GetIdentity().variant = 0;
    auto radio = Launch({"Zarnflash", "/Zarn", "77", "/Type", "T-520D", "/Ver", "21", "/Date", "20240301"});
    RunToEnd(*radio);
    EXPECT_EQ(kFlashNothingToDo, radio->ResultCode());
    EXPECT_EQ(2, sim.mode->Commits());
}

TEST_F(FlashEndToEnd, LaunchedStartsThatCannotRun)
{
    struct Case {
        const char* name;
        std::vector<std::string> tokens;
        bool meter;
        int result;
    } cases[] = {
        {"no meter", {"Zarnflash", "/Type", "T-140D", "/Ver", "18", "/Date", "20240102"}, false, kFlashT310Open},
        {"only /Ver", {"Zarnflash", "/Ver", "18"}, true, kFlashIncomplete},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.meter) SimFlashHidMeter::Add(hid, false, 0x10, "/dev/hidraw-case");
        auto dialog = Launch(c.tokens);
        EXPECT_EQ(kUiFinished, dialog->UiState());
        EXPECT_EQ(c.result, dialog->ResultCode());
        EXPECT_FALSE(dialog->StatusLabel()->text().isEmpty());
        EXPECT_TRUE(dialog->CancelButton()->isEnabled());
        EXPECT_FALSE(dialog->Worker().IsRunning());
    }
    // Two meters attached: the run refuses to start and nothing is written.
    SimFlashHidMeter::Add(hid, true);
    auto dialog = Launch({"Zarnflash", "/Type", "T-140D", "/Ver", "18", "/Date", "20240102"});
    EXPECT_EQ(kFlashSeveralMeters, dialog->ResultCode());
}

class FlashStandAlone : public FlashEndToEnd {
protected:
    // Stores the chosen main image as the settings dialog would.
    void ChooseMain(const std::string& name, const std::vector<std::string>& script, const char* ver)
    {
        WriteFlashFile(scratch.File(name), script);
        if (ver) {
            const std::string title = name.substr(0, name.rfind('.'));
            WriteFlashText(scratch.File(title + ".ver"), ver);
        }
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
        registry.PushKey("SOFTWARE\\KESTRIN\\Zarndesk");
        registry.SetString("Last Update Firmware File", scratch.File(name));
    }
};

TEST_F(FlashStandAlone, LocalImageIsWrittenAndWrongImagesAreRefusedBeforeAnyByte)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, true);
    sim.normal->GetIdentity().variant = 2; // no radio module: variant 0
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::string> script;
        const char* ver;
        int result;
        std::size_t written;
    } cases[] = {
        {"another model's image", "QM630210.dlf", FlashScriptLines("P0000F", 2), "21\n\n20240102\n", kFlashNothingToDo, 0},
        {"radio script as main image", "QP520210.dlf", FlashScriptLines("P0001F", 2), "21\n\n20240102\n",
         kFlashBadScript, 0},
        {"the right image", "QP520210.dlf", FlashScriptLines("P0000F", 5), "21\n\n20240102\n", 0, 5},
        {"no version file", "QP520220.dlf", FlashScriptLines("P0000F", 2), nullptr, kFlashNoVersionFile, 0},
        {"a date that is not eight digits", "QP520230.dlf", FlashScriptLines("P0000F", 2), "21\n\n2021-03-15\n",
         kFlashNoVersionFile, 0},
        {"fewer than three lines", "QP520240.dlf", FlashScriptLines("P0000F", 2), "21\n\n", kFlashNoVersionFile, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChooseMain(c.file, c.script, c.ver);
        auto dialog = Launch({"/opt/zarn/Zarnflash"});
        ASSERT_TRUE(dialog->IsStandAlone());
        EXPECT_EQ("T-520D", dialog->ModelName());
        EXPECT_TRUE(dialog->TimerActive());
        // Another model's image is no update on offer: the ready window names it without Start.
        EXPECT_EQ(c.result != kFlashNothingToDo, dialog->StartButton()->isEnabled());
        sim.meter->ClearLog();
        dialog->OnStart();
        RunToEnd(*dialog);
        EXPECT_EQ(c.result, dialog->ResultCode());
        std::size_t records = 0;
        for (const std::string& line : sim.meter->Log()) records += line[0] == 'R' || line[0] == 'P' ? 1 : 0;
        EXPECT_EQ(c.written == 0 ? 0u : c.written + 1, records);
        EXPECT_EQ(c.written, sim.mode->Memory("P0000F").size());
        EXPECT_TRUE(dialog->ExitButton()->isEnabled());
        if (c.result != 0) {
            // Nothing was written: the bar is empty; the refused file is named on the version line.
            EXPECT_EQ(0, dialog->ProgressBar()->value());
            EXPECT_TRUE(dialog->VersionLabel()->text().contains(QString::fromStdString(c.file)));
        }
        sim.mode->SetMemory("P0000F", {});
        dialog->OnExit();
        EXPECT_TRUE(sent.empty());
    }
}

// Start with no main image chosen still runs the main firmware job, which finds no script and fails
// before the link opens; the run has ended, so the poll reads the meter again.
TEST_F(FlashStandAlone, StartWithoutAMainImageFailsForWantOfAScript)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, true);
    sim.normal->GetIdentity().variant = 2; // no radio module: variant 0
    auto dialog = Launch({"Zarnflash"});
    ASSERT_EQ("T-520D", dialog->ModelName());
    sim.meter->ClearLog();
    dialog->OnStart();
    RunToEnd(*dialog);
    EXPECT_EQ(kFlashNoScript, dialog->ResultCode());
    EXPECT_EQ(QString::fromStdString(GetLangString(50104)), dialog->StatusLabel()->text());
    EXPECT_TRUE(sim.meter->Log().empty());
    EXPECT_TRUE(dialog->TimerActive());
    dialog->OnExit();
}

// A radio chain on a T-140DR would skip a main image whose version file is missing: refused.
TEST_F(FlashStandAlone, RadioChainRefusesAMainImageWithoutVersion)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, false, 0x11);
    ChooseMain("QM630180.dlf", FlashScriptLines("P0000F", 2), nullptr);
    WriteFlashFile(scratch.File("QM630106A.dlf"), FlashScriptLines("P0001F", 2));
    WriteFlashText(scratch.File("QM630106A.ver"), "12\n0106\n20231201\n");
    {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
        registry.PushKey("SOFTWARE\\KESTRIN\\Zarndesk");
        registry.SetString("Last Update RF Application Firmware File", scratch.File("QM630106A.dlf"));
    }
    auto dialog = Launch({"Zarnflash"});
    ASSERT_EQ("T-140DR", dialog->ModelName());
    sim.meter->ClearLog();
    dialog->OnStart();
    EXPECT_EQ(kFlashNoVersionFile, dialog->ResultCode());
    EXPECT_TRUE(sim.meter->Log().empty());

    // With its version file the chain writes the radio application, then the main image.
    WriteFlashText(scratch.File("QM630180.ver"), "18\n\n20240102\n");
    auto second = Launch({"Zarnflash"});
    second->OnStart();
    RunToEnd(*second);
    EXPECT_EQ(0, second->ResultCode());
    EXPECT_EQ(2u, sim.mode->Memory("P0001F").size());
    EXPECT_EQ(2u, sim.mode->Memory("P0000F").size());
}

// Scripts chosen for a T-140D that are truncated, empty or a FIFO are refused at Start before any
// byte, and the version line names the file and why; an image of a T-520D is named on the ready
// window, which offers no Start, and again after a Start.
TEST_F(FlashStandAlone, RefusedImagesAreNamed)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, false, 0x10);
    std::string whole;
    for (const std::string& line : FlashScriptLines("P0000F", 4)) whole += line + "\r\n";
    struct Case {
        const char* file;
        std::string text; // the content; "fifo" makes a FIFO
        int result;
        int textId;
    } cases[] = {
        {"QM630181.dlf", whole.substr(0, whole.size() / 2), kFlashBadScript, 50142},
        {"QM630182.dlf", "", kFlashBadScript, 50139},
        {"QM630183.dlf", "fifo", kFlashBadScript, 50137},
        {"QP520180.dlf", whole, kFlashNothingToDo, 50133},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        if (c.text == "fifo") {
            ASSERT_EQ(0, ::mkfifo(scratch.File(c.file).c_str(), 0600));
        } else {
            WriteFlashText(scratch.File(c.file), c.text);
        }
        WriteFlashText(scratch.File(std::string(c.file).substr(0, 8) + ".ver"), "18\n\n20240102\n");
        {
            CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
            registry.PushKey("SOFTWARE\\KESTRIN\\Zarndesk");
            registry.SetString("Last Update Firmware File", scratch.File(c.file));
        }
        const QString named = QString::fromStdString(FormatLangString(c.textId, {c.file}));
        auto dialog = Launch({"Zarnflash"});
        ASSERT_EQ("T-140D", dialog->ModelName());
        if (c.result == kFlashNothingToDo) {
            EXPECT_FALSE(dialog->StartButton()->isEnabled());
            EXPECT_TRUE(dialog->SettingsButton()->isEnabled());
            EXPECT_EQ(named, dialog->VersionLabel()->text());
        } else {
            EXPECT_TRUE(dialog->StartButton()->isEnabled());
        }
        sim.meter->ClearLog();
        dialog->OnStart();
        RunToEnd(*dialog);
        EXPECT_EQ(c.result, dialog->ResultCode());
        EXPECT_EQ(QString::fromStdString(GetLangString(c.result == kFlashBadScript ? 50125 : 50103)),
                  dialog->StatusLabel()->text());
        EXPECT_EQ(named, dialog->VersionLabel()->text());
        EXPECT_TRUE(sim.meter->Log().empty());
        EXPECT_EQ(0, dialog->ProgressBar()->value());
        dialog->OnExit();
    }
}

// In a radio chain the refused image is the one named: here the radio loader, cut off, while the
// images before and after it are sound; nothing is written.
TEST_F(FlashStandAlone, AChainNamesTheImageItRefuses)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, false, 0x11);
    ChooseMain("QM630180.dlf", FlashScriptLines("P0000F", 2), "18\n\n20240102\n");
    struct Image {
        const char* value;
        const char* file;
        const char* entry;
        const char* ver;
    } images[] = {
        {"Last Update RF Application Firmware File", "QM630106A.dlf", "P0001F", "12\n0106\n20231201\n"},
        {"Last Update RF Loader Firmware File", "QM630106L.dlf", "P0003F", "15\n0106\n20231201\n"},
        {"Last Update RF Loader Update Firmware File", "QM630001U.dlf", "P0001F", "3\n0001\n20231201\n"},
    };
    CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
    registry.PushKey("SOFTWARE\\KESTRIN\\Zarndesk");
    for (const Image& image : images) {
        WriteFlashFile(scratch.File(image.file), FlashScriptLines(image.entry, 2));
        WriteFlashText(scratch.File(std::string(image.file).substr(0, 9) + ".ver"), image.ver);
        registry.SetString(image.value, scratch.File(image.file));
    }
    std::string loader;
    for (const std::string& line : FlashScriptLines("P0003F", 2)) loader += line + "\r\n";
    WriteFlashText(scratch.File("QM630106L.dlf"), loader.substr(0, loader.size() - 12));
    auto dialog = Launch({"Zarnflash"});
    ASSERT_EQ("T-140DR", dialog->ModelName());
    EXPECT_TRUE(dialog->StartButton()->isEnabled());
    sim.meter->ClearLog();
    dialog->OnStart();
    RunToEnd(*dialog);
    EXPECT_EQ(kFlashBadScript, dialog->ResultCode());
    EXPECT_EQ(QString::fromStdString(FormatLangString(50142, {"QM630106L.dlf"})), dialog->VersionLabel()->text());
    EXPECT_TRUE(sim.meter->Log().empty());
    EXPECT_EQ(0, sim.mode->Commits());
    dialog->OnExit();
}

// A downloaded image goes through the worker's own check: one of another meter never reaches it.
TEST_F(FlashEndToEnd, LaunchedImageOfAnotherMeterIsRefusedBeforeAnyByte)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, false, 0x10); // a T-140D
    ServeImage("T-140D", "18", "QP520180.dlf", "P0000F", 2);
    auto dialog = Launch({"Zarnflash", "/Type", "T-140D", "/Ver", "18", "/Date", "20240102"});
    ASSERT_EQ("T-140D", dialog->ModelName());
    sim.meter->ClearLog();
    RunToEnd(*dialog);
    EXPECT_EQ(kFlashBadScript, dialog->ResultCode());
    EXPECT_TRUE(sim.meter->Log().empty());
    EXPECT_EQ(0, dialog->ProgressBar()->value());
    EXPECT_TRUE(dialog->VersionLabel()->text().contains("QP520180.dlf"));
    dialog->OnCancelButton();
}

// A downloaded script cut off on its way is refused before any byte, and the refusal names it.
TEST_F(FlashEndToEnd, LaunchedTruncatedDownloadIsNamed)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, false, 0x10); // a T-140D
    std::string script;
    for (const std::string& line : FlashScriptLines("P0000F", 3)) script += line + "\r\n";
    server.SetRoute("/files/QM630180.dlf", Body(script.substr(0, script.size() - 20)));
    server.SetRoute("/ver/firmware/T-140D/18/list.txt",
                    Body("[URL]\nfiles\n[Files]\n1,QM630180.dlf\n[Status]\nNormal\n"));
    auto dialog = Launch({"Zarnflash", "/Type", "T-140D", "/Ver", "18", "/Date", "20240102"});
    ASSERT_EQ("T-140D", dialog->ModelName());
    sim.meter->ClearLog();
    RunToEnd(*dialog);
    EXPECT_EQ(kFlashBadScript, dialog->ResultCode());
    EXPECT_TRUE(sim.meter->Log().empty());
    EXPECT_EQ(QString::fromStdString(FormatLangString(50142, {"QM630180.dlf"})), dialog->VersionLabel()->text());
    dialog->OnCancelButton();
}

// With no meter and no files Start finds nothing to do and says no meter is connected; once the
// poll has read the meter again, Settings and Start work again, and after a written image too.
TEST_F(FlashStandAlone, NoDeadEndAfterARun)
{
    auto dialog = Launch({"Zarnflash"});
    dialog->OnStart();
    EXPECT_EQ(kFlashNothingToDo, dialog->ResultCode());
    EXPECT_EQ(QString::fromStdString(GetLangString(50135)), dialog->StatusLabel()->text());
    EXPECT_FALSE(dialog->StartButton()->isEnabled());
    EXPECT_TRUE(dialog->TimerActive());
    dialog->OnTimer();
    while (!dialog->StartButton()->isEnabled()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_TRUE(dialog->SettingsButton()->isEnabled());

    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, false, 0x10); // a T-140D
    ChooseMain("QM630180.dlf", FlashScriptLines("P0000F", 2), "18\n\n20240102\n");
    auto second = Launch({"Zarnflash"});
    ASSERT_EQ("T-140D", second->ModelName());
    second->OnStart();
    RunToEnd(*second);
    EXPECT_EQ(0, second->ResultCode());
    EXPECT_EQ(2u, sim.mode->Memory("P0000F").size());
    EXPECT_FALSE(second->StartButton()->isEnabled());
    EXPECT_TRUE(second->TimerActive());
    second->OnTimer();
    while (!second->StartButton()->isEnabled()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // Started again, the image is written again.
    second->OnStart();
    RunToEnd(*second);
    EXPECT_EQ(0, second->ResultCode());
    EXPECT_EQ(2, sim.mode->Commits());
    second->OnExit();
}

// A radio chain whose next job cannot reach the meter leaves the module in update mode: the user is
// told that the meter still waits for its firmware and that starting again finishes it.
TEST_F(FlashStandAlone, RadioChainBrokenBetweenJobsSaysTheMeterStillWaits)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, false, 0x11);
    ChooseMain("QM630180.dlf", FlashScriptLines("P0000F", 2), "18\n\n20240102\n");
    WriteFlashFile(scratch.File("QM630106A.dlf"), FlashScriptLines("P0001F", 2));
    WriteFlashText(scratch.File("QM630106A.ver"), "12\n0106\n20231201\n");
    {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
        registry.PushKey("SOFTWARE\\KESTRIN\\Zarndesk");
        registry.SetString("Last Update RF Application Firmware File", scratch.File("QM630106A.dlf"));
    }
    // The meter goes away once it has taken the radio application.
    MeterSimulator* meter = sim.meter.get();
    sim.mode->SetOnCommit([meter](const std::string& target, const std::vector<std::string>&) {
        if (target == "P0001F") meter->Unplug();
    });
    auto dialog = Launch({"Zarnflash"});
    ASSERT_EQ("T-140DR", dialog->ModelName());
    dialog->OnStart();
    RunToEnd(*dialog);
    EXPECT_EQ(kFlashStillInUpdateMode, dialog->ResultCode());
    EXPECT_EQ(QString::fromStdString(GetLangString(50134)), dialog->StatusLabel()->text());
    dialog->OnExit();
}

// Chosen while no meter is attached, an image is checked once a meter is read: the poll's result
// names it and takes Start away.
TEST_F(FlashStandAlone, AMeterReadLaterIsCheckedAgainstTheChoice)
{
    ChooseMain("QP520210.dlf", FlashScriptLines("P0000F", 2), "21\n\n20240102\n");
    auto dialog = Launch({"Zarnflash"});
    ASSERT_EQ("", dialog->ModelName());
    EXPECT_TRUE(dialog->StartButton()->isEnabled());
    SimFlashHidMeter::Add(hid, false, 0x10);
    dialog->OnTimer();
    while (dialog->ModelName().empty()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ("T-140D", dialog->ModelName());
    EXPECT_FALSE(dialog->StartButton()->isEnabled());
    EXPECT_EQ(QString::fromStdString(FormatLangString(50133, {"QP520210.dlf"})), dialog->VersionLabel()->text());
    dialog->OnExit();
}

// The poll reads the meter on its own thread and the window takes the result when it comes.
TEST_F(FlashStandAlone, PollReadsTheMeterOffTheWindowThread)
{
    auto dialog = Launch({"Zarnflash"});
    EXPECT_EQ(QString::fromStdString(GetLangString(50000)).replace("%s", "*"), dialog->windowTitle());
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, true);
    dialog->OnTimer();
    EXPECT_TRUE(dialog->TimerActive());
    while (dialog->ModelName().empty()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ("T-520D", dialog->ModelName());
    EXPECT_EQ(QString::fromStdString(GetLangString(50000)).replace("%s", "T-520D"), dialog->windowTitle());
    EXPECT_TRUE(dialog->ModelPicture()->isVisibleTo(dialog.get()));
    dialog->OnExit();
}

} // namespace
