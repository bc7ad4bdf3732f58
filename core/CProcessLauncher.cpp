#include "core/CProcessLauncher.h"

#include <system_error>

CProcessLauncher::CProcessLauncher(MessageSink* sink, ProcessStarter* starter)
    : sink_(sink), starter_(starter != nullptr ? starter : &ProcessStarter::Default())
{
}

CProcessLauncher::~CProcessLauncher()
{
    WaitThread();
}

int CProcessLauncher::SetNotifyMessage(UINT message)
{
    notifyMessage_ = message;
    return 1;
}

int CProcessLauncher::Launch(const std::string& file, const std::string& parameters, HWND notifyWindow)
{
    if (waitThread_.joinable()) {
        return 0;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        file_ = file;
        parameters_ = parameters;
        arguments_.clear();
        argumentList_ = false;
        notifyWindow_ = notifyWindow;
    }
    return StartLaunch(notifyWindow);
}

int CProcessLauncher::Launch(const std::string& file, const std::vector<std::string>& arguments, HWND notifyWindow)
{
    if (waitThread_.joinable()) {
        return 0;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        file_ = file;
        parameters_.clear();
        arguments_ = arguments;
        argumentList_ = true;
        notifyWindow_ = notifyWindow;
    }
    return StartLaunch(notifyWindow);
}

int CProcessLauncher::StartLaunch(HWND notifyWindow)
{
    if (!notifyWindow) {
        return LaunchThreadProc(this);
    }
    try {
        auto body = [this] { LaunchThreadProc(this); };
        waitThread_ = threadFactory_ ? threadFactory_(body) : std::thread(body);
    } catch (const std::system_error&) {
        // No wait thread: the program is not started, and the receiver still hears that the child
        // is over, so that whatever it suspended resumes.
        PostDone(notifyWindow, notifyMessage_);
        return -1;
    }
    return 1;
}

BOOL CProcessLauncher::WaitThread()
{
    if (!waitThread_.joinable()) {
        return FALSE;
    }
    waitThread_.join();
    return TRUE;
}

void CProcessLauncher::PostDone(HWND window, UINT message)
{
    if (sink_ != nullptr && window) {
        sink_->PostMessage(window, message, reinterpret_cast<WPARAM>(this), 0);
    }
}

int CProcessLauncher::LaunchThreadProc(CProcessLauncher* launcher)
{
    if (launcher == nullptr) {
        return 0;
    }
    std::string file;
    std::string parameters;
    std::vector<std::string> arguments;
    bool argumentList = false;
    HWND window;
    UINT message = 0;
    {
        std::lock_guard<std::mutex> lock(launcher->mutex_);
        file = launcher->file_;
        parameters = launcher->parameters_;
        arguments = launcher->arguments_;
        argumentList = launcher->argumentList_;
        window = launcher->notifyWindow_;
        message = launcher->notifyMessage_;
    }
    const pid_t pid = argumentList ? launcher->starter_->StartArgs(file, arguments)
                                   : launcher->starter_->Start(file, parameters);
    if (pid < 0) {
        launcher->PostDone(window, message);
        return -1;
    }
    if (!window) {
        launcher->starter_->Release(pid);
        return -1;
    }
    launcher->starter_->Wait(pid);
    launcher->PostDone(window, message);
    return 0;
}
