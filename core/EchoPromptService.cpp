#include "core/EchoPromptService.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Lines start with the program's name in lower case ("zarndesk", "zarnflash"), as its other
// notices on the error stream do.
const std::string& Prefix()
{
    static const std::string prefix = [] {
        std::string name = program_invocation_short_name;
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return name;
    }();
    return prefix;
}

} // namespace

bool EchoPromptService::Requested()
{
    const char* value = std::getenv(kVariable);
    return value != nullptr && *value != '\0';
}

void EchoPromptService::Notice(const std::string& what)
{
    if (Requested()) {
        std::fprintf(stderr, "%s: %s\n", Prefix().c_str(), what.c_str());
        std::fflush(stderr);
    }
}

int EchoPromptService::MessageBox(HWND, const std::string& text, const std::string&, UINT type)
{
    std::fprintf(stderr, "%s: prompt: %s\n", Prefix().c_str(), text.c_str());
    std::fflush(stderr);
    const UINT buttons = type & MB_TYPEMASK;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

int EchoPromptService::AskFourButtons(HWND, const std::vector<std::string>& texts, int, int defaultResult)
{
    std::fprintf(stderr, "%s: prompt: %s\n", Prefix().c_str(), texts.size() > 1 ? texts[1].c_str() : "");
    std::fflush(stderr);
    return defaultResult;
}
