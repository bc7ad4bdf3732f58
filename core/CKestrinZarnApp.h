// The application object of Zarndesk: brings the process up in a fixed order, keeps it to one
// instance, runs the main window modally, and brings the process down in a fixed order on every
// way out. It holds the settings, the locale's decimal character and the child-program launcher,
// and relays the launcher's start and end notices to the main window.
#pragma once

#include "core/CProcessLauncher.h"
#include "core/ZarnAppSettings.h"
#include "platform/SingleInstanceLock.h"
#include "platform/qt/WindowMessageHandler.h"
#include "platform/WinTypes.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class InstanceActivationChannel;
class LaunchTrackingStarter;
class QObject;
class ZarnAppParts;
class ZarnMainWindow;

// Posted by the launcher's wait thread to the application when a waited-for child program ended.
constexpr UINT WM_ZARN_LAUNCH_DONE = WM_USER + 6;

class CKestrinZarnApp final : public WindowMessageHandler {
public:
    static constexpr const char* kInstanceName = "KESTRIN Zarndesk";
    static constexpr int kAlreadyRunningTextId = 10014;
    static constexpr int kMainTitleTextId = 1000;

    // parts: the main window factory and the meter facade's end (must outlive the object).
    // starter: how child programs start (null: the system's). instanceName: the single-instance
    // name (tests use their own).
    explicit CKestrinZarnApp(ZarnAppParts* parts, ProcessStarter* starter = nullptr,
                             std::string instanceName = kInstanceName);
    ~CKestrinZarnApp() override; // waits for a child program still waited for
    CKestrinZarnApp(const CKestrinZarnApp&) = delete;
    CKestrinZarnApp& operator=(const CKestrinZarnApp&) = delete;

    // The one application object (null when none exists).
    static CKestrinZarnApp* GetApp();

    // Start-up with the program's arguments (without the program name); FALSE on every path.
    BOOL InitInstance(const std::vector<std::string>& arguments);
    // Shut-down; returns the process's exit code (0).
    int ExitInstance();
    // InitInstance, then ExitInstance.
    int Run(const std::vector<std::string>& arguments);

    // Whether the arguments leave the splash on: off with the "Embedding" or "Automation" switch.
    static bool ShowSplashFromArguments(const std::vector<std::string>& arguments);

    void LoadSettings();
    // Writes the user settings file; FALSE when it cannot be written.
    BOOL SaveUserSettings();

    // Starts a child program whose end is reported: 1 started, 0 refused (no main window, or the
    // launcher still waits for an earlier program), -1 the waiting could not be set up (polling
    // has been resumed already).
    int LaunchProgramNotify(const std::string& file, const std::string& parameters);
    // The same with the arguments as a list, each handed to the program as it stands (the pages
    // are told them joined by blanks).
    int LaunchProgramNotify(const std::string& file, const std::vector<std::string>& arguments);
    // Starts a child program without waiting for it: TRUE started; FALSE refused (no main window,
    // or the launcher still waits for an earlier program; nothing started); kLaunchFailed when the
    // program could not be started. Polling is resumed at once unless the launch was refused.
    BOOL LaunchProgram(const std::string& file, const std::string& parameters);
    BOOL LaunchProgram(const std::string& file, const std::vector<std::string>& arguments);
    static constexpr BOOL kLaunchFailed = -1;
    LRESULT OnChildProgramEnded(WPARAM wParam, LPARAM lParam);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Restores the main window when minimised and brings it to the front; FALSE without one.
    BOOL RaiseMainWindow();
    // Called after every raise asked for by another instance.
    void SetRaiseObserver(std::function<void()> observer) { raiseObserver_ = std::move(observer); }
    // Called when the main window exists, just before it runs.
    void SetMainWindowObserver(std::function<void()> observer) { mainWindowObserver_ = std::move(observer); }

    std::string GetGuidePath() const { return guidePath_; }
    std::string GetTextFilePath() const { return textFilePath_; }
    char GetDecimalChar() const { return decimalChar_; }
    ZarnAppSettings& Settings() { return settings_; }
    const ZarnAppSettings& Settings() const { return settings_; }
    ZarnMainWindow* GetMainWindow() const { return mainWindow_; }
    void SetMainWindow(ZarnMainWindow* window) { mainWindow_ = window; }
    CProcessLauncher& Launcher() { return launcher_; }
    // The handle to which the launcher posts WM_ZARN_LAUNCH_DONE (valid after start-up).
    HWND GetMessageWindow() const { return messageWindow_; }
    SingleInstanceLock& InstanceLock() { return instanceLock_; }

    static std::string ProgramSettingsPath();
    static std::string UserSettingsPath();

private:
    void ShowAlreadyRunning();
    static std::string JoinArguments(const std::vector<std::string>& arguments);
    // Inline launch: tells the main window around the start; launch() runs the launcher.
    BOOL LaunchProgramWith(const std::string& file, const std::string& shownArguments,
                           const std::function<int()>& launch);

    ZarnAppParts* parts_;
    std::unique_ptr<LaunchTrackingStarter> tracker_;
    SingleInstanceLock instanceLock_;
    std::string textFilePath_;
    std::string guidePath_;
    char decimalChar_ = '.';
    ZarnAppSettings settings_;
    CProcessLauncher launcher_;
    std::unique_ptr<QObject> messageObject_;
    HWND messageWindow_;
    std::unique_ptr<InstanceActivationChannel> channel_;
    ZarnMainWindow* mainWindow_ = nullptr;
    std::function<void()> raiseObserver_;
    std::function<void()> mainWindowObserver_;
};
