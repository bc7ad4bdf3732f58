// The worker object's jobs on their own thread: downloads from a loopback update server, one-file
// transfers into a simulated meter, leaving the update mode, and the starters' rules.
#include "core/util/CLangTable.h"
#include "core/util/PathUtility.h"
#include "flash/CZarnflashThread.h"
#include "flash/FlashRefusalText.h"
#include "tests/flash/FlashSimLinks.h"
#include "tests/flash/FlashTestKit.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>

#include <sys/stat.h>

namespace {

// A worker whose thread waits at its start until the test lets it go.
class GatedThread final : public CZarnflashThread {
public:
    bool failStart = false;
    std::promise<void> gate;

protected:
    bool LaunchThread(std::function<void()> body) override
    {
        if (failStart) return false;
        auto released = gate.get_future().share();
        return CZarnflashThread::LaunchThread([released, body] {
            released.wait();
            body();
        });
    }
};

LoopbackHttpServer::Route Body(const std::string& text)
{
    LoopbackHttpServer::Route route;
    route.body = text;
    return route;
}

class FlashWorker : public ::testing::Test {
protected:
    void SetUp() override
    {
        server.SetRoute("/ver/version.txt",
                        Body("[Version]\r\nT-140DR,21,2024/01/02\r\nT-140RFA,12.0105,2024/01/02\r\n[Status]\r\nNormal"));
        worker.SetEnvironment(&links, &hid.Clock());
        worker.SetHttpTimeouts(5000, 5000);
        worker.SetSettings("/opt/zarn", server.BaseUrl(), server.BaseUrl() + "/ver/version.txt",
                           server.BaseUrl() + "/ver/%s/list.txt", scratch.Path(), ZarnProxySettings());
    }
    void ServeList(const std::string& model, const std::string& version, const std::vector<std::string>& names)
    {
        std::string list = "[URL]\nfiles\n[Files]\n";
        int i = 1;
        for (const std::string& name : names) {
            list += std::to_string(i++) + "," + name + "\n";
            server.SetRoute("/files/" + name, Body("content of " + name));
        }
        list += "[Status]\nNormal\n";
        server.SetRoute("/ver/firmware/" + model + "/" + version + "/list.txt", Body(list));
    }
    void Run()
    {
        worker.gate.set_value();
        worker.Wait();
    }

    ScratchFolder scratch;
    ScratchFolder sysfs;
    LoopbackHttpServer server;
    SimHidDeviceSystem hid;
    SimFlashLinks links{hid, sysfs.Path()};
    GatedThread worker;
    RecordingFlashTarget target;
};

TEST_F(FlashWorker, DownloadFetchesEveryFileWithProgress)
{
    ServeList("T-140DR", "21", {"readme.txt", "QM630210.DLF", "QM630210.ver"});
    ASSERT_TRUE(worker.StartDownload("T-140DR", "21", &target, kJobDownloadMain));
    EXPECT_FALSE(worker.StartDownload("T-140DR", "21", &target, kJobDownloadMain));
    Run();
    EXPECT_EQ((std::vector<std::pair<unsigned, unsigned>>{{100, 0}, {4, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 4}}),
              target.Progress());
    EXPECT_EQ(WM_UPDATE_JOB_DONE, target.Last().message);
    EXPECT_EQ(1u, target.Last().wParam);
    std::string path;
    worker.GetDownloadedDlfPath(path);
    EXPECT_EQ(scratch.File("QM630210.DLF"), path);
    EXPECT_TRUE(FileExists(path));
}

TEST_F(FlashWorker, DownloadResults)
{
    struct Case {
        const char* name;
        std::string type;
        std::string version;
        std::vector<std::string> files; // served
        bool brokenFile;
        UINT message;
        LPARAM code;
        std::vector<std::pair<unsigned, unsigned>> progress;
    } cases[] = {
        {"empty list", "T-140DR", "21", {}, false, WM_UPDATE_JOB_DONE, 0, {{100, 0}, {1, 1}, {1, 1}}},
        {"version looked up", "T-140RFA", "", {"QM63A.dlf"}, false, WM_UPDATE_JOB_DONE, 0, {{100, 0}, {2, 1}, {2, 2}, {2, 2}}},
        {"no version record", "T-140RFU", "", {}, false, WM_UPDATE_JOB_FAILED, kFlashNoVersion, {{100, 0}, {100, 100}}},
        {"no list", "T-140D", "9", {}, false, WM_UPDATE_JOB_FAILED, kFlashFileList, {{100, 0}, {100, 100}}},
        {"file missing", "T-140DR", "22", {"a.dlf"}, true, WM_UPDATE_DOWNLOAD_FAILED, kFlashDownload, {{100, 0}, {2, 1}, {2, 2}}},
        {"name leaving the folder", "T-140DR", "23", {"../QM630230.dlf"}, false, WM_UPDATE_DOWNLOAD_FAILED, kFlashDownload,
         {{100, 0}, {2, 1}, {2, 2}}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        target.Clear();
        worker.gate = std::promise<void>();
        if (c.type != "T-140D") ServeList(c.type, c.version.empty() ? "12.0105" : c.version, c.files);
        if (c.brokenFile) server.SetRoute("/files/a.dlf", LoopbackHttpServer::Route{404, "", false, std::string::npos, 0, {}});
        ASSERT_TRUE(worker.StartDownload(c.type, c.version, &target, kJobDownloadRadioApp));
        Run();
        EXPECT_EQ(c.progress, target.Progress());
        EXPECT_EQ(c.message, target.Last().message);
        EXPECT_EQ(c.code, target.Last().lParam);
        EXPECT_EQ(4u, target.Last().wParam);
    }
    EXPECT_FALSE(FileExists(scratch.Path() + "/../QM630230.dlf"));
}

TEST_F(FlashWorker, CancelBeforeTheFirstFileLeavesTheListEmpty)
{
    ServeList("T-140DR", "21", {"QM630210.dlf"});
    ASSERT_TRUE(worker.StartDownload("T-140DR", "21", &target, kJobDownloadMain));
    worker.Cancel();
    Run();
    EXPECT_EQ(WM_UPDATE_CANCELLED, target.Last().message);
    std::string path = "x";
    worker.GetDownloadedDlfPath(path);
    EXPECT_EQ("", path);
}

// A file whose server sends a byte every two seconds: the cancel ends its transfer within a second,
// the job says cancelled, and no part of the file stays.
TEST_F(FlashWorker, CancelDuringAStalledDownloadEndsItWithinASecond)
{
    ServeList("T-140DR", "21", {"QM630210.dlf"});
    server.SetRoute("/files/QM630210.dlf", LoopbackHttpServer::Drip());
    ASSERT_TRUE(worker.StartDownload("T-140DR", "21", &target, kJobDownloadMain));
    worker.gate.set_value();
    ASSERT_TRUE(server.WaitForRequests(2)); // the list, then the file
    const auto cancelled = std::chrono::steady_clock::now();
    worker.Cancel();
    worker.Wait();
    EXPECT_LT(std::chrono::steady_clock::now() - cancelled, std::chrono::seconds(1));
    EXPECT_EQ(WM_UPDATE_CANCELLED, target.Last().message);
    EXPECT_TRUE(std::filesystem::is_empty(scratch.Path()));
    server.Stop();
}

TEST_F(FlashWorker, AWorkerThatCannotStartIsReported)
{
    worker.failStart = true;
    EXPECT_FALSE(worker.StartDownload("T-140DR", "21", &target, kJobDownloadMain));
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(0, worker.Wait());
}

TEST_F(FlashWorker, OneFileTransferAndLeavingUpdateMode)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, false);
    WriteFlashFile(scratch.File("QM630210.dlf"), FlashScriptLines("P0000F", 4));
    worker.SetDevicePath(kT140Path);
    ASSERT_TRUE(worker.StartMainT140File(&target, scratch.Path() + "/", "QM630210.dlf", ""));
    Run();
    EXPECT_EQ(WM_UPDATE_JOB_DONE, target.Last().message);
    EXPECT_EQ(4u, sim.mode->Memory("P0000F").size());

    worker.gate = std::promise<void>();
    sim.meter->ClearLog();
    ASSERT_TRUE(worker.StartExitUpdateModeT140(&target));
    Run();
    EXPECT_EQ(WM_UPDATE_JOB_DONE, target.Last().message);
    EXPECT_EQ(11u, target.Last().wParam);
    EXPECT_EQ(std::vector<std::string>{"H00000"}, sim.meter->Log());

    // The meter vanishes as the command goes out: the job fails, saying the meter still waits.
    worker.gate = std::promise<void>();
    sim.meter->ResetExchangeCount();
    sim.meter->InjectFault({MeterFaultKind::Unplug, 0, 0});
    ASSERT_TRUE(worker.StartExitUpdateModeT140(&target));
    Run();
    EXPECT_EQ(WM_UPDATE_JOB_FAILED, target.Last().message);
    EXPECT_EQ(kFlashStillInUpdateMode, target.Last().lParam);

    // No T-520 attached.
    worker.gate = std::promise<void>();
    ASSERT_TRUE(worker.StartExitUpdateModeT520(&target));
    Run();
    EXPECT_EQ(WM_UPDATE_JOB_FAILED, target.Last().message);
    EXPECT_EQ(0x20000008, target.Last().lParam);
}

// The worker checks every image of its own job before the link opens, whoever chose it: the
// meter's prefix, the radio slot's letter, and for chosen images the version companion.
TEST_F(FlashWorker, ImagesAreCheckedBeforeTheLinkOpens)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, false, 0x11);
    worker.SetMeterModel("T-140DR");
    const std::string folder = scratch.Path() + "/";
    struct Case {
        const char* name;
        const char* file;
        const char* entry;
        const char* ver; // null: none
        bool chosen;
        int result;
        VerFileProblem problem;
    } cases[] = {
        {"another meter's image", "QP520210.dlf", "P0000F", nullptr, false, kFlashBadScript, VerFileProblem::None},
        {"a loader image in the application's slot", "QM630106L.dlf", "P0001F", nullptr, false, kFlashBadScript,
         VerFileProblem::None},
        {"a downloaded image needs no companion", "QM630106A.dlf", "P0001F", nullptr, false, 0, VerFileProblem::None},
        {"a chosen image without its companion", "QM630107A.dlf", "P0001F", nullptr, true, kFlashNoVersionFile,
         VerFileProblem::Missing},
        {"a chosen image with a date not of eight digits", "QM630108A.dlf", "P0001F", "12\n0108\n2021-03-15\n", true,
         kFlashNoVersionFile, VerFileProblem::BadDate},
        {"a chosen image with its companion", "QM630109A.dlf", "P0001F", "12\n0109\n20210315\n", true, 0,
         VerFileProblem::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFlashFile(scratch.File(c.file), FlashScriptLines(c.entry, 2));
        if (c.ver) WriteFlashText(folder + std::string(c.file).substr(0, 9) + ".ver", c.ver);
        worker.SetRequireVersionFiles(c.chosen);
        worker.gate = std::promise<void>();
        sim.meter->ClearLog();
        const int opened = hid.OpenCount();
        ASSERT_TRUE(worker.StartRadioAppT140File(&target, folder, c.file, ""));
        Run();
        EXPECT_EQ(c.result == 0 ? WM_UPDATE_JOB_DONE : WM_UPDATE_JOB_FAILED, target.Last().message);
        EXPECT_EQ(static_cast<LPARAM>(c.result), target.Last().lParam);
        if (c.result != 0) {
            EXPECT_EQ(opened, hid.OpenCount());
            EXPECT_TRUE(sim.meter->Log().empty());
            EXPECT_EQ(c.file, worker.LastRefusal().name);
            EXPECT_EQ(c.problem, worker.LastRefusal().version);
        } else {
            EXPECT_TRUE(worker.LastRefusal().Ok());
        }
    }
}

// A job that refuses its image keeps why and the file's name, whether the name, the companion or
// the script was refused: a truncated script, an empty one, a FIFO and another meter's image.
TEST_F(FlashWorker, ARefusedImageIsNamed)
{
    CLangTable::GetInstance()->Load(ZARN_SOURCE_DIR "/data/String.txt");
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, false, 0x10);
    worker.SetMeterModel("T-140D");
    worker.SetRequireVersionFiles(true);
    const std::string folder = scratch.Path() + "/";
    std::string whole;
    for (const std::string& line : FlashScriptLines("P0000F", 4)) whole += line + "\r\n";
    WriteFlashText(scratch.File("QM630181.dlf"), whole.substr(0, whole.size() / 2));
    WriteFlashText(scratch.File("QM630182.dlf"), "");
    ASSERT_EQ(0, ::mkfifo(scratch.File("QM630183.dlf").c_str(), 0600));
    WriteFlashFile(scratch.File("QP520180.dlf"), FlashScriptLines("P0000F", 2));
    struct Case {
        const char* file;
        FlashImageProblem::Kind kind;
        int textId;
    } cases[] = {
        {"QM630181.dlf", FlashImageProblem::Kind::Script, 50142},
        {"QM630182.dlf", FlashImageProblem::Kind::Script, 50139},
        {"QM630183.dlf", FlashImageProblem::Kind::Script, 50137},
        {"QP520180.dlf", FlashImageProblem::Kind::WrongName, 50133},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        WriteFlashText(folder + std::string(c.file).substr(0, 8) + ".ver", "18\n\n20240102\n");
        worker.gate = std::promise<void>();
        sim.meter->ClearLog();
        ASSERT_TRUE(worker.StartMainT140File(&target, folder, c.file, ""));
        Run();
        EXPECT_EQ(WM_UPDATE_JOB_FAILED, target.Last().message);
        EXPECT_EQ(kFlashBadScript, target.Last().lParam);
        EXPECT_TRUE(sim.meter->Log().empty());
        const FlashImageProblem refusal = worker.LastRefusal();
        EXPECT_EQ(c.kind, refusal.kind);
        EXPECT_EQ(c.file, refusal.name);
        EXPECT_EQ(c.textId, FlashRefusalTextId(refusal));
        EXPECT_NE(std::string::npos, FlashRefusalText(refusal).find(c.file)) << FlashRefusalText(refusal);
    }
    // The next sound job clears the refusal.
    WriteFlashFile(scratch.File("QM630184.dlf"), FlashScriptLines("P0000F", 2));
    WriteFlashText(scratch.File("QM630184.ver"), "18\n\n20240102\n");
    worker.gate = std::promise<void>();
    ASSERT_TRUE(worker.StartMainT140File(&target, folder, "QM630184.dlf", ""));
    Run();
    EXPECT_EQ(WM_UPDATE_JOB_DONE, target.Last().message);
    EXPECT_TRUE(worker.LastRefusal().Ok());
    CLangTable::Free();
}

} // namespace
