// The About box: the program's description and version (set by the build and compiled in), the
// copyright line, and a button that starts the system-information program where there is one.
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"

#include <QDialog>

#include <map>
#include <string>

class CAboutDlg : public QDialog, public ControlHost {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 100;
    static constexpr int kIconId = 1195;
    static constexpr int kDescriptionId = 1192;
    static constexpr int kVersionId = 1193;
    static constexpr int kCopyrightId = 1194;
    static constexpr int kOkId = 1;
    static constexpr int kSystemInfoId = 1024;

    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

    int DoModal();
    BOOL OnInitDialog();

    // The version resource's version text (ZarnProgramVersion), commas and blanks removed.
    static std::string GetFileVersion();
    static std::string GetFileDescription();

    // Finds the system-information program in the registry and opens it; text 10012 when there is
    // none. Returns the path opened (empty when none).
    std::string OnSystemInfo();

    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;

private:
    std::map<int, QWidget*> controls_;
    bool initialised_ = false;
};
