#include "flash/ZarnflashVersionFile.h"

#include "core/util/PathUtility.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::size_t kLineBuffer = 255;

std::string FormatDate(const std::string& line)
{
    if (line.size() != 8) return {};
    for (char c : line) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return {};
    }
    return line.substr(0, 4) + "/" + line.substr(4, 2) + "/" + line.substr(6, 2);
}

bool IsVersionText(const std::string& line)
{
    if (line.size() > kVerMaxVersionLength) return false;
    return std::all_of(line.begin(), line.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x20 && u < 0x7F;
    });
}

enum class Companion { Missing, Malformed, Read };

Companion ReadCompanion(const std::string& folder, const std::string& name, VerFileLines* lines)
{
    const std::string path = VerFilePath(folder, name);
    if (path.empty()) return Companion::Missing;
    std::string bytes;
    switch (RegularFile::ReadAll(path, kVerMaxFileSize, bytes)) {
    case RegularFile::ReadResult::Ok: break;
    case RegularFile::ReadResult::TooLarge: return Companion::Malformed;
    case RegularFile::ReadResult::Unreadable: return Companion::Missing;
    }
    *lines = ParseVerFileText(bytes);
    return Companion::Read;
}

bool VersionUsable(const VerFileLines& lines, bool radioForm)
{
    if (lines.badVersion || lines.first.empty()) return false;
    return !radioForm || !lines.second.empty();
}

} // namespace

VerFileLines ParseVerFileText(const std::string& bytes)
{
    VerFileLines out;
    std::string* targets[2] = {&out.first, &out.second};
    std::size_t start = 0;
    while (out.lines < 3 && start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        std::size_t next = end;
        if (end == std::string::npos) {
            end = next = bytes.size();
        } else {
            next = end + ((bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1);
        }
        std::string whole = bytes.substr(start, end - start);
        const std::string line = whole.substr(0, std::min(whole.size(), kLineBuffer));
        if (out.lines < 2) {
            *targets[out.lines] = line;
            if (!IsVersionText(whole)) out.badVersion = true;
        } else {
            out.date = FormatDate(whole);
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
    if (ReadCompanion(folder, name, &lines) != Companion::Read) return {};
    if (!radioForm) return lines.lines >= 1 && !lines.badVersion ? lines.first : std::string();
    if (lines.lines < 2 || !VersionUsable(lines, true)) return {};
    return lines.first + "." + lines.second;
}

std::string ReadDateFromVerFile(const std::string& folder, const std::string& name)
{
    VerFileLines lines;
    if (ReadCompanion(folder, name, &lines) != Companion::Read) return {};
    return lines.date;
}

VerFileProblem CheckVerFile(const std::string& folder, const std::string& name, bool radioForm)
{
    VerFileLines lines;
    switch (ReadCompanion(folder, name, &lines)) {
    case Companion::Missing: return VerFileProblem::Missing;
    case Companion::Malformed: return VerFileProblem::BadVersion;
    case Companion::Read: break;
    }
    if (lines.lines < 3) return VerFileProblem::FewLines;
    if (!VersionUsable(lines, radioForm)) return VerFileProblem::BadVersion;
    if (lines.date.empty()) return VerFileProblem::BadDate;
    return VerFileProblem::None;
}
