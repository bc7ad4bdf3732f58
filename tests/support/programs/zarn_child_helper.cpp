// A child program for launcher tests. It appends its arguments, one per line, to the file named by
// ZARN_CHILD_RECORD, then waits until the file named by ZARN_CHILD_RELEASE exists (at most 30 s),
// and exits with the code in ZARN_CHILD_EXIT (0 when unset).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>

int main(int argc, char** argv)
{
    if (const char* record = std::getenv("ZARN_CHILD_RECORD")) {
        std::ofstream out(record, std::ios::app);
        out << "argc=" << (argc - 1) << "\n";
        for (int i = 1; i < argc; ++i) {
            out << argv[i] << "\n";
        }
    }
    if (const char* release = std::getenv("ZARN_CHILD_RELEASE")) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        struct stat st {};
        while (::stat(release, &st) != 0 && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    const char* code = std::getenv("ZARN_CHILD_EXIT");
    return code != nullptr ? std::atoi(code) : 0;
}
