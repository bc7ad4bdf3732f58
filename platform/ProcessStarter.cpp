#include "platform/ProcessStarter.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

pid_t ProcessStarter::Start(const std::string& program, const std::string& parameters)
{
    return StartArgs(program, SplitCommandLine(parameters));
}

pid_t ProcessStarter::StartArgs(const std::string& program, const std::vector<std::string>& arguments)
{
    if (program.empty()) {
        return -1;
    }
    std::vector<std::string> args = arguments;
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    // posix_spawnp reports a failed exec (missing file, no permission) through its result.
    if (::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    return pid;
}

int ProcessStarter::Wait(pid_t pid)
{
    int status = 0;
    pid_t r = 0;
    do {
        r = ::waitpid(pid, &status, 0);
    } while (r < 0 && errno == EINTR);
    if (r < 0) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ProcessStarter::Release(pid_t pid)
{
    try {
        std::thread([pid] {
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (...) {
        // Without a reaper the finished program stays a zombie until this process ends.
    }
}

ProcessStarter& ProcessStarter::Default()
{
    static ProcessStarter starter;
    return starter;
}

std::vector<std::string> ProcessStarter::SplitCommandLine(const std::string& parameters)
{
    std::vector<std::string> out;
    std::string current;
    bool inQuotes = false;
    bool have = false;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const char c = parameters[i];
        if (c == '\\' && i + 1 < parameters.size() && parameters[i + 1] == '"') {
            current += '"';
            have = true;
            ++i;
        } else if (c == '"') {
            inQuotes = !inQuotes;
            have = true;
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            if (have) {
                out.push_back(current);
                current.clear();
                have = false;
            }
        } else {
            current += c;
            have = true;
        }
    }
    if (have) {
        out.push_back(current);
    }
    return out;
}
