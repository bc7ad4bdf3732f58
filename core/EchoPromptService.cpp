#include "core/EchoPromptService.h"

#include <cstdio>
#include <cstdlib>

bool EchoPromptService::Requested()
{
    const char* value = std::getenv(kVariable);
    return value != nullptr && *value != '\0';
}

void EchoPromptService::Notice(const std::string& what)
{
    if (Requested()) {
        std::fprintf(stderr, "zarndesk: %s\n", what.c_str());
        std::fflush(stderr);
    }
}

int EchoPromptService::MessageBox(HWND, const std::string& text, const std::string&, UINT type)
{
    std::fprintf(stderr, "zarndesk: prompt: %s\n", text.c_str());
    std::fflush(stderr);
    const UINT buttons = type & MB_TYPEMASK;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

int EchoPromptService::AskFourButtons(HWND, const std::vector<std::string>& texts, int, int defaultResult)
{
    std::fprintf(stderr, "zarndesk: prompt: %s\n", texts.size() > 1 ? texts[1].c_str() : "");
    std::fflush(stderr);
    return defaultResult;
}
