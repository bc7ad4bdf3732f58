#include "core/CBrowseFolderDlg.h"

#include "core/CKZARN_Common.h"

#include <QDir>
#include <QFileDialog>
#include <QPushButton>

namespace {

CBrowseFolderDlg::DialogRunner& Runner()
{
    static CBrowseFolderDlg::DialogRunner runner;
    return runner;
}

} // namespace

CBrowseFolderDlg::CBrowseFolderDlg(QWidget* owner, UINT flags) : owner_(owner), flags_(flags) {}

void CBrowseFolderDlg::SetDialogRunner(DialogRunner runner)
{
    Runner() = std::move(runner);
}

BOOL CBrowseFolderDlg::BrowseForFolder(const char* title, const char* initialFolder, const char* root)
{
    if (initialFolder != nullptr) {
        initialFolder_ = initialFolder;
    }
    QFileDialog dialog(owner_, title != nullptr ? CKZARN_Common::ToWidgetText(title) : QString());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (root != nullptr) {
        dialog.setDirectory(CKZARN_Common::ToWidgetText(root));
    }
    QObject::connect(&dialog, &QFileDialog::currentChanged,
                     [this](const QString& path) { OnSelChanged(path.toStdString()); });
    QObject::connect(&dialog, &QFileDialog::accepted, [this] { OnOK(); });
    QObject::connect(&dialog, &QFileDialog::rejected, [this] { OnCancel(); });
    dialog_ = &dialog;
    OnInitialized();
    const bool accepted = Runner() ? Runner()(dialog) : dialog.exec() == QDialog::Accepted;
    dialog_ = nullptr;
    if (!accepted) {
        return FALSE;
    }
    const QStringList chosen = dialog.selectedFiles();
    selectedFolder_ = chosen.isEmpty() ? std::string() : chosen.front().toStdString();
    return TRUE;
}

LRESULT CBrowseFolderDlg::EnableOK(BOOL enable)
{
    if (dialog_ == nullptr) {
        return 0;
    }
    for (QPushButton* button : dialog_->findChildren<QPushButton*>()) {
        if (button->isDefault() || button->text().contains(QStringLiteral("Choose")) ||
            button->text().contains(QStringLiteral("Open"))) {
            button->setEnabled(enable != 0);
        }
    }
    return 1;
}

void CBrowseFolderDlg::SetSelection(const char* path)
{
    if (dialog_ == nullptr || path == nullptr) {
        return;
    }
    const QString folder = CKZARN_Common::ToWidgetText(path);
    if (QDir(folder).exists()) {
        dialog_->setDirectory(folder); // a missing folder selects nothing
    }
}

LRESULT CBrowseFolderDlg::SetStatusText(const char* text)
{
    if (dialog_ == nullptr) {
        return 0;
    }
    dialog_->setLabelText(QFileDialog::FileName, CKZARN_Common::ToWidgetText(text != nullptr ? text : ""));
    return 1;
}

BOOL CBrowseFolderDlg::OnInitialized()
{
    if (!initialFolder_.empty()) {
        SetSelection(initialFolder_.c_str());
    }
    EnableOK(TRUE);
    return TRUE;
}
