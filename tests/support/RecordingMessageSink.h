// A message sink for tests of code that posts from its own threads: records every post to a live
// window, in order, under a lock; windows are made live and destroyed by the test, and posts to a
// destroyed window are dropped and counted. Tests wait for a condition on the record with a
// real-time limit instead of sleeping.
#pragma once

#include "platform/MessageSink.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <vector>

class RecordingMessageSink final : public MessageSink {
public:
    struct Post {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    // A new live window with a handle never used before.
    HWND CreateWindow();
    void DestroyWindow(HWND window);

    BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL IsWindow(HWND window) const override;

    std::vector<Post> Posts() const;
    // Posts of one message number (to any window), in order.
    std::vector<Post> PostsOf(UINT message) const;
    std::vector<Post> PostsTo(HWND window) const;
    int DroppedCount() const;
    // Waits until pred(posts) holds; false after limitMs of real time.
    bool WaitFor(const std::function<bool(const std::vector<Post>&)>& pred, std::uint32_t limitMs = 20000) const;
    // Waits until count posts of message have arrived.
    bool WaitForCount(UINT message, std::size_t count, std::uint32_t limitMs = 20000) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable cv_;
    std::vector<Post> posts_;
    std::set<std::uint64_t> live_;
    std::uint64_t next_ = 100;
    int dropped_ = 0;
};
