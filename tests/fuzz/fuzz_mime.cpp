// The desktop's MIME files: the input, cut at its zero bytes, becomes the shared MIME database's
// globs2, a mimeapps.list, a mimeinfo.cache and a desktop entry in a private XDG tree; the three
// look-ups then read them as the program does when it opens a file with its associated program.
#include "platform/MimeAssociations.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::filesystem::path& Root()
{
    static const std::filesystem::path root = [] {
        const std::filesystem::path r =
            std::filesystem::temp_directory_path() / ("zarn_fuzz_mime_" + std::to_string(::getpid()));
        std::filesystem::create_directories(r / "data/mime");
        std::filesystem::create_directories(r / "data/applications");
        std::filesystem::create_directories(r / "config");
        ::setenv("XDG_DATA_HOME", (r / "data").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (r / "none").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (r / "config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (r / "none").c_str(), 1);
        return r;
    }();
    return root;
}

void Write(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::filesystem::path& root = Root();
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && parts.size() < 4) {
            parts.emplace_back();
        } else {
            parts.back() += static_cast<char>(data[i]);
        }
    }
    parts.resize(4);
    Write(root / "data/mime/globs2", parts[0]);
    Write(root / "config/mimeapps.list", parts[1]);
    Write(root / "data/applications/mimeinfo.cache", parts[2]);
    Write(root / "data/applications/viewer.desktop", parts[3]);

    const std::string type = MimeAssociations::TypeForExtension(".jpg");
    const std::string entry = MimeAssociations::DesktopEntryForType(type.empty() ? "image/jpeg" : type);
    std::string command;
    if (MimeAssociations::OpenCommand(entry.empty() ? "viewer.desktop" : entry, command) && command.empty()) {
        std::abort(); // found, but with nothing to run
    }
    return 0;
}
