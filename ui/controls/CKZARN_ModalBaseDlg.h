// Base of the program's large modal dialogs. It keeps the dialog's controls by id for the layout
// tables, and minimising the dialog minimises its owner (the main window) instead, leaving the
// dialog as it is.
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"

#include <QDialog>

#include <map>

// System commands of the window menu; the numbers are fixed, since handlers compare against them.
constexpr UINT SC_MINIMIZE = 0xF020;
constexpr UINT SC_MAXIMIZE = 0xF030;
constexpr UINT SC_CLOSE = 0xF060;
constexpr UINT SC_RESTORE = 0xF120;

class CKZARN_ModalBaseDlg : public QDialog, public ControlHost {
    Q_OBJECT
public:
    CKZARN_ModalBaseDlg(int templateId, QWidget* parent);
    ~CKZARN_ModalBaseDlg() override;

    int TemplateId() const { return templateId_; }

    // A window-menu command. Exactly SC_MINIMIZE minimises the owner; others act on the dialog.
    virtual void OnSysCommand(UINT id, LPARAM lParam);

    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;
    // Enters a control under its id (derived dialogs do this as they build their controls).
    void AddControl(int id, QWidget* control);

protected:
    void changeEvent(QEvent* event) override;

private:
    int templateId_;
    std::map<int, QWidget*> controls_;
    bool redirecting_ = false;
};
