// The update dialog: the connected meter with its current and latest firmware, the installed and
// latest software, and the two buttons that start the firmware downloader or the application
// updater. While a child program runs it is busy: its buttons are disabled and it cannot be closed.
#pragma once

#include "platform/WinTypes.h"
#include "ui/controls/CKZARN_ModalBaseDlg.h"

#include <QIcon>
#include <QPointer>

#include <string>
#include <vector>

class CStaticIcon;
class QLabel;
class QLineEdit;
class QPushButton;

class CKZARN_MainUpdateImplDialog : public CKZARN_ModalBaseDlg {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 200;
    static constexpr int kModelId = 1238;
    static constexpr int kCurrentFirmwareId = 1023;
    static constexpr int kLatestFirmwareId = 1026;
    static constexpr int kInstalledAppId = 1025;
    static constexpr int kLatestAppId = 1028;
    static constexpr int kUpdateFirmwareId = 1029;
    static constexpr int kUpdateAppId = 1032;
    static constexpr int kBackId = 1046;
    static constexpr int kMeterDateId = 1227;
    static constexpr int kLastUpdateDateId = 1229;
    static constexpr int kMeterPictureId = 1237;
    static constexpr int kProgramIconId = 1239;
    // Shown when a program cannot be started, and when its command-line values are not plain texts.
    static constexpr int kStartFailedTextId = 1621;
    static constexpr int kBadUpdateInfoTextId = 1622;

    explicit CKZARN_MainUpdateImplDialog(QWidget* parent = nullptr);
    ~CKZARN_MainUpdateImplDialog() override;

    // The number of the main window that the child programs report to (" /Zarn ").
    void SetMainWindowNumber(int number) { mainWindowNumber_ = number; }

    int DoModal();
    BOOL OnInitDialog();
    bool IsInitialised() const { return initialised_; }

    virtual BOOL OnBusy(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnIdle(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnUpdateListRefresh(WPARAM wParam, LPARAM lParam);

    // WM_ZARN_T310_INFO and WM_ZARN_T140_INFO refresh the dialog; other messages return 0.
    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMeterInfo(WPARAM wParam, LPARAM lParam);

    void ShowUpdateButtons();
    void UpdateModel();
    void UpdateVersions();

    void StartFirmwareUpdate();
    void StartSoftwareUpdate();
    void OnBack();
    // Enter and Esc (and the close box) end the dialog only while it is idle.
    void OnOK();
    void OnCancel();
    // Esc and the close box come here.
    void reject() override;
    // Ends the dialog with IDOK whatever its state (the main window closes).
    void EndNow();

    // The program's own version as "%d.%d%d" of its first three parts.
    static std::string OwnVersionText();

    std::string latestFirmwareVersion = "---";
    std::string firmwareReleaseDate = "---";
    std::string rfLoaderVersion = "---";
    std::string rfAppVersion = "---";
    std::string installedAppVersion = "---";
    std::string latestAppVersion = "---";
    int idle = 1;

protected:
    void keyPressEvent(QKeyEvent* event) override;

    // Starts the programs through the application; tests stand in. The results are those of
    // CKestrinZarnApp::LaunchProgramNotify and CKestrinZarnApp::LaunchProgram.
    virtual int LaunchNotify(const std::string& program, const std::vector<std::string>& arguments);
    virtual BOOL Launch(const std::string& program, const std::vector<std::string>& arguments);
    // The folder of the running program, where both child programs are installed; tests stand in.
    virtual std::string ProgramFolder() const;
    // The path of a program installed in that folder, given by its file name ("Zarnflash.exe").
    std::string ProgramFile(const std::string& name) const;
    // Tells the user of a failure (exclamation icon, OK).
    void ShowFailure(int textId, const std::string& program);

private:
    QLabel* model_ = nullptr;
    QLineEdit* currentFirmware_ = nullptr;
    QLineEdit* latestFirmware_ = nullptr;
    QLineEdit* installedApp_ = nullptr;
    QLineEdit* latestApp_ = nullptr;
    QPushButton* updateFirmware_ = nullptr;
    QPushButton* updateApp_ = nullptr;
    QPushButton* back_ = nullptr;
    QLabel* meterDate_ = nullptr;
    QLabel* lastUpdateDate_ = nullptr;
    CStaticIcon* meterPicture_ = nullptr;
    CStaticIcon* programIcon_ = nullptr;
    QIcon t310Icon_;
    QIcon t140Icon_;
    QIcon t520Icon_;
    QIcon programIconImage_;
    QPointer<QWidget> busyFocus_;
    int mainWindowNumber_ = 0;
    bool initialised_ = false;
};
