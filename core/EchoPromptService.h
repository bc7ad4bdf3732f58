// A prompt service for scripted runs of the whole program: every question is written to the
// standard error stream as one line and answered with its first answer (OK, Yes, or the default of
// a four-button question). The program installs it in place of the dialogs only when the variable
// ZARN_PROMPT_ECHO is set, so that a test driving the real program can see what it asked.
#pragma once

#include "platform/PromptService.h"

class EchoPromptService final : public PromptService {
public:
    static constexpr const char* kVariable = "ZARN_PROMPT_ECHO";

    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
    int AskFourButtons(HWND owner, const std::vector<std::string>& texts, int icon, int defaultResult) override;

    // Whether the variable is set.
    static bool Requested();
    // Writes "<program>: <what>" as one line when the variable is set.
    static void Notice(const std::string& what);
};
