// Starts programs for the launcher: posix_spawn of the program with its arguments, given as a list
// or as parameters split like a command line (blanks separate, double quotes group, \" is a quote),
// and waitpid for its end. Tests may replace it.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;

    // The process id of the started program, or -1 when it could not be started (a program
    // without a "/" is looked up in PATH).
    virtual pid_t Start(const std::string& program, const std::string& parameters);
    // The same with the arguments as a list, each passed as it stands (no splitting, no quoting).
    virtual pid_t StartArgs(const std::string& program, const std::vector<std::string>& arguments);
    // Waits for the program's end; its exit code, or -1.
    virtual int Wait(pid_t pid);
    // Leaves the program running unobserved; it is reaped in the background when it ends.
    virtual void Release(pid_t pid);

    static ProcessStarter& Default();
    // The command line split into arguments.
    static std::vector<std::string> SplitCommandLine(const std::string& parameters);
};
