// The prompt service of the running program: message boxes on QMessageBox and the four-button
// question on CMsg4ButtonDlg, over the owner window when it still exists.
#pragma once

#include "platform/PromptService.h"

class QWidget;

class QtPromptService final : public PromptService {
public:
    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
    int AskFourButtons(HWND owner, const std::vector<std::string>& texts, int icon, int defaultResult) override;

    // The installed service, or this program's own when none is installed.
    static PromptService& Current();

private:
    static QWidget* OwnerWidget(HWND owner);
};
