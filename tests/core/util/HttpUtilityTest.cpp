// The version check, file lists and downloads against the loopback server, directly and through
// the loopback proxy.
#include "core/util/HttpUtility.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/FileText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const char kVersionPath[] = "/ver_info/version.txt";
const char kVersionBody[] = "[Version]\r\nAPL,5.2.0,2024/03/01\r\nT-310D_DR,2.00,2024/02/01\r\n[Status]\r\nNormal";
const char kListBody[] = "[URL]\nver_info/Zarndesk3/files\n[Files]\n1,fw.bin\n[Scripts]\n1,s.dlf\n[Status]\nNormal\n";

// Peak resident memory of this process, in KiB, since the last ResetPeakMemory.
long PeakMemoryKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

// Sets the peak to what the process holds now; false where the system cannot.
bool ResetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return clear.good();
}

constexpr long kMemoryBoundKb = 64 * 1024;

LoopbackHttpServer::Route Body(const std::string& body, bool chunked = false)
{
    LoopbackHttpServer::Route r;
    r.body = body;
    r.chunked = chunked;
    return r;
}

LoopbackHttpServer::Route Generated(std::uint64_t size, bool chunked, char byte = 'a')
{
    LoopbackHttpServer::Route r;
    r.generatedSize = size;
    r.generatedByte = byte;
    r.chunked = chunked;
    return r;
}

class HttpUtilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Requests without a named proxy follow the environment; keep them on the loopback server.
        LoopbackHttpServer::IgnoreEnvironmentProxies();
        server.SetRoute(kVersionPath, Body(kVersionBody, true));
    }
    ZarnProxySettings ProxyTo(const LoopbackHttpServer& proxy, const std::string& user, const std::string& password,
                              int useProxy = 1)
    {
        ZarnProxySettings s;
        s.useProxy = useProxy;
        s.server = "127.0.0.1";
        s.port = std::to_string(proxy.Port());
        s.user = user;
        s.password = password;
        return s;
    }

    LoopbackHttpServer server;
};

TEST_F(HttpUtilityTest, VersionCheckDirect)
{
    HttpUtility http;
    ASSERT_TRUE(http.Connect(server.BaseUrl()));
    std::vector<ZarnUpdateRecord> records;
    const std::string url = server.BaseUrl() + kVersionPath;
    EXPECT_EQ(http.GetVersionList(url, records), 1); // "Normal" arrives without a final LF
    ASSERT_EQ(records.size(), 2u);
    ZarnUpdateRecord meter;
    ASSERT_EQ(http.FindUpdateRecord(records, "T-310D/DR", meter), 1);
    EXPECT_EQ(meter.version, "2.00");

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, kVersionPath);
    EXPECT_EQ(requests[0].headers.at("user-agent"), "HttpUtility");
    EXPECT_EQ(requests[0].headers.at("referer"), url);
    EXPECT_EQ(requests[0].headers.at("content-type"), "text/xml");
    EXPECT_EQ(requests[0].headers.count("proxy-authorization"), 0u);
}

TEST_F(HttpUtilityTest, VersionCheckAndFileListThroughProxyWithCredentials)
{
    LoopbackHttpServer proxy;
    proxy.SetProxyMode("user", "pa:ss", &server);
    server.SetRoute("/ver_info/Zarndesk3/firmware/T-310D_DR/2.00/file_list.txt", Body(kListBody));

    HttpUtility http(ProxyTo(proxy, "user", "pa:ss"));
    ASSERT_TRUE(http.Connect(server.BaseUrl()));
    std::vector<ZarnUpdateRecord> records;
    EXPECT_EQ(http.GetVersionList(server.BaseUrl() + kVersionPath, records), 1);
    EXPECT_EQ(records.size(), 2u);
    std::vector<ZarnFileRecord> files;
    std::vector<ZarnFileRecord> scripts;
    EXPECT_EQ(http.GetFirmwareFileList(server.BaseUrl() + "/ver_info/Zarndesk3/%s/file_list.txt", "T-310D/DR", "2.00",
                                       files, scripts),
              1);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].url, "ver_info/Zarndesk3/files/fw.bin");
    ASSERT_EQ(scripts.size(), 1u);

    const auto seen = proxy.Requests();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].target, server.BaseUrl() + kVersionPath); // absolute URI to the proxy
    for (const auto& r : server.Requests()) EXPECT_TRUE(r.viaProxy) << r.path;
}

TEST_F(HttpUtilityTest, ProxyWithoutCompleteCredentialsIsRefusedAndNothingIsRead)
{
    LoopbackHttpServer proxy;
    proxy.SetProxyMode("user", "secret", &server);
    struct Case {
        std::string user;
        std::string password;
        bool sendsCredentials;
    };
    for (const Case& c : std::vector<Case>{{"user", "wrong", true}, {"user", "", false}, {"", "secret", false}}) {
        HttpUtility http(ProxyTo(proxy, c.user, c.password));
        ASSERT_TRUE(http.Connect(server.BaseUrl()));
        std::vector<ZarnUpdateRecord> records;
        EXPECT_EQ(http.GetVersionList(server.BaseUrl() + kVersionPath, records), 0);
        EXPECT_TRUE(records.empty());
        const auto seen = proxy.Requests();
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back().headers.count("proxy-authorization") > 0, c.sendsCredentials) << c.user << c.password;
    }
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(HttpUtilityTest, ProxyIsUsedOnlyWhenUseProxyIsOne)
{
    LoopbackHttpServer proxy;
    proxy.SetProxyMode("u", "p", &server);
    HttpUtility http(ProxyTo(proxy, "u", "p", 2));
    ASSERT_TRUE(http.Connect(server.BaseUrl()));
    std::vector<ZarnUpdateRecord> records;
    EXPECT_EQ(http.GetVersionList(server.BaseUrl() + kVersionPath, records), 1);
    EXPECT_TRUE(proxy.Requests().empty());
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_FALSE(server.Requests()[0].viaProxy);
}

TEST_F(HttpUtilityTest, RequestsGoToTheConnectedServerWhateverHostTheUrlNames)
{
    HttpUtility http;
    ASSERT_TRUE(http.Connect(server.BaseUrl() + "/ignored/path"));
    std::vector<std::string> lines;
    EXPECT_TRUE(http.Get("http://elsewhere.invalid:9" + std::string(kVersionPath) , "GET", "text/xml", lines));
    EXPECT_EQ(lines.back(), "Normal");
    server.SetRoute("/q?x=1", Body("q\n"));
    EXPECT_TRUE(http.Get(server.BaseUrl() + "/q?x=1", "GET", "text/xml", lines));
    EXPECT_EQ(lines, std::vector<std::string>{"q"});
}

TEST_F(HttpUtilityTest, FailedResponsesDeliverNoLines)
{
    LoopbackHttpServer::Route moved = Body("[Status]\nNormal\n");
    moved.status = 302;
    moved.extraHeaders = {"Location: " + std::string(kVersionPath)};
    LoopbackHttpServer::Route cut = Body("[Status]\nNormal\n");
    cut.truncateAt = 5;
    LoopbackHttpServer::Route cutChunked = cut;
    cutChunked.chunked = true;
    server.SetRoute("/moved", moved);
    server.SetRoute("/cut", cut);
    server.SetRoute("/cutchunked", cutChunked);

    HttpUtility http;
    ASSERT_TRUE(http.Connect(server.BaseUrl()));
    for (const char* path : {"/missing", "/moved", "/cut", "/cutchunked"}) {
        std::vector<std::string> lines = {"old"};
        EXPECT_FALSE(http.Get(server.BaseUrl() + path, "GET", "text/xml", lines)) << path;
        EXPECT_TRUE(lines.empty()) << path;
    }
    // The redirect was not followed.
    EXPECT_EQ(server.Requests().size(), 4u);
}

TEST_F(HttpUtilityTest, SilentServerIsBoundedByTheStallTimeout)
{
    LoopbackHttpServer::Route slow = Body("[Status]\nNormal\n");
    slow.delayMs = LoopbackHttpServer::kMaxDelayMs;
    server.SetRoute("/slow", slow);
    HttpUtility http;
    http.SetTimeouts(1000, 150);
    ASSERT_TRUE(http.Connect(server.BaseUrl()));
    std::vector<std::string> lines;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(http.Get(server.BaseUrl() + "/slow", "GET", "text/xml", lines));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
    server.Stop(); // ends the delayed answer at once
}

// A reply that brings less than the low-speed bytes within the window fails once the window has
// passed, however long it would go on: a byte now and then, or a steady trickle below the rate.
TEST_F(HttpUtilityTest, AReplyThatBringsTooLittleWithinTheWindowFails)
{
    struct Case {
        const char* path;
        size_t pieceSize;
        int intervalMs;
    };
    const Case cases[] = {{"/drip", 1, 2000}, {"/trickle", 100, 200}};
    for (const Case& c : cases) server.SetRoute(c.path, LoopbackHttpServer::Drip(c.pieceSize, c.intervalMs, '\n'));
    constexpr long kWindowMs = 1000;
    for (const Case& c : cases) {
        for (const bool download : {false, true}) {
            SCOPED_TRACE(std::string(c.path) + (download ? " download" : " text"));
            ScratchFolder dir;
            HttpUtility http;
            http.SetTimeouts(1000, kWindowMs);
            ASSERT_TRUE(http.Connect(server.BaseUrl()));
            std::vector<std::string> lines;
            ZarnFileRecord record;
            record.SetUrl(c.path + 1);
            record.SetFileName("f.bin");
            const auto start = std::chrono::steady_clock::now();
            EXPECT_FALSE(download ? http.Download(server.BaseUrl(), record, dir.Path())
                                  : http.Get(server.BaseUrl() + c.path, "GET", "text/xml", lines));
            const auto took = std::chrono::steady_clock::now() - start;
            EXPECT_GE(took, std::chrono::milliseconds(kWindowMs - 20)); // the window is kept in whole milliseconds
            EXPECT_LT(took, std::chrono::milliseconds(kWindowMs + 900));
            EXPECT_TRUE(lines.empty());
            EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
        }
    }
    server.Stop();
}

// Bodies a hostile or broken server may send where a text resource is expected.
TEST_F(HttpUtilityTest, OversizedTextResourcesFailWithoutGrowingTheProgram)
{
    struct Case {
        const char* path;
        std::uint64_t size;
        char byte;
        bool chunked;
    };
    const Case cases[] = {
        {"/endless-line", 256ull << 20, 'a', true},    // no line feed at all, no announced length
        {"/huge-sized", 256ull << 20, 'b', false},     // a length announced up front
        {"/many-lines", 8ull << 20, '\n', true},        // millions of empty lines
    };
    for (const Case& c : cases) server.SetRoute(c.path, Generated(c.size, c.chunked, c.byte));
    HttpUtility http;
    ASSERT_TRUE(http.Connect(server.BaseUrl()));
    for (const Case& c : cases) {
        std::vector<std::string> lines = {"old"};
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(http.Get(server.BaseUrl() + c.path, "GET", "text/xml", lines)) << c.path;
        EXPECT_TRUE(lines.empty()) << c.path;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << c.path;
    }
    // A body just within the bound still arrives whole.
    server.SetRoute("/within", Body(std::string(HttpUtility::kMaxTextBytes - 9, 'x') + "\n[Status]"));
    std::vector<std::string> lines;
    ASSERT_TRUE(http.Get(server.BaseUrl() + "/within", "GET", "text/xml", lines));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "[Status]");
}

TEST_F(HttpUtilityTest, UpdateCheckAgainstAnEndlessBodyFailsSoonWithBoundedMemory)
{
    LoopbackHttpServer::Route endless;
    endless.generatedSize = 1ull << 40; // far more than any run would send
    endless.chunked = true;
    server.SetRoute(kVersionPath, endless);
    if (!ResetPeakMemory()) GTEST_SKIP() << "the peak memory cannot be reset here";
    const long startKb = PeakMemoryKb();
    const auto start = std::chrono::steady_clock::now();
    HttpUtility http;
    http.Connect(server.BaseUrl());
    std::vector<ZarnUpdateRecord> records;
    EXPECT_EQ(http.GetVersionList(server.BaseUrl() + kVersionPath, records), 0);
    EXPECT_TRUE(records.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_LT(PeakMemoryKb() - startKb, kMemoryBoundKb);
}

TEST_F(HttpUtilityTest, NothingIsRequestedWithoutASuccessfulConnect)
{
    HttpUtility http;
    std::vector<std::string> lines = {"old"};
    EXPECT_FALSE(http.Get(server.BaseUrl() + kVersionPath, "GET", "text/xml", lines));
    EXPECT_EQ(lines, std::vector<std::string>{"old"});
    for (const std::string& url : {std::string("https://127.0.0.1/"), std::string("ftp://127.0.0.1/"),
                                   std::string("not a url"), std::string("")}) {
        EXPECT_FALSE(http.Connect(url)) << url;
    }
    ASSERT_TRUE(http.Connect(server.BaseUrl()));
    EXPECT_FALSE(http.Connect("https://127.0.0.1/")); // the first connection is released
    std::vector<ZarnUpdateRecord> records;
    std::vector<ZarnFileRecord> files;
    EXPECT_EQ(http.GetVersionList(server.BaseUrl() + kVersionPath, records), 0);
    EXPECT_EQ(http.GetAppFileList(server.BaseUrl() + "/%s", "1", "", files, files), 0);
    ZarnFileRecord record;
    record.SetUrl("a.bin");
    record.SetFileName("a.bin");
    ScratchFolder dir;
    EXPECT_FALSE(http.Download(server.BaseUrl(), record, dir.Path()));
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(HttpUtilityTest, UnreachableServerFailsCleanly)
{
    LoopbackHttpServer gone;
    const std::string url = gone.BaseUrl();
    gone.Stop();
    HttpUtility http;
    ASSERT_TRUE(http.Connect(url));
    std::vector<std::string> lines;
    EXPECT_FALSE(http.Get(url + "/x", "GET", "text/xml", lines));
}

class DownloadTest : public HttpUtilityTest {
protected:
    ZarnFileRecord Record(const std::string& url, const std::string& name)
    {
        ZarnFileRecord r;
        r.SetUrl(url);
        r.SetFileName(name);
        return r;
    }
    std::vector<std::string> FolderEntries() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    ScratchFolder dir;
    std::string folder = dir.Path() + "/new/sub";
};

TEST_F(DownloadTest, WholeBodyReplacesTheFile)
{
    const std::string payload = std::string("\x00\x01\r\n", 4) + std::string(70000, 'z');
    server.SetRoute("/files/fw.bin", Body(payload));
    server.SetRoute("/files/chunked.bin", Body(payload, true));
    HttpUtility http;
    ASSERT_TRUE(http.Connect(server.BaseUrl()));
    ASSERT_TRUE(http.Download(server.BaseUrl(), Record("files/fw.bin", "fw.bin"), folder));
    EXPECT_EQ(ReadFile(folder + "/fw.bin"), payload);
    ASSERT_TRUE(http.Download(server.BaseUrl(), Record("files/chunked.bin", "fw.bin"), folder));
    EXPECT_EQ(ReadFile(folder + "/fw.bin"), payload);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"fw.bin"});
    EXPECT_EQ(server.Requests().back().headers.at("content-type"), "application/octet-stream");
}

TEST_F(DownloadTest, FailedDownloadKeepsTheOldFileAndLeavesNothingElse)
{
    LoopbackHttpServer::Route cut = Body(std::string(1000, 'n'));
    cut.truncateAt = 600;
    LoopbackHttpServer::Route cutChunked = cut;
    cutChunked.chunked = true;
    LoopbackHttpServer::Route error = Body("<html>error</html>");
    error.status = 500;
    server.SetRoute("/cut", cut);
    server.SetRoute("/cutchunked", cutChunked);
    server.SetRoute("/error", error);
    server.SetRoute("/empty", Body(""));

    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/fw.bin") << "old";
    HttpUtility http;
    ASSERT_TRUE(http.Connect(server.BaseUrl()));
    for (const char* path : {"cut", "cutchunked", "error", "missing", "empty"}) {
        EXPECT_FALSE(http.Download(server.BaseUrl(), Record(path, "fw.bin"), folder)) << path;
        EXPECT_EQ(ReadFile(folder + "/fw.bin"), "old") << path;
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{"fw.bin"}) << path;
        EXPECT_FALSE(http.Download(server.BaseUrl(), Record(path, "other.bin"), folder)) << path;
        EXPECT_FALSE(std::filesystem::exists(folder + "/other.bin")) << path;
    }
}

TEST_F(DownloadTest, SlowButSteadyDownloadOutlastsTheStallBoundAndArrives)
{
    // 12 pieces a quarter of a second apart: three seconds in all, three times the stall bound.
    LoopbackHttpServer::Route slow;
    slow.generatedSize = 12 * 4096;
    slow.generatedByte = 's';
    slow.pieceSize = 4096;
    slow.pieceIntervalMs = 250;
    server.SetRoute("/files/slow.bin", slow);
    HttpUtility http;
    http.SetTimeouts(1000, 1000);
    ASSERT_TRUE(http.Connect(server.BaseUrl()));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(http.Download(server.BaseUrl(), Record("files/slow.bin", "slow.bin"), folder));
    EXPECT_GT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
    EXPECT_EQ(ReadFile(folder + "/slow.bin"), std::string(12 * 4096, 's'));
}

TEST_F(DownloadTest, StalledDownloadFailsInBoundedTimeAndLeavesNothing)
{
    for (const bool chunked : {false, true}) {
        LoopbackHttpServer::Route stalled;
        stalled.generatedSize = 1 << 20;
        stalled.stallAfter = 10000;
        stalled.chunked = chunked;
        server.SetRoute("/files/stalled.bin", stalled);
        HttpUtility http;
        http.SetTimeouts(1000, 1000);
        ASSERT_TRUE(http.Connect(server.BaseUrl()));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(http.Download(server.BaseUrl(), Record("files/stalled.bin", "stalled.bin"), folder));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_TRUE(FolderEntries().empty());
    }
    server.Stop(); // lets the held answers go
}

TEST_F(DownloadTest, LargeDownloadIsStreamedToItsFile)
{
    constexpr std::uint64_t kSize = 96ull << 20; // more than the memory bound
    LoopbackHttpServer::Route large;
    large.generatedSize = kSize;
    large.generatedByte = 'L';
    server.SetRoute("/files/large.bin", large);
    if (!ResetPeakMemory()) GTEST_SKIP() << "the peak memory cannot be reset here";
    const long startKb = PeakMemoryKb();
    HttpUtility http;
    ASSERT_TRUE(http.Connect(server.BaseUrl()));
    ASSERT_TRUE(http.Download(server.BaseUrl(), Record("files/large.bin", "large.bin"), folder));
    EXPECT_LT(PeakMemoryKb() - startKb, kMemoryBoundKb);
    EXPECT_EQ(std::filesystem::file_size(folder + "/large.bin"), kSize);
}

// More than a download may hold, announced or not: refused, and the folder stays empty.
TEST_F(DownloadTest, BodyOverTheCeilingFailsAndLeavesNothing)
{
    struct Case {
        const char* path;
        std::uint64_t size;
        bool chunked;
    };
    const auto ceiling = static_cast<std::uint64_t>(HttpUtility::kMaxDownloadBytes);
    const Case cases[] = {
        {"/files/announced.bin", ceiling + 1, false}, // refused on its Content-Length
        {"/files/endless.bin", 1ull << 40, true},     // no length: stops at the ceiling
    };
    for (const Case& c : cases) server.SetRoute(c.path, Generated(c.size, c.chunked));
    HttpUtility http;
    ASSERT_TRUE(http.Connect(server.BaseUrl()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_FALSE(http.Download(server.BaseUrl(), Record(c.path + 1, "big.bin"), folder));
        EXPECT_TRUE(FolderEntries().empty());
    }
}

TEST_F(DownloadTest, NameFromTheServerMustStayInTheFolder)
{
    server.SetRoute("/files/x", Body("payload"));
    HttpUtility http;
    ASSERT_TRUE(http.Connect(server.BaseUrl()));
    for (const char* name : {"../escaped.bin", "..", "", "sub/x.bin", "a\\b", "x\r"}) {
        EXPECT_FALSE(http.Download(server.BaseUrl(), Record("files/x", name), folder)) << name;
    }
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "/new/escaped.bin"));
}

} // namespace
