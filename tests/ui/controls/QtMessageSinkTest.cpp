#include "platform/qt/QtMessageSink.h"
#include "platform/qt/WindowMessageHandler.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class Recorder : public QObject, public WindowMessageHandler {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        std::lock_guard lock(mutex);
        received.push_back({message, wParam, lParam});
        return static_cast<LRESULT>(wParam) + 100;
    }
    std::mutex mutex; // the test reads while other threads post; delivery is on this thread only
    std::vector<Received> received;
};

void Deliver()
{
    QCoreApplication::sendPostedEvents();
}

TEST(QtMessageSink, PostedMessageArrivesWithItsWordsOnlyWhenEventsAreProcessed)
{
    QtMessageSink sink;
    Recorder window;
    const HWND handle = sink.Register(&window, &window);
    ASSERT_TRUE(handle);

    EXPECT_EQ(sink.PostMessage(handle, WM_USER + 2, 3, 40), TRUE);
    EXPECT_EQ(sink.PostMessage(handle, WM_APP + 0x98, 0, -7), TRUE);
    EXPECT_TRUE(window.received.empty()) << "posting must not call the window";

    Deliver();
    ASSERT_EQ(window.received.size(), 2u);
    EXPECT_EQ(window.received[0].message, WM_USER + 2);
    EXPECT_EQ(window.received[0].wParam, 3u);
    EXPECT_EQ(window.received[0].lParam, 40);
    EXPECT_EQ(window.received[1].message, WM_APP + 0x98);
    EXPECT_EQ(window.received[1].lParam, -7);
}

TEST(QtMessageSink, MessagesToAWindowThatIsGoneAreDropped)
{
    QtMessageSink sink;
    auto window = std::make_unique<Recorder>();
    const HWND handle = sink.Register(window.get(), window.get());
    EXPECT_EQ(sink.IsWindow(handle), TRUE);

    // Queued before the end, and posted after it.
    EXPECT_EQ(sink.PostMessage(handle, WM_USER + 3, 1, 0), TRUE);
    window.reset();
    EXPECT_EQ(sink.IsWindow(handle), FALSE);
    EXPECT_EQ(sink.PostMessage(handle, WM_USER + 3, 2, 0), FALSE);
    EXPECT_EQ(sink.SendMessage(handle, WM_USER + 3, 2, 0), 0);
    Deliver(); // nothing may reach the deleted object

    // A new window never inherits the old handle.
    Recorder later;
    const HWND laterHandle = sink.Register(&later, &later);
    EXPECT_NE(laterHandle, handle);
    EXPECT_EQ(sink.PostMessage(handle, WM_USER + 3, 3, 0), FALSE);
    Deliver();
    EXPECT_TRUE(later.received.empty());
}

TEST(QtMessageSink, AMessageQueuedBeforeUnregisteringIsDroppedOnArrival)
{
    QtMessageSink sink;
    Recorder window;
    const HWND handle = sink.Register(&window, &window);
    EXPECT_EQ(sink.PostMessage(handle, WM_USER + 1, 1, 0), TRUE);
    sink.Unregister(handle);
    Deliver();
    EXPECT_TRUE(window.received.empty());
    EXPECT_EQ(sink.FindWindow(handle), nullptr);
}

TEST(QtMessageSink, RefusesWhatCannotBePosted)
{
    QtMessageSink sink;
    Recorder window;
    const HWND handle = sink.Register(&window, &window);

    EXPECT_EQ(sink.PostMessage(HWND(), WM_USER, 0, 0), FALSE);
    EXPECT_EQ(sink.PostMessage(HWND(987654), WM_USER, 0, 0), FALSE);
    // Numbers below WM_USER would collide with Qt's own events; above 0xFFFF they do not fit.
    EXPECT_EQ(sink.PostMessage(handle, 0x0010, 0, 0), FALSE);
    EXPECT_EQ(sink.PostMessage(handle, WM_USER - 1, 0, 0), FALSE);
    EXPECT_EQ(sink.PostMessage(handle, 0x10000, 0, 0), FALSE);
    EXPECT_EQ(sink.Register(nullptr, &window), HWND());
    Deliver();
    EXPECT_TRUE(window.received.empty());
}

TEST(QtMessageSink, RegisteringTwiceKeepsOneHandleAndDeliversOnce)
{
    QtMessageSink sink;
    Recorder window;
    const HWND first = sink.Register(&window, &window);
    EXPECT_EQ(sink.Register(&window, &window), first);
    EXPECT_EQ(sink.FindHandle(&window), first);
    EXPECT_EQ(sink.FindWindow(first), &window);
    sink.PostMessage(first, WM_USER + 7, 0, 0);
    Deliver();
    EXPECT_EQ(window.received.size(), 1u);
}

TEST(QtMessageSink, SendCallsTheHandlerAtOnceOnTheWindowsThreadOnly)
{
    QtMessageSink sink;
    Recorder window;
    const HWND handle = sink.Register(&window, &window);

    EXPECT_EQ(sink.SendMessage(handle, WM_USER + 0x69, 5, 0), 105);
    ASSERT_EQ(window.received.size(), 1u);

    LRESULT fromOtherThread = -1;
    std::thread other([&] { fromOtherThread = sink.SendMessage(handle, WM_USER + 0x69, 6, 0); });
    other.join();
    EXPECT_EQ(fromOtherThread, 0);
    EXPECT_EQ(window.received.size(), 1u);
}

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
// nothing reaches the deleted object.
TEST(QtMessageSinkThreads, PostingWhileTheWindowIsDestroyedIsSafe)
{
    QtMessageSink sink;
    auto window = std::make_unique<Recorder>();
    const HWND handle = sink.Register(window.get(), window.get());

    std::atomic<bool> stop{false};
    std::atomic<int> refused{0};
    std::thread worker([&] {
        while (!stop.load()) {
            if (!sink.PostMessage(handle, WM_USER + 1, 1, 0)) {
                refused.fetch_add(1);
            }
        }
    });
    for (int round = 0; round < 20; ++round) {
        Deliver();
    }
    window.reset();
    while (refused.load() == 0) {
        std::this_thread::yield();
    }
    stop = true;
    worker.join();
    Deliver();
    EXPECT_EQ(sink.IsWindow(handle), FALSE);
}

} // namespace
