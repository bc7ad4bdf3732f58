// Base of the pages of the reference views: a child form placed on a tab control. Escape goes on
// to the owning dialog (which closes); Enter is swallowed so that it never presses a button.
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"

#include <QWidget>

#include <map>

class CKZARN_RefBaseForm : public QWidget, public ControlHost {
    Q_OBJECT
public:
    CKZARN_RefBaseForm(int templateId, QWidget* parent);
    ~CKZARN_RefBaseForm() override;

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
