// Start-up of Zarndesk against a bare Qt window of the same kind (startup_bare_window): each is
// started in turn under the current display, several alternating runs, and the time from the start
// of the process to the first paint of its main window is taken (the line "main window shown" of
// the start-up trace). Prints both medians and their ratio. Run by hand under a virtual display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/ci/bin/bench_startup [runs]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Starts the program with the extra environment and returns the milliseconds until it writes the
// marker on its error stream; -1 when it does not within 20 s.
double TimeToMarker(const std::string& program, const std::vector<std::string>& extraEnv)
{
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};
    pid_t pid = 0;
    const Clock::time_point start = Clock::now();
    const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    double ms = -1;
    std::string seen;
    while (rc == 0 && Clock::now() - start < std::chrono::seconds(20)) {
        pollfd p{pipeFds[0], POLLIN, 0};
        if (::poll(&p, 1, 1000) <= 0) continue;
        char buffer[4096];
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        seen.append(buffer, static_cast<size_t>(n));
        if (seen.find("main window shown") != std::string::npos) {
            ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
    }
    ::close(pipeFds[0]);
    if (rc == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    if (ms < 0) std::fprintf(stderr, "%s did not show its window:\n%s\n", program.c_str(), seen.c_str());
    return ms;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        std::fprintf(stderr, "no display: run under xvfb-run -a -s \"-screen 0 1280x1024x24\"\n");
        return 1;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const std::filesystem::path bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    char folder[] = "/tmp/zarn-startup-XXXXXX";
    if (::mkdtemp(folder) == nullptr) return 1;
    const std::string home = folder;
    for (const char* sub : {"/run", "/data", "/config"}) std::filesystem::create_directories(home + sub);
    std::filesystem::permissions(home + "/run", std::filesystem::perms::owner_all);
    const std::vector<std::string> zarnEnv = {
        "ZARN_STARTUP_TRACE=1", "XDG_RUNTIME_DIR=" + home + "/run", "XDG_DATA_HOME=" + home + "/data",
        "XDG_CONFIG_HOME=" + home + "/config", "ZARN_REGISTRY_FILE=" + home + "/config/registry.reg"};

    // One unmeasured start of each fills the system's file cache.
    TimeToMarker((bin / "Zarndesk").string(), zarnEnv);
    TimeToMarker((bin / "startup_bare_window").string(), {});
    std::vector<double> zarn, bare;
    for (int i = 0; i < runs; ++i) {
        zarn.push_back(TimeToMarker((bin / "Zarndesk").string(), zarnEnv));
        bare.push_back(TimeToMarker((bin / "startup_bare_window").string(), {}));
    }
    std::filesystem::remove_all(home);
    const double z = Median(zarn);
    const double b = Median(bare);
    std::printf("start-up to the first paint of the main window, median of %d alternating runs\n", runs);
    std::printf("  Zarndesk            %8.1f ms\n", z);
    std::printf("  bare Qt window      %8.1f ms\n", b);
    std::printf("  ratio               %8.2f\n", b > 0 ? z / b : 0.0);
    return 0;
}
