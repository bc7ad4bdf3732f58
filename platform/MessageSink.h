// Where code without Qt (the meter worker, the launcher's wait thread, the downloader's worker)
// sends its window messages. Posting never blocks on the receiving window and never calls into it:
// the message is queued for the window's own thread, or dropped when the window no longer exists.
// Message numbers are those of the program (WM_USER + n, WM_APP + n).
#pragma once

#include "platform/WinTypes.h"
#include "platform/WindowHandle.h"

class MessageSink {
public:
    virtual ~MessageSink() = default;

    // Queues the message for the window. FALSE when the window does not exist (or never did), or
    // when the number cannot be carried (outside WM_USER .. 0xFFFF); the message is then dropped.
    // Messages posted by one thread reach their windows in the order posted. Safe from any thread.
    virtual BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // TRUE while the window exists. Safe from any thread; the answer may be stale at once.
    virtual BOOL IsWindow(HWND window) const = 0;
};
