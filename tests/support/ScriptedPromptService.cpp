#include "tests/support/ScriptedPromptService.h"

ScriptedPromptService::ScriptedPromptService() : previous_(PromptService::Installed())
{
    PromptService::Install(this);
}

ScriptedPromptService::~ScriptedPromptService()
{
    PromptService::Install(previous_);
}

int ScriptedPromptService::NextAnswer(int fallback)
{
    if (answers_.empty()) {
        ++unanswered_;
        return fallback;
    }
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

int ScriptedPromptService::MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    Prompt prompt;
    prompt.owner = owner;
    prompt.caption = caption;
    prompt.text = text;
    prompt.type = type;
    prompts_.push_back(prompt);
    return NextAnswer(IDCANCEL);
}

int ScriptedPromptService::AskFourButtons(HWND owner, const std::vector<std::string>& texts, int icon,
                                          int defaultResult)
{
    Prompt prompt;
    prompt.fourButtons = true;
    prompt.owner = owner;
    prompt.texts = texts;
    if (texts.size() >= 2) {
        prompt.caption = texts[0];
        prompt.text = texts[1];
    }
    prompt.icon = icon;
    prompt.defaultResult = defaultResult;
    prompts_.push_back(prompt);
    return NextAnswer(256);
}
