#include "core/util/UpdateCommandLine.h"

#include <cstdio>

namespace {

constexpr const char* kNone = "---";

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0; // not a hexadecimal digit: counts as 0
}

} // namespace

bool UpdateCommandLine::IsPlainArgument(const std::string& value)
{
    if (!value.empty() && value[0] == '/') return false;
    for (const char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x21 || u == 0x7F || c == '"') return false;
    }
    return true;
}

std::string UpdateCommandLine::FirmwareModelText(const std::string& model)
{
    std::string text = model;
    for (char& c : text) {
        if (c == '/') c = '_';
    }
    if (model == "T-140DR-EL" || model == "T-140DR-PX") {
        text[text.rfind('-')] = '_';
    }
    return text;
}

std::vector<std::string> UpdateCommandLine::FirmwareArguments(int mainWindow, const std::string& model,
                                                                        const std::string& version,
                                                                        const std::string& rfAppVersion,
                                                                        const std::string& rfLoaderVersion,
                                                                        const std::string& date)
{
    std::vector<std::string> arguments{"/Zarn", std::to_string(mainWindow), "/Type", FirmwareModelText(model),
                                       "/Ver", version};
    if (model != "T-520D") {
        if (rfAppVersion != kNone) {
            arguments.insert(arguments.end(), {"/RFAppVer", rfAppVersion});
        }
        if (rfLoaderVersion != kNone) {
            arguments.insert(arguments.end(), {"/RFLdrVer", rfLoaderVersion});
        }
    }
    arguments.insert(arguments.end(), {"/Date", date});
    return arguments;
}

std::vector<std::string> UpdateCommandLine::SoftwareArguments(const std::string& latestVersion,
                                                                        int mainWindow, const std::string& language)
{
    std::vector<std::string> arguments;
    if (latestVersion != kNone) {
        arguments.insert(arguments.end(), {"/Ver", latestVersion});
    }
    arguments.insert(arguments.end(), {"/Zarn", std::to_string(mainWindow), "/Lang", language});
    return arguments;
}

std::string UpdateCommandLine::RadioVersionSuffix(const std::string& model, const std::string& rfAppVersion)
{
    if (rfAppVersion.empty()) return {};
    if (model != "T-140DR") return "_**.***";
    const std::string text = rfAppVersion + std::string(7, '\0');
    const int major = HexValue(text[3]) * 16 + HexValue(text[4]);
    const int minor = HexValue(text[5]) * 16 + HexValue(text[6]);
    char tail[32];
    std::snprintf(tail, sizeof tail, "%d%02d", major, minor);
    return "_" + rfAppVersion.substr(0, 2) + "." + tail;
}

