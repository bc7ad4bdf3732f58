// Passes program starts on to another starter and remembers whether the last start failed, so
// that a caller of the launcher's inline mode (which answers the same for a started and a failed
// program) can tell the two apart.
#pragma once

#include "platform/ProcessStarter.h"

#include <atomic>

class LaunchTrackingStarter final : public ProcessStarter {
public:
    explicit LaunchTrackingStarter(ProcessStarter* inner);

    pid_t Start(const std::string& program, const std::string& parameters) override;
    pid_t StartArgs(const std::string& program, const std::vector<std::string>& arguments) override;
    int Wait(pid_t pid) override;
    void Release(pid_t pid) override;

    void Reset() { lastStartFailed_ = false; }
    bool LastStartFailed() const { return lastStartFailed_; }

private:
    ProcessStarter* inner_;
    std::atomic<bool> lastStartFailed_{false};
};
