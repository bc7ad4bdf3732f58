#include "platform/PromptService.h"

#include <atomic>

namespace {
std::atomic<PromptService*> g_installed{nullptr};
}

PromptService* PromptService::Installed()
{
    return g_installed.load();
}

void PromptService::Install(PromptService* service)
{
    g_installed.store(service);
}
