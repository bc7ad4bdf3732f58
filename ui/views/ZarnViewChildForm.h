// Base of the child forms that the reference views and the manual profile entry place inside
// their dialogs. Escape goes on to the owning dialog (which closes); Enter is swallowed so that
// it never presses a button.
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"

#include <QWidget>

#include <map>

class ZarnViewChildForm : public QWidget, public ControlHost {
    Q_OBJECT
public:
    ZarnViewChildForm(int templateId, QWidget* parent);
    ~ZarnViewChildForm() override;

    int TemplateId() const { return templateId_; }
    virtual BOOL OnInitDialog();

    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;
    void AddControl(int id, QWidget* control);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int templateId_;
    std::map<int, QWidget*> controls_;
};
