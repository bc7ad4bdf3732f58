#include "core/util/UpdateListParser.h"

#include "core/util/TextUtility.h"

namespace {

constexpr size_t kMaxUrl = 8191;

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    SplitByChars(line, ",", fields);
    return fields;
}

std::string FixVersionKey(const std::string& key)
{
    if (key == "T-310D_DR") return "T-310D/DR";
    if (key == "T-140DR_EL") return "T-140DR-EL";
    if (key == "T-140DR_PX") return "T-140DR-PX";
    return key;
}

} // namespace

bool UpdateListParser::IsSectionHeader(const std::string& line)
{
    return line.size() > 2 && line.front() == '[' && line.back() == ']';
}

int UpdateListParser::ParseVersionFile(const std::vector<std::string>& lines, std::vector<ZarnUpdateRecord>& records)
{
    int result = 0;
    std::string section;
    for (const std::string& line : lines) {
        if (IsSectionHeader(line)) {
            section = line;
        } else if (section == "[Version]") {
            const std::vector<std::string> f = Fields(line);
            if (f.size() < 3) return 0;
            ZarnUpdateRecord record;
            record.SetKey(FixVersionKey(f[0]));
            record.SetVersion(f[1]);
            record.SetDate(f[2]);
            records.push_back(std::move(record));
        } else if (section == "[Status]") {
            result = line == "Normal" ? 1 : 0;
        }
    }
    return result;
}

int UpdateListParser::ParseFileList(const std::vector<std::string>& lines, std::vector<ZarnFileRecord>& files,
                                    std::vector<ZarnFileRecord>& scripts)
{
    int result = 0;
    std::string section;
    std::string basePath;
    for (const std::string& line : lines) {
        if (IsSectionHeader(line)) {
            section = line;
        } else if (section == "[URL]") {
            basePath = line;
        } else if (section == "[Files]" || section == "[Scripts]") {
            if (basePath.empty()) return 0;
            const std::vector<std::string> f = Fields(line);
            if (f.size() < 2) return 0;
            ZarnFileRecord record;
            record.SetUrl(basePath + "/" + f[1]);
            record.number = StringToInt(f[0]);
            record.SetFileName(f[1]);
            const bool isFiles = section == "[Files]";
            if (isFiles) {
                if (f.size() >= 3) record.SetThirdField(f[2]);
                if (f.size() >= 4) record.SetFileName(f[3]);
            } else if (f.size() >= 5) {
                // A script line takes its third and fourth fields only when a fifth follows.
                record.SetThirdField(f[2]);
                record.SetFileName(f[3]);
            }
            (isFiles ? files : scripts).push_back(std::move(record));
        } else if (section == "[Status]") {
            result = line == "Normal" ? 1 : 0;
        }
    }
    return result;
}

std::string UpdateListParser::FirmwareListPath(const std::string& model, const std::string& version)
{
    std::string name = ReplaceAll(model, "/", "_");
    if (name == "T-140DR-EL" || name == "T-140DR-PX") name[name.rfind('-')] = '_';
    return "firmware/" + name + "/" + version;
}

std::string UpdateListParser::AppListPath(const std::string& version, const std::string& subPath)
{
    std::string path = "APL/" + version;
    if (!subPath.empty()) path += "/" + subPath;
    return path;
}

bool UpdateListParser::FillPattern(const std::string& pattern, const std::string& path, std::string& url)
{
    std::string out;
    bool filled = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            out.push_back(pattern[i]);
            continue;
        }
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (next == '%') {
            out.push_back('%');
        } else if (next == 's' && !filled) {
            out += path;
            filled = true;
        } else {
            return false;
        }
        ++i;
    }
    if (out.size() > kMaxUrl) out.resize(kMaxUrl);
    url = std::move(out);
    return true;
}
