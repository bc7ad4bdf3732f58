#include "ui/main/CKZARN_ProfileWindows.h"

#include "core/CBrowseFolderDlg.h"
#include "core/CKZARN_Common.h"
#include "core/ZarnFileDialogFolder.h"
#include "ui/controls/CKZARN_OpenProfileDlg.h"
#include "ui/main/CKZARN_SelModeDlg.h"
#include "ui/main/CKZARN_SetInitvalDlg.h"
#include "ui/views/CKZARN_EditDlg.h"
#include "ui/views/CKZARN_ManualDlg.h"
#include "ui/views/CKZARN_RefMultiDlg.h"
#include "ui/views/CKZARN_RefSingleDlg.h"
#include "meter/CKZARN_LMCtrl.h"
#include "ui/meter/CZarnManager.h"
#include "ui/wizard/CKZARN_WizardDlg.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QStringList>
#include <QUrl>

QString CKZARN_ProfileWindows::FilterText(const Filters& filters)
{
    QStringList parts;
    for (const auto& [description, pattern] : filters) {
        // Descriptions such as "Backup files (*.csv)" already show their pattern.
        const QString text = CKZARN_Common::ToWidgetText(description);
        const QString shown = " (" + QString::fromStdString(pattern) + ")";
        parts << (text.endsWith(shown) ? text : text + shown);
    }
    return parts.join(";;");
}

namespace {

CKZARN_ProfileWindows MakeDefaults()
{
    CKZARN_ProfileWindows windows;
    windows.openWizard = [](QWidget* parent, int mode, const std::string& resultName) {
        CKZARN_WizardDlg wizard(parent);
        wizard.SetMode(mode);
        if (!resultName.empty()) wizard.SetResultFileName(resultName);
        CZarnManager* facade = CZarnManager::CreateInstance(nullptr);
        if (facade != nullptr) facade->SetActiveForm(&wizard);
        wizard.DoModal();
        if (facade != nullptr) facade->ClearActiveForm();
    };
    windows.openManual = [](QWidget* parent, int mode, const std::string& name) {
        CKZARN_ManualDlg dialog(parent);
        dialog.SetMode(mode);
        dialog.SetProfileName(name);
        CKZARN_ProfileWindows::RunRegistered(dialog);
    };
    windows.openEditor = [](QWidget* parent) {
        CKZARN_EditDlg dialog(parent);
        CKZARN_ProfileWindows::RunRegistered(dialog);
    };
    windows.openRefSingle = [](QWidget* parent) {
        CKZARN_RefSingleDlg dialog(parent);
        CKZARN_ProfileWindows::RunRegistered(dialog);
    };
    windows.openRefMulti = [](QWidget* parent) {
        CKZARN_RefMultiDlg dialog(parent);
        CKZARN_ProfileWindows::RunRegistered(dialog);
    };
    windows.openBackupView = [](QWidget* parent, const std::string& path, const std::vector<std::string>& names) {
        CKZARN_RefSingleDlg dialog(parent);
        dialog.SetBackupProfiles(path, names, static_cast<int>(names.size()));
        CKZARN_ProfileWindows::RunRegistered(dialog);
    };
    windows.runSelMode = [](CKZARN_SelModeDlg& dialog) {
        CZarnManager* facade = CZarnManager::CreateInstance(nullptr);
        if (facade != nullptr) facade->SetActiveForm(&dialog);
        const int result = dialog.DoModal();
        if (facade != nullptr) facade->ClearActiveForm();
        return result;
    };
    windows.runChooser = [](CKZARN_OpenProfileDlg& dialog) {
        CZarnManager* facade = CZarnManager::CreateInstance(nullptr);
        if (facade != nullptr) facade->SetActiveForm(&dialog);
        const int result = dialog.DoModal();
        if (facade != nullptr) facade->ClearActiveForm();
        return result;
    };
    windows.runInitialLevels = [](CKZARN_SetInitvalDlg& dialog) {
        CZarnManager* facade = CZarnManager::CreateInstance(nullptr);
        if (facade != nullptr) facade->SetActiveForm(&dialog);
        const int result = dialog.DoModal();
        if (facade != nullptr) facade->ClearActiveForm();
        return result;
    };
    windows.openFiles = [](const std::string& title, const CKZARN_ProfileWindows::Filters& filters, bool multiple) {
        std::vector<std::string> paths;
        const QString caption = CKZARN_Common::ToWidgetText(title);
        const QString start = ZarnFileDialogFolder::Start();
        const QString filter = CKZARN_ProfileWindows::FilterText(filters);
        QStringList chosen;
        if (multiple) {
            chosen = QFileDialog::getOpenFileNames(nullptr, caption, start, filter);
        } else {
            chosen << QFileDialog::getOpenFileName(nullptr, caption, start, filter);
            chosen.removeAll(QString());
        }
        for (const QString& path : chosen) {
            paths.push_back(path.toStdString());
        }
        if (!chosen.isEmpty()) ZarnFileDialogFolder::Remember(chosen.front());
        return paths;
    };
    windows.saveFile = [](const std::string& title, const CKZARN_ProfileWindows::Filters& filters,
                          const std::string& defaultExtension, const std::string& fileName) {
        QFileDialog dialog(nullptr, CKZARN_Common::ToWidgetText(title), ZarnFileDialogFolder::Start(),
                           CKZARN_ProfileWindows::FilterText(filters));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
        dialog.selectFile(CKZARN_Common::ToWidgetText(fileName));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
        ZarnFileDialogFolder::Remember(dialog.selectedFiles().front());
        return dialog.selectedFiles().front().toStdString();
    };
    windows.browseFolder = [](QWidget* owner, const std::string& title) {
        CBrowseFolderDlg browse(owner, BIF_RETURNONLYFSDIRS);
        if (!browse.BrowseForFolder(title.c_str(), nullptr, nullptr)) return std::string();
        return browse.SelectedFolder();
    };
    windows.openDocument = [](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    };
    return windows;
}

CKZARN_ProfileWindows& Instance()
{
    static CKZARN_ProfileWindows windows = MakeDefaults();
    return windows;
}

} // namespace

CKZARN_ProfileWindows& CKZARN_ProfileWindows::Current()
{
    return Instance();
}

void CKZARN_ProfileWindows::Reset()
{
    Instance() = MakeDefaults();
}

int CKZARN_ProfileWindows::RunRegistered(QDialog& dialog)
{
    CZarnManager* facade = CZarnManager::CreateInstance(nullptr);
    if (facade != nullptr) facade->SetActiveForm(&dialog);
    const int result = dialog.exec();
    if (facade != nullptr) facade->ClearActiveForm();
    return result;
}
