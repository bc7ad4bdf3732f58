// The downloader's main dialog: reads the attached meter, shows its state, versions and the progress
// of the running job, and chains the jobs of the worker object until the meter is up to date. In
// launched mode (command line from the main program) it downloads the images itself and shows only
// Cancel; in stand-alone mode the user picks image files in the settings dialog and presses Start,
// and the meter is polled once a second.
#pragma once

#include "core/util/ZarnProxySettings.h"
#include "flash/CZarnflashMeterReader.h"
#include "flash/CZarnflashThread.h"
#include "flash/FlashImageCheck.h"
#include "flash/ZarnflashDefs.h"
#include "flash/ui/QtFlashMessageTarget.h"
#include "ui/controls/CStaticIcon.h"

#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <string>
#include <vector>

class CZarnflashDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTimerId = 20020222;
    // Sends a message to the main program's window named by the " /Zarn " number.
    using OwnerMessenger = std::function<void(const std::string& owner, UINT message, WPARAM wParam, LPARAM lParam)>;

    // tokens: the command line, split (first token the program).
    explicit CZarnflashDlg(std::vector<std::string> tokens, QWidget* parent = nullptr);
    ~CZarnflashDlg() override;

    // Tests: where meters are found, time, and the messenger to the main program.
    void SetEnvironment(MeterLinkFactory* links, Clock* clock);
    void SetOwnerMessenger(OwnerMessenger messenger) { messenger_ = std::move(messenger); }
    // The settings dialog is run through this (tests answer it); null: the real dialog.
    using SettingsRunner = std::function<int(class CZarnflashFileselectDlg&)>;
    void SetSettingsRunner(SettingsRunner runner) { settingsRunner_ = std::move(runner); }

    // Start-up: command line, start mode, first job. Called once before the dialog is shown.
    BOOL OnInitDialog();
    int ReadMeter();
    BOOL LoadDownloadSettings();
    void OnJobDone(WPARAM job, LPARAM code);
    void OnProgress(WPARAM job, LPARAM value);
    void OnJobFailed(WPARAM job, LPARAM code);
    void OnDownloadFailed(WPARAM job, LPARAM code);
    void OnDownloadCancelled(WPARAM job, LPARAM code);
    void OnStart();
    void OnSettings();
    void OnCancelButton();
    void OnExit();
    void OnTimer();
    // Command 16 opens the About box; the window's context menu stands in for the system menu.
    void OnSysCommand(int command);
    // The About box is run through this (tests answer it); null: modally.
    std::function<void(QDialog&)> aboutRunner;
    void SaveLastUpdateFiles();
    void UpdateButtons();
    void UpdateIcons();
    void UpdateTitle();
    void UpdateStatusText();

    // Routes a worker message to its handler.
    void HandleThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // What tests look at.
    int UiState() const { return uiState_; }
    int ResultCode() const { return resultCode_; }
    bool IsStandAlone() const { return standAlone_ != 0; }
    const std::string& ModelName() const { return modelName_; }
    const std::string& MeterRevision() const { return meterRevision_; }
    const std::string& MeterRadioAppVersion() const { return meterAppVersion_; }
    bool TimerActive() const { return timer_.isActive(); }
    bool PollRunning() const { return poll_.joinable(); }
    bool Ended() const { return ended_; }
    CZarnflashThread& Worker() { return worker_; }
    QProgressBar* ProgressBar() const { return progress_; }
    QLabel* StatusLabel() const { return status_; }
    QLabel* VersionLabel() const { return versionLine_; }
    QPushButton* CancelButton() const { return cancel_; }
    QPushButton* StartButton() const { return start_; }
    QPushButton* SettingsButton() const { return settings_; }
    QPushButton* ExitButton() const { return exit_; }
    CStaticIcon* ModelPicture() const { return modelIcon_; }

    // Enter, Escape and the close box do nothing: only the dialog's buttons close it.
    void OnOK() {}
    void OnCancel() {}
    void reject() override { OnCancel(); }
    void accept() override { OnOK(); }

protected:
    bool event(QEvent* e) override;
    // Starts the meter poll's thread into poll_; false when no thread could be made. Tests replace it.
    virtual bool StartPollThread(std::function<void()> body);

private:
    void SetFinished(int code);
    // State 7: stand-alone, the worker is joined and the poll goes on.
    void EnterFinished();
    struct ChainImage {
        int job;
        std::string folder;
        std::string name;
    };
    // The chosen images a stand-alone chain on the meter held may write (those with a name).
    std::vector<ChainImage> ChainImages() const;
    // Stand-alone with a meter: the first chosen image whose name does not fit the meter or its
    // slot (no file is read, so every refresh may ask).
    FlashImageProblem ReadyRefusal() const;
    // Checks every image the stand-alone chain would write (name, companion, script) and keeps
    // the refused one; 0, or the code it is refused with.
    int CheckChainImages();
    void EndDialog();
    void KillTimer();
    void StartTimer();
    void SplitScript(std::string& folder, std::string& name);
    bool IsT520Radio() const;
    bool IsT140Radio() const { return modelName_ == "T-140DR"; }
    bool StartJob(BOOL started);
    std::string VersionLine() const;
    std::string StatusFor(int code) const;
    MeterLinkFactory& Links();
    // Takes a reading into the members.
    void Apply(const FlashMeterReading& reading);
    // Waits for a poll still reading the meter and takes its result.
    void JoinPoll();
    // Queued by name from the poll thread, so the posted call holds no functor of that thread.
    Q_INVOKABLE void ApplyPolled();

    QLabel* versionLine_ = nullptr;
    QPushButton* exit_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* settings_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    CStaticIcon* stateIcon_ = nullptr;
    CStaticIcon* modelIcon_ = nullptr;
    QIcon icon131_, icon130_, icon206_, icon192_, icon136_;

    int standAlone_ = 0;
    int uiState_ = kUiDownloading; // until OnInitDialog sets the start state
    int resultCode_ = 0;
    QTimer timer_;
    CZarnflashThread worker_;
    QtFlashMessageTarget gui_{this};
    std::string offeredMainDate_;
    std::string meterRevision_;
    std::string offeredMainVersion_;
    std::string offeredAppDate_;
    std::string meterAppVersion_;
    std::string offeredAppVersion_;
    std::string meterLoaderVersion_;
    std::string offeredLoaderVersion_;
    std::string offeredUpdaterVersion_;
    int variant_ = 0;
    std::string modelName_;
    std::string owner_;
    std::string baseUrl_, versionListUrl_, fileListUrl_, firmwareListUrl_, downloadFolder_;
    ZarnProxySettings proxy_;
    bool meterPresent_ = false;
    bool severalMeters_ = false;
    // The poll reads the meter on a thread of its own, so the window never waits for the meter.
    CZarnflashMeterReader reader_;
    std::thread poll_;
    std::mutex pollMutex_;
    std::optional<FlashMeterReading> polled_;
    std::atomic<bool> pollBusy_{false};
    std::string devicePath_;
    std::string mainFolder_, mainName_, appFolder_, appName_, loaderFolder_, loaderName_, updaterFolder_,
        updaterName_, port_;

    std::vector<std::string> tokens_;
    MeterLinkFactory* links_ = nullptr;
    Clock* clock_ = nullptr;
    std::unique_ptr<MeterLinkFactory> ownLinks_;
    OwnerMessenger messenger_;
    SettingsRunner settingsRunner_;
    bool ended_ = false;
    // Set once the meter has been read after a run ended (stand-alone).
    bool readAgain_ = false;
    // A radio job of the running chain left the module in update mode for the next job.
    bool awaitsFirmware_ = false;
    // Why the last run refused an image (shown on the version line).
    FlashImageProblem refusal_;
};
