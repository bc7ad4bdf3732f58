#include "flash/ui/CZarnflashApp.h"

#include "core/util/CLangTable.h"
#include "core/util/CThemeApi.h"
#include "core/util/PathUtility.h"
#include "flash/ZarnflashCommandLine.h"
#include "flash/ui/CZarnflashDlg.h"
#include "platform/SingleInstanceLock.h"
#include "platform/WinTypes.h"

int CZarnflashApp::InitInstance(const std::vector<std::string>& arguments)
{
    SingleInstanceLock lock("Zarnflash");
    // A second instance, or no lock at all, ends the start without a word.
    if (lock.Acquire() != SingleInstanceLock::Result::Owned) return FALSE;
    CThemeApi::GetInstance()->Load();
    CLangTable::GetInstance()->Load(JoinPath(GetModuleFolder(), "String.txt", false));
    CZarnflashDlg dialog(SplitArguments(arguments));
    if (prepareDialog) prepareDialog(dialog);
    dialog.OnInitDialog();
    if (!dialog.Ended()) dialog.exec();
    ExitInstance();
    return FALSE;
}

int CZarnflashApp::ExitInstance()
{
    CThemeApi::Free();
    CLangTable::Free();
    return 0;
}
