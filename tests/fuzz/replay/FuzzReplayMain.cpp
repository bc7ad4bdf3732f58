// Runs a libFuzzer harness over files and folders of inputs without libFuzzer, so that builds
// with any compiler keep every harness compiling and its seed corpus passing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool RunFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.empty() ? nullptr : bytes.data(), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path arg(argv[i]);
        std::error_code ec;
        if (std::filesystem::is_directory(arg, ec)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(arg, ec)) {
                if (entry.is_regular_file()) {
                    ok = RunFile(entry.path()) && ok;
                    ++runs;
                }
            }
        } else {
            ok = RunFile(arg) && ok;
            ++runs;
        }
    }
    // An empty input is always worth one run.
    LLVMFuzzerTestOneInput(nullptr, 0);
    std::printf("replayed %d inputs\n", runs);
    return ok ? 0 : 1;
}
