// Starts a child program. In notify mode a wait thread starts the program, waits for its end and
// posts the notify message (wParam = the launcher, lParam 0) to the notify window; in inline mode
// (no notify window) the program is started on the calling thread and left running. At most one wait
// thread exists: launches are refused until WaitThread has collected the previous one.
#pragma once

#include "platform/MessageSink.h"
#include "platform/ProcessStarter.h"
#include "platform/WinTypes.h"

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CProcessLauncher {
public:
    // Creates the wait thread; tests replace it to make thread creation fail.
    using ThreadFactory = std::function<std::thread(std::function<void()>)>;

    explicit CProcessLauncher(MessageSink* sink = nullptr, ProcessStarter* starter = nullptr);
    ~CProcessLauncher(); // waits for a held wait thread, and so for a waited-for child program
    CProcessLauncher(const CProcessLauncher&) = delete;
    CProcessLauncher& operator=(const CProcessLauncher&) = delete;

    int SetNotifyMessage(UINT message);
    // 0: refused, a wait thread is held. 1: the wait thread runs (notify mode). -1: inline mode, the
    // program was started or not; in notify mode also when the wait thread could not be created, in
    // which case the program was not started and the notify message has been posted already.
    int Launch(const std::string& file, const std::string& parameters, HWND notifyWindow);
    // The same with the arguments as a list, handed to the program as they stand.
    int Launch(const std::string& file, const std::vector<std::string>& arguments, HWND notifyWindow);
    // 0 when no wait thread is held; otherwise joins it and returns non-zero.
    BOOL WaitThread();
    // The wait thread's body, also run directly in inline mode: 0 when the program was started and
    // waited for, or when no launcher is given; -1 otherwise.
    static int LaunchThreadProc(CProcessLauncher* launcher);

    void SetThreadFactory(ThreadFactory factory) { threadFactory_ = std::move(factory); }
    bool IsBusy() const { return waitThread_.joinable(); }

private:
    int StartLaunch(HWND notifyWindow);
    void PostDone(HWND window, UINT message);

    std::thread waitThread_;
    std::mutex mutex_; // guards the program file, the parameters and the notify window
    std::string file_;
    std::string parameters_;
    std::vector<std::string> arguments_;
    bool argumentList_ = false; // arguments_ holds the arguments, not parameters_
    HWND notifyWindow_;
    UINT notifyMessage_ = 0;
    MessageSink* sink_;
    ProcessStarter* starter_;
    ThreadFactory threadFactory_;
};
