// The windows the profile and backup commands open, behind one replaceable set of functions: the
// wizard, the editor, the manual entry and the reference views, the file and folder dialogs, the
// modal runs of the choosers, and the desktop's document viewer. Tests replace the functions to answer without
// a user. Window openers run their dialog modally between CZarnManager::SetActiveForm and
// ClearActiveForm (RunRegistered does both).
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

class CKZARN_OpenProfileDlg;
class CKZARN_SelModeDlg;
class CKZARN_SetInitvalDlg;
class QDialog;
class QString;
class QWidget;

class CKZARN_ProfileWindows {
public:
    // (description, pattern) pairs of a file dialog's filter.
    using Filters = std::vector<std::pair<std::string, std::string>>;

    // The wizard in mode 0 or 1; with a name, the wizard's result file to start from.
    std::function<void(QWidget* parent, int mode, const std::string& resultName)> openWizard;
    // The manual entry in mode 0 (new) or 2 (edit the named profile).
    std::function<void(QWidget* parent, int mode, const std::string& name)> openManual;
    std::function<void(QWidget* parent)> openEditor;
    std::function<void(QWidget* parent)> openRefSingle;
    std::function<void(QWidget* parent)> openRefMulti;
    // The single reference view over the profiles of a backup file.
    std::function<void(QWidget* parent, const std::string& path, const std::vector<std::string>& names)>
        openBackupView;

    // Modal runs of the program's own small dialogs.
    std::function<int(CKZARN_SelModeDlg&)> runSelMode;
    std::function<int(CKZARN_OpenProfileDlg&)> runChooser;
    std::function<int(CKZARN_SetInitvalDlg&)> runInitialLevels;

    // File dialogs: the chosen paths (empty: cancelled).
    std::function<std::vector<std::string>(const std::string& title, const Filters& filters, bool multiple)>
        openFiles;
    std::function<std::string(const std::string& title, const Filters& filters, const std::string& defaultExtension,
                              const std::string& fileName)>
        saveFile;
    std::function<std::string(QWidget* owner, const std::string& title)> browseFolder;
    // Opens a document with the desktop's viewer; false when none could be started.
    std::function<bool(const std::string& path)> openDocument;

    // The set in use; its defaults run the real dialogs and windows.
    static CKZARN_ProfileWindows& Current();
    // Puts back the defaults.
    static void Reset();

    // Runs a dialog modally, registered as the main window's active form while it runs.
    static int RunRegistered(QDialog& dialog);
    // The file dialogs' filter text: "description (pattern)" entries joined by ";;", the pattern added
    // only to a description that does not already end with it.
    static QString FilterText(const Filters& filters);
};
