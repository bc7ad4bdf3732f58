#include "platform/qt/QtMessageSink.h"
#include "platform/qt/WindowMessageHandler.h"
#include "tests/ui/controls/MessageRecorder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using message_test::Deliver;
using message_test::Received;
using message_test::Recorder;

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

} // namespace
