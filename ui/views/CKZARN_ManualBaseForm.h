// Base of the two forms of the manual profile entry: child forms of the dialog. Escape goes on
// to the owning dialog (which closes); Enter is swallowed so that it never presses a button.
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"

#include <QWidget>

#include <map>

class CKZARN_ManualBaseForm : public QWidget, public ControlHost {
    Q_OBJECT
public:
    CKZARN_ManualBaseForm(int templateId, QWidget* parent);
    ~CKZARN_ManualBaseForm() override;

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
