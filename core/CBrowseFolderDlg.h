// The folder-browse dialog on QFileDialog (folders only). The hooks are virtual so that a derived
// class can steer the dialog while it is open; the setters act only while it is up.
#pragma once

#include "platform/WinTypes.h"

#include <QString>
#include <functional>
#include <string>

class QFileDialog;
class QWidget;

constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;

class CBrowseFolderDlg {
public:
    // Runs the modal dialog: tests replace it to answer without a user. Returns true when accepted.
    using DialogRunner = std::function<bool(QFileDialog&)>;

    CBrowseFolderDlg(QWidget* owner, UINT flags);
    virtual ~CBrowseFolderDlg() = default;

    // TRUE with the chosen folder kept when the user confirms; FALSE (nothing changed) when cancelled.
    // A non-null initial folder replaces the stored one.
    virtual BOOL BrowseForFolder(const char* title, const char* initialFolder, const char* root);
    virtual LRESULT EnableOK(BOOL enable);
    virtual void SetSelection(const char* path);
    virtual LRESULT SetStatusText(const char* text);
    virtual BOOL OnInitialized();
    virtual void OnOK() {}
    virtual void OnCancel() {}
    virtual void OnSelChanged(const std::string& /*folder*/) {}
    virtual BOOL OnValidateFailed(const std::string& /*typed*/) { return TRUE; }

    const std::string& SelectedFolder() const { return selectedFolder_; }
    const std::string& InitialFolder() const { return initialFolder_; }
    UINT Flags() const { return flags_; }

    static void SetDialogRunner(DialogRunner runner);

private:
    QWidget* owner_;
    UINT flags_;
    std::string selectedFolder_;
    std::string initialFolder_;
    QFileDialog* dialog_ = nullptr; // while the dialog is up
};
