#include "ui/controls/CKZARN_ModalBaseDlg.h"

#include <QEvent>

CKZARN_ModalBaseDlg::CKZARN_ModalBaseDlg(int templateId, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      templateId_(templateId)
{
}

CKZARN_ModalBaseDlg::~CKZARN_ModalBaseDlg() = default;

QWidget* CKZARN_ModalBaseDlg::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CKZARN_ModalBaseDlg::AddControl(int id, QWidget* control)
{
    controls_[id] = control;
}

void CKZARN_ModalBaseDlg::OnSysCommand(UINT id, LPARAM /*lParam*/)
{
    if (id == SC_MINIMIZE) {
        if (QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr) {
            owner->showMinimized();
        }
        return;
    }
    // The default handling looks only at the command's upper bits.
    switch (id & 0xFFF0) {
    case SC_MINIMIZE:
        redirecting_ = true; // this one minimises the dialog itself
        showMinimized();
        redirecting_ = false;
        break;
    case SC_MAXIMIZE:
        showMaximized();
        break;
    case SC_RESTORE:
        showNormal();
        break;
    case SC_CLOSE:
        close();
        break;
    default:
        break;
    }
}

void CKZARN_ModalBaseDlg::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // The window system minimised the dialog (its minimise box): undo that and minimise the owner.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && !redirecting_) {
        redirecting_ = true;
        setWindowState(windowState() & ~Qt::WindowMinimized);
        OnSysCommand(SC_MINIMIZE, 0);
        redirecting_ = false;
    }
}
