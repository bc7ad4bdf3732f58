// Test double of the prompt service: answers every question from a script, in order, and records
// what was asked. While it lives it is the installed service; the previous one comes back after.
// A question beyond the script is recorded and answered with IDCANCEL (256 for four buttons).
#pragma once

#include "platform/PromptService.h"

#include <deque>
#include <string>
#include <vector>

class ScriptedPromptService final : public PromptService {
public:
    struct Prompt {
        bool fourButtons = false;
        HWND owner;
        std::string caption;
        std::string text;
        UINT type = 0;                  // message boxes
        std::vector<std::string> texts; // four-button questions
        int icon = 0;
        int defaultResult = 0;
    };

    ScriptedPromptService();
    ~ScriptedPromptService() override;
    ScriptedPromptService(const ScriptedPromptService&) = delete;
    ScriptedPromptService& operator=(const ScriptedPromptService&) = delete;

    // Appends answers to the script.
    void Answer(int result) { answers_.push_back(result); }

    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
    int AskFourButtons(HWND owner, const std::vector<std::string>& texts, int icon, int defaultResult) override;

    const std::vector<Prompt>& Prompts() const { return prompts_; }
    // Questions asked after the script ran out.
    int Unanswered() const { return unanswered_; }
    // Answers still waiting in the script.
    std::size_t Pending() const { return answers_.size(); }

private:
    int NextAnswer(int fallback);

    PromptService* previous_;
    std::deque<int> answers_;
    std::vector<Prompt> prompts_;
    int unanswered_ = 0;
};
