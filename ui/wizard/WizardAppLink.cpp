#include "ui/wizard/WizardAppLink.h"

#include "core/CBrowseFolderDlg.h"
#include "core/CKestrinZarnApp.h"
#include "core/ZarnMainWindow.h"
#include "core/ZarnProfileMessages.h"
#include "platform/PromptService.h"
#include "platform/qt/QtMessageSink.h"
#include "ui/controls/CKZARN_OpenProfileDlg.h"

#include <QWidget>

namespace {

struct Overrides {
    ZarnAppSettings* settings = nullptr;
    char decimal = 0;
    HWND mainWindow;
    WizardAppLink::SaveChooser chooser;
    WizardAppLink::FolderChooser folderChooser;
};

Overrides& Current()
{
    static Overrides overrides;
    return overrides;
}

// The profile chooser in its save mode: only version-3 profile files are listed.
bool DefaultSaveChooser(QWidget* parent, const std::string& preset, std::string* path)
{
    CKZARN_OpenProfileDlg chooser(0, parent);
    chooser.majorFilter = 2;
    chooser.minorFilter = 0;
    chooser.SetPresetName(preset);
    if (chooser.DoModal() != IDOK)
        return false;
    *path = chooser.GetSelectedProfilePath();
    return !path->empty();
}

} // namespace

ZarnAppSettings& WizardAppLink::Settings()
{
    if (Current().settings != nullptr)
        return *Current().settings;
    if (CKestrinZarnApp* app = CKestrinZarnApp::GetApp())
        return app->Settings();
    // Without an application object (a window opened on its own) the defaults serve.
    static ZarnAppSettings defaults;
    return defaults;
}

char WizardAppLink::DecimalChar()
{
    if (Current().decimal != 0)
        return Current().decimal;
    if (CKestrinZarnApp* app = CKestrinZarnApp::GetApp())
        return app->GetDecimalChar();
    return '.';
}

void WizardAppLink::PostProfilesChanged()
{
    HWND target = Current().mainWindow;
    if (!target) {
        CKestrinZarnApp* app = CKestrinZarnApp::GetApp();
        if (app != nullptr && app->GetMainWindow() != nullptr)
            target = QtMessageSink::Instance().FindHandle(app->GetMainWindow()->Widget());
    }
    if (target)
        QtMessageSink::Instance().PostMessage(target, WM_ZARN_PROFILES_CHANGED, 0, 0);
}

bool WizardAppLink::ChooseSavePath(QWidget* parent, const std::string& preset, std::string* path)
{
    if (Current().chooser)
        return Current().chooser(parent, preset, path);
    return DefaultSaveChooser(parent, preset, path);
}

bool WizardAppLink::ChooseFolder(QWidget* parent, const std::string& title, const std::string& start,
                                 std::string* folder)
{
    if (Current().folderChooser)
        return Current().folderChooser(parent, title, start, folder);
    CBrowseFolderDlg chooser(parent, BIF_RETURNONLYFSDIRS);
    if (!chooser.BrowseForFolder(title.c_str(), start.empty() ? nullptr : start.c_str(), nullptr))
        return false;
    *folder = chooser.SelectedFolder();
    return true;
}

void WizardAppLink::SetFolderChooser(FolderChooser chooser)
{
    Current().folderChooser = std::move(chooser);
}

void WizardAppLink::SetSettings(ZarnAppSettings* settings)
{
    Current().settings = settings;
}

void WizardAppLink::SetDecimalChar(char decimal)
{
    Current().decimal = decimal;
}

void WizardAppLink::SetMainWindow(HWND window)
{
    Current().mainWindow = window;
}

void WizardAppLink::SetSaveChooser(SaveChooser chooser)
{
    Current().chooser = std::move(chooser);
}
