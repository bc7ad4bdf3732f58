#include "platform/MimeAssociations.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::string Env(const char* name, const std::string& fallback)
{
    const char* v = std::getenv(name);
    return (v != nullptr && v[0] != '\0') ? std::string(v) : fallback;
}

std::string Home()
{
    return Env("HOME", "/tmp");
}

std::vector<std::string> SplitColon(const std::string& text)
{
    std::vector<std::string> out;
    std::stringstream ss(text);
    std::string part;
    while (std::getline(ss, part, ':')) {
        if (!part.empty()) {
            out.push_back(part);
        }
    }
    return out;
}

// The data folders, most important first.
std::vector<std::string> DataDirs()
{
    std::vector<std::string> dirs{Env("XDG_DATA_HOME", Home() + "/.local/share")};
    for (const auto& d : SplitColon(Env("XDG_DATA_DIRS", "/usr/local/share:/usr/share"))) {
        dirs.push_back(d);
    }
    return dirs;
}

std::vector<std::string> ConfigDirs()
{
    std::vector<std::string> dirs{Env("XDG_CONFIG_HOME", Home() + "/.config")};
    for (const auto& d : SplitColon(Env("XDG_CONFIG_DIRS", "/etc/xdg"))) {
        dirs.push_back(d);
    }
    return dirs;
}

std::string Lower(std::string s)
{
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return s;
}

// The first desktop id of a "type=a.desktop;b.desktop;" value in the section of an ini-like file.
std::string LookupList(const std::string& file, const std::string& section, const std::string& key)
{
    std::ifstream in(file);
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] == '[') {
            inSection = line == "[" + section + "]";
            continue;
        }
        if (!inSection || line.compare(0, key.size() + 1, key + "=") != 0) {
            continue;
        }
        const std::string value = line.substr(key.size() + 1);
        const std::size_t semi = value.find(';');
        const std::string first = value.substr(0, semi);
        if (!first.empty()) {
            return first;
        }
    }
    return {};
}

} // namespace

std::string MimeAssociations::TypeForExtension(const std::string& dotExtension)
{
    const std::string wanted = "*" + dotExtension;
    const std::string wantedLower = Lower(wanted);
    for (const auto& dir : DataDirs()) {
        std::ifstream in(dir + "/mime/globs2");
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') {
                continue;
            }
            // weight:type:glob[:flags]
            std::vector<std::string> f;
            std::stringstream ss(line);
            std::string part;
            while (std::getline(ss, part, ':')) {
                f.push_back(part);
            }
            if (f.size() < 3) {
                continue;
            }
            const bool caseSensitive = f.size() > 3 && f[3].find("cs") != std::string::npos;
            if (caseSensitive ? f[2] == wanted : Lower(f[2]) == wantedLower) {
                return f[1];
            }
        }
    }
    return {};
}

std::string MimeAssociations::DesktopEntryForType(const std::string& mimeType)
{
    std::vector<std::string> lists;
    for (const auto& dir : ConfigDirs()) {
        lists.push_back(dir + "/mimeapps.list");
    }
    for (const auto& dir : DataDirs()) {
        lists.push_back(dir + "/applications/mimeapps.list");
    }
    for (const char* section : {"Default Applications", "Added Associations"}) {
        for (const auto& file : lists) {
            const std::string id = LookupList(file, section, mimeType);
            if (!id.empty()) {
                return id;
            }
        }
    }
    for (const auto& dir : DataDirs()) {
        const std::string id = LookupList(dir + "/applications/mimeinfo.cache", "MIME Cache", mimeType);
        if (!id.empty()) {
            return id;
        }
    }
    return {};
}

bool MimeAssociations::OpenCommand(const std::string& desktopEntry, std::string& command)
{
    for (const auto& dir : DataDirs()) {
        std::ifstream in(dir + "/applications/" + desktopEntry);
        if (!in) {
            continue;
        }
        std::string line;
        bool inEntry = false;
        while (std::getline(in, line)) {
            if (!line.empty() && line[0] == '[') {
                inEntry = line.rfind("[Desktop Entry]", 0) == 0;
                continue;
            }
            if (inEntry && line.rfind("Exec=", 0) == 0 && line.size() > 5) {
                command = line.substr(5);
                return true;
            }
        }
        return false;
    }
    return false;
}
