#include "ui/views/CKZARN_SaveNameChooser.h"

#include "platform/PromptService.h"
#include "ui/controls/CKZARN_OpenProfileDlg.h"

bool CKZARN_SaveNameChooser::Ask(QWidget* parent, const std::string& preset, std::string* chosen)
{
    CKZARN_OpenProfileDlg dialog(0, parent);
    dialog.SetPresetName(preset);
    dialog.majorFilter = 2;
    dialog.minorFilter = 0;
    if (dialog.DoModal() != IDOK) {
        return false;
    }
    const std::string name = dialog.GetSelectedName();
    if (name.empty() || chosen == nullptr) {
        return false;
    }
    *chosen = name;
    return true;
}
