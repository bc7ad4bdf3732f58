// Base of the main window's tab pages. The main window tells its pages of everything that happens
// to the meter and to child programs through these virtual operations, and asks them whether the
// Edit menu's commands apply. The defaults make a bare page safe: nothing to copy, cut or paste,
// every notice accepted.
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"
#include "ui/main/KeyMessage.h"

#include <QWidget>

#include <map>
#include <string>

class CKZARN_MainDlg;

class CKZARN_MainBaseForm : public QWidget, public ControlHost {
    Q_OBJECT
public:
    CKZARN_MainBaseForm(int templateId, QWidget* parent);
    ~CKZARN_MainBaseForm() override;

    // Stores the owner and creates the page as a child of the tab control; TRUE.
    BOOL Create(int templateId, QWidget* tabControl, CKZARN_MainDlg* owner);
    CKZARN_MainDlg* Owner() const { return owner_; }
    int TemplateId() const { return templateId_; }

    virtual BOOL CanCopy();
    virtual BOOL Cut();
    virtual BOOL CanCut();
    virtual BOOL CanPaste();
    virtual BOOL OnMeterInfoChanged();
    virtual BOOL OnMainClosing();
    virtual BOOL AcceptsReturnKey();
    virtual BOOL OnExternalProgramStarting(const std::string& program, const std::string& arguments);
    virtual BOOL OnExternalProgramEnded(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnUpdateListReady(WPARAM wParam, LPARAM lParam);

    // Sees a key before the control it is aimed at; TRUE when the key is used up. Esc (and Enter,
    // unless the page takes it) gets no dialog handling, so a page never closes; Ctrl+N, R, E and
    // T also go to the owner, and on to the main window's own pre-translation.
    virtual BOOL PreTranslateMessage(const KeyMessage& msg);

    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;
    void AddControl(int id, QWidget* control);

protected:
    // Page set-up after creation: pages take the tab control's themed background when the
    // visual-styles library offers it.
    virtual BOOL OnInitDialog();

private:
    int templateId_;
    CKZARN_MainDlg* owner_ = nullptr;
    std::map<int, QWidget*> controls_;
};
