// A transfer ends within a second of its cancel flag being set from another thread, whatever the
// server does meanwhile, and a cancelled download leaves nothing behind.
#include "core/util/HttpUtility.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

TEST(HttpCancel, ASetFlagEndsATransferWithinASecond)
{
    LoopbackHttpServer::IgnoreEnvironmentProxies();
    LoopbackHttpServer server;
    server.SetRoute("/drip", LoopbackHttpServer::Drip()); // never too slow for a long window
    LoopbackHttpServer::Route silent; // the head, then silence
    silent.generatedSize = 1 << 20;
    silent.stallAfter = 0;
    server.SetRoute("/silent", silent);

    int requests = 0;
    for (const char* path : {"/drip", "/silent"}) {
        for (const bool download : {false, true}) {
            SCOPED_TRACE(std::string(path) + (download ? " download" : " text"));
            ScratchFolder dir;
            std::atomic<bool> cancel{false};
            HttpUtility http;
            http.SetTimeouts(15000, 60000);
            http.SetCancelFlag(&cancel);
            ASSERT_TRUE(http.Connect(server.BaseUrl()));
            Clock::time_point cancelledAt;
            std::thread canceller([&] {
                if (!server.WaitForRequests(static_cast<std::size_t>(requests) + 1)) return;
                cancelledAt = Clock::now();
                cancel = true;
            });
            ZarnFileRecord record;
            record.SetUrl(path + 1);
            record.SetFileName("f.bin");
            std::vector<std::string> lines;
            const bool ok = download ? http.Download(server.BaseUrl(), record, dir.Path())
                                     : http.Get(server.BaseUrl() + path, "GET", "text/xml", lines);
            const Clock::time_point ended = Clock::now();
            canceller.join();
            ++requests;
            EXPECT_FALSE(ok);
            ASSERT_TRUE(cancel);
            EXPECT_LT(ended - cancelledAt, std::chrono::seconds(1));
            EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
        }
    }
    server.Stop();
}

} // namespace
