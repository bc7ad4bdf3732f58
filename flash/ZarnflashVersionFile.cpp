#include "flash/ZarnflashVersionFile.h"

#include "core/util/PathUtility.h"

#include <cctype>
#include <fstream>

namespace {

constexpr std::size_t kLineBuffer = 255;
constexpr std::size_t kMaxCompanion = 4096;

std::string FormatDate(const std::string& line)
{
    if (line.size() != 8) return {};
    for (char c : line) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return {};
    }
    return line.substr(0, 4) + "/" + line.substr(4, 2) + "/" + line.substr(6, 2);
}

bool ReadCompanion(const std::string& folder, const std::string& name, VerFileLines* lines)
{
    const std::string path = VerFilePath(folder, name);
    if (path.empty() || !FileExists(path) || IsDirectory(path)) return false;
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::string bytes(kMaxCompanion, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    *lines = ParseVerFileText(bytes);
    return true;
}

} // namespace

VerFileLines ParseVerFileText(const std::string& bytes)
{
    VerFileLines out;
    std::string* targets[2] = {&out.first, &out.second};
    std::size_t start = 0;
    while (out.lines < 3 && start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, std::min(end - start, kLineBuffer));
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        const std::size_t nul = line.find('\0');
        if (nul != std::string::npos) line.resize(nul);
        if (out.lines < 2) {
            *targets[out.lines] = line;
        } else {
            out.date = FormatDate(line);
        }
        ++out.lines;
        start = next;
    }
    return out;
}

std::string VerFilePath(const std::string& folder, const std::string& name)
{
    std::string dir, title, ext;
    SplitPathExt(JoinPath(folder, name, false), dir, title, ext);
    if (title.empty()) return {};
    return JoinPathExt(dir, title, "ver");
}

std::string ReadVersionFromVerFile(const std::string& folder, const std::string& name, bool radioForm)
{
    VerFileLines lines;
    if (!ReadCompanion(folder, name, &lines)) return {};
    if (!radioForm) return lines.lines >= 1 ? lines.first : std::string();
    if (lines.lines < 2 || lines.first.empty() || lines.second.empty()) return {};
    return lines.first + "." + lines.second;
}

std::string ReadDateFromVerFile(const std::string& folder, const std::string& name)
{
    VerFileLines lines;
    if (!ReadCompanion(folder, name, &lines)) return {};
    return lines.date;
}
