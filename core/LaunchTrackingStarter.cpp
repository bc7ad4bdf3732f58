#include "core/LaunchTrackingStarter.h"

LaunchTrackingStarter::LaunchTrackingStarter(ProcessStarter* inner)
    : inner_(inner != nullptr ? inner : &ProcessStarter::Default())
{
}

pid_t LaunchTrackingStarter::Start(const std::string& program, const std::string& parameters)
{
    const pid_t pid = inner_->Start(program, parameters);
    lastStartFailed_ = pid < 0;
    return pid;
}

pid_t LaunchTrackingStarter::StartArgs(const std::string& program, const std::vector<std::string>& arguments)
{
    const pid_t pid = inner_->StartArgs(program, arguments);
    lastStartFailed_ = pid < 0;
    return pid;
}

int LaunchTrackingStarter::Wait(pid_t pid)
{
    return inner_->Wait(pid);
}

void LaunchTrackingStarter::Release(pid_t pid)
{
    inner_->Release(pid);
}
