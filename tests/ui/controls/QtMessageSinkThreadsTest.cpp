#include "platform/qt/QtMessageSink.h"
#include "tests/support/qt/QtTestEnvironment.h"
#include "tests/ui/controls/MessageRecorder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

using message_test::Deliver;
using message_test::Received;
using message_test::Recorder;

// This program runs alone under ThreadSanitizer, so it brings its own application object.
[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new QtTestEnvironment<QCoreApplication>(QtTestTexts::None));

// Threads: several posters at once keep their own order, and none is lost.
TEST(QtMessageSinkThreads, PostsFromManyThreadsKeepEachThreadsOrder)
{
    QtMessageSink sink;
    Recorder window;
    const HWND handle = sink.Register(&window, &window);
    constexpr int kThreads = 4;
    constexpr int kPerThread = 500;

    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([&sink, handle, t] {
            for (int i = 0; i < kPerThread; ++i) {
                sink.PostMessage(handle, WM_USER + 2, static_cast<WPARAM>(t), i);
            }
        });
    }
    for (auto& poster : posters) {
        poster.join();
    }
    Deliver();

    ASSERT_EQ(window.received.size(), static_cast<std::size_t>(kThreads * kPerThread));
    std::vector<LPARAM> next(kThreads, 0);
    for (const Received& r : window.received) {
        ASSERT_LT(r.wParam, static_cast<WPARAM>(kThreads));
        EXPECT_EQ(r.lParam, next[r.wParam]) << "thread " << r.wParam << " out of order";
        next[r.wParam] = r.lParam + 1;
    }
}

// Threads: a window destroyed while a worker keeps posting to it; posts after the end fail and
// nothing reaches the deleted object. The worker's posts are bounded: an unfair lock may let it run
// far ahead of the window's destruction, and every accepted post holds an event until delivery.
TEST(QtMessageSinkThreads, PostingWhileTheWindowIsDestroyedIsSafe)
{
    QtMessageSink sink;
    auto window = std::make_unique<Recorder>();
    const HWND handle = sink.Register(window.get(), window.get());
    constexpr int kMaxPosts = 20000;

    std::atomic<bool> stop{false};
    std::thread worker([&] {
        for (int i = 0; i < kMaxPosts && !stop.load(); ++i) {
            sink.PostMessage(handle, WM_USER + 1, 1, 0);
            std::this_thread::yield();
        }
    });
    for (int round = 0; round < 20; ++round) {
        Deliver();
    }
    window.reset();
    EXPECT_EQ(sink.PostMessage(handle, WM_USER + 1, 1, 0), FALSE);
    stop = true;
    worker.join();
    Deliver();
    EXPECT_EQ(sink.IsWindow(handle), FALSE);
}

} // namespace
