// Base of the wizard's page forms: child pages created once by the wizard in one of its screen
// areas and shown or hidden per step. The wizard sets `owner` and `settings` before it creates the
// page, so the page's initialisation already sees them. A page never closes itself: Esc goes on to
// the wizard's cancel handling and Enter is swallowed, so it never presses the wizard's Next.
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"

#include <QWidget>

#include <map>
#include <string>

class CKZARN_WizardDlg;
class ExifInputValues;
class WizardData;

class CKZARN_WizAreaBaseForm : public QWidget, public ControlHost {
    Q_OBJECT
public:
    CKZARN_WizAreaBaseForm(int templateId, QWidget* parent);
    ~CKZARN_WizAreaBaseForm() override;

    // Makes the page a child of its area's frame and initialises it; TRUE.
    BOOL Create(QWidget* frame);
    int TemplateId() const { return templateId_; }

    // Shows the choices of the settings block again (called at every step change that leaves the
    // page current).
    virtual void Refresh() {}
    // Shows a photograph's values (an empty path and no record clear the page).
    virtual void ShowPhoto(const std::string& path, const ExifInputValues* record);

    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;
    void AddControl(int id, QWidget* control);

    CKZARN_WizardDlg* owner = nullptr;
    WizardData* settings = nullptr;

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    // The page is the one its area shows now (the wizard itself may not be on screen yet: its
    // first step is entered while it initialises).
    bool IsShownPage() const { return !isHidden(); }
    // Keys the page deals with before its own handling: Esc is declined, so it goes on to the
    // wizard's cancel handling; Enter is swallowed, so it never presses the wizard's Next. TRUE
    // when the key was dealt with here.
    virtual BOOL PreTranslateMessage(QKeyEvent* event);
    void keyPressEvent(QKeyEvent* event) override;
    // After the layout table: a one-line text control lower than a line of the font (the tables
    // give 13 pixels) grows to the line's height about its own middle, so its descenders are not
    // cut off.
    void FitTextRowsToFont();

private:
    int templateId_;
    std::map<int, QWidget*> controls_;
};
