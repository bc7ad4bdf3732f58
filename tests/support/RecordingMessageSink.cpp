#include "tests/support/RecordingMessageSink.h"

#include <chrono>

HWND RecordingMessageSink::CreateWindow()
{
    std::lock_guard<std::mutex> lock(mutex_);
    const std::uint64_t id = next_++;
    live_.insert(id);
    return HWND(id);
}

void RecordingMessageSink::DestroyWindow(HWND window)
{
    std::lock_guard<std::mutex> lock(mutex_);
    live_.erase(window.Id());
}

BOOL RecordingMessageSink::PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (live_.count(window.Id()) == 0) {
        ++dropped_;
        return FALSE;
    }
    posts_.push_back(Post{window, message, wParam, lParam});
    cv_.notify_all();
    return TRUE;
}

BOOL RecordingMessageSink::IsWindow(HWND window) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return live_.count(window.Id()) ? TRUE : FALSE;
}

std::vector<RecordingMessageSink::Post> RecordingMessageSink::Posts() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return posts_;
}

std::vector<RecordingMessageSink::Post> RecordingMessageSink::PostsOf(UINT message) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Post> out;
    for (const Post& p : posts_) {
        if (p.message == message) out.push_back(p);
    }
    return out;
}

std::vector<RecordingMessageSink::Post> RecordingMessageSink::PostsTo(HWND window) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Post> out;
    for (const Post& p : posts_) {
        if (p.window == window) out.push_back(p);
    }
    return out;
}

int RecordingMessageSink::DroppedCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return dropped_;
}

bool RecordingMessageSink::WaitFor(const std::function<bool(const std::vector<Post>&)>& pred,
                                   std::uint32_t limitMs) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    return cv_.wait_for(lock, std::chrono::milliseconds(limitMs), [&] { return pred(posts_); });
}

bool RecordingMessageSink::WaitForCount(UINT message, std::size_t count, std::uint32_t limitMs) const
{
    return WaitFor(
        [message, count](const std::vector<Post>& posts) {
            std::size_t n = 0;
            for (const Post& p : posts) {
                if (p.message == message) ++n;
            }
            return n >= count;
        },
        limitMs);
}
