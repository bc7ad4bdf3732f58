// A message with an icon and four buttons. DoModal returns 257, 258, 259 or 260 for the buttons
// (left to right) and 256 when the dialog is cancelled (Esc or the close box); Enter presses the
// default button. Callers set the texts, the default button and the icon before DoModal.
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"

#include <QDialog>
#include <QIcon>

#include <map>
#include <string>
#include <vector>

class CMsg4ButtonDlg : public QDialog, public ControlHost {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 169;
    static constexpr int kIconId = 1187;
    static constexpr int kMessageId = 1147;
    static constexpr int kFirstButtonId = 1252; // 1252..1255
    static constexpr int kCancelled = 256;
    static constexpr int kFirstResult = 257; // 257..260

    explicit CMsg4ButtonDlg(QWidget* parent = nullptr);
    ~CMsg4ButtonDlg() override;

    // Caption, message and the four button labels; an array of fewer than six texts is ignored.
    void SetTexts(const std::vector<std::string>& newTexts);
    void SetDefaultButton(int result) { defaultResult = result; }
    // The system icon of that number (IDI_WARNING and its kin).
    void SetSystemIcon(int name);

    int DoModal();
    // Lays the dialog out and fills it; DoModal calls it first.
    virtual BOOL OnInitDialog();

    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;

    std::vector<std::string> texts;
    QIcon icon;
    int defaultResult = 257;

public slots:
    void accept() override; // Enter acts only through the default button
    void reject() override;

private:
    std::map<int, QWidget*> controls_;
};
