#include "core/CKestrinZarnApp.h"

#include "core/CKZARN_Common.h"
#include "core/CSplashWnd.h"
#include "core/LaunchTrackingStarter.h"
#include "core/StartupTrace.h"
#include "core/ZarnAppParts.h"
#include "core/ZarnSettingsFiles.h"
#include "core/util/CIniFile.h"
#include "core/util/CLangTable.h"
#include "core/util/CThemeApi.h"
#include "platform/PromptService.h"
#include "platform/qt/InstanceActivationChannel.h"
#include "platform/qt/QtMessageSink.h"

#include <QObject>
#include <QWidget>

#include <clocale>

namespace {
CKestrinZarnApp* g_app = nullptr;
// How long a second instance waits for the first one to take its activation request.
constexpr int kActivationTimeoutMs = 3000;

bool EqualsNoCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        char ca = a[i];
        char cb = b[i];
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<char>(ca + 32);
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<char>(cb + 32);
        if (ca != cb) {
            return false;
        }
    }
    return i == a.size() && b[i] == '\0';
}
} // namespace

CKestrinZarnApp::CKestrinZarnApp(ZarnAppParts* parts, ProcessStarter* starter, std::string instanceName)
    : parts_(parts),
      tracker_(std::make_unique<LaunchTrackingStarter>(starter)),
      instanceLock_(std::move(instanceName)),
      launcher_(&QtMessageSink::Instance(), tracker_.get())
{
    g_app = this;
}

CKestrinZarnApp::~CKestrinZarnApp()
{
    // A child program still waited for keeps the process until it ends.
    launcher_.WaitThread();
    if (g_app == this) {
        g_app = nullptr;
    }
}

CKestrinZarnApp* CKestrinZarnApp::GetApp()
{
    return g_app;
}

bool CKestrinZarnApp::ShowSplashFromArguments(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments) {
        if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) {
            continue;
        }
        const std::string name = argument.substr(argument.find_first_not_of("/-"));
        if (EqualsNoCase(name, "Embedding") || EqualsNoCase(name, "Automation")) {
            return false;
        }
    }
    return true;
}

std::string CKestrinZarnApp::ProgramSettingsPath()
{
    // The program folder ends in a separator already.
    return CKZARN_Common::GetFolderPath(6) + ZarnSettingsFiles::kProgramFileName;
}

std::string CKestrinZarnApp::UserSettingsPath()
{
    return CKZARN_Common::GetFolderPath(7) + "/" + ZarnSettingsFiles::kUserFileName;
}

BOOL CKestrinZarnApp::InitInstance(const std::vector<std::string>& arguments)
{
    CSplashWnd::EnableSplashScreen(ShowSplashFromArguments(arguments) ? TRUE : FALSE, FALSE);
    std::setlocale(LC_ALL, "");
    // Qt's painting needs no start-up of its own: the application object of Qt exists already.
    CThemeApi::GetInstance()->Load();
    const char* point = std::localeconv()->decimal_point;
    decimalChar_ = point != nullptr && point[0] != '\0' ? point[0] : '.';
    LoadSettings();
    StartupTrace::Mark("settings");

    launcher_.SetNotifyMessage(WM_ZARN_LAUNCH_DONE);
    if (!messageObject_) {
        messageObject_ = std::make_unique<QObject>();
        messageWindow_ = QtMessageSink::Instance().Register(messageObject_.get(), this);
    }

    textFilePath_ = CKZARN_Common::GetFolderPath(5) + "String.txt";
    guidePath_ = CKZARN_Common::GetFolderPath(8) + "Zarndesk_Guide.pdf";
    CLangTable::GetInstance()->Load(textFilePath_); // without the file every text is empty
    StartupTrace::Mark("texts");

    switch (instanceLock_.Acquire()) {
    case SingleInstanceLock::Result::Failed:
        return FALSE;
    case SingleInstanceLock::Result::AlreadyRunning:
        ShowAlreadyRunning();
        return FALSE;
    case SingleInstanceLock::Result::Owned:
        break;
    }

    channel_ = std::make_unique<InstanceActivationChannel>([this] {
        if (RaiseMainWindow() && raiseObserver_) {
            raiseObserver_();
        }
    });
    channel_->Listen(instanceLock_.SocketPath()); // without it the instance runs, only unreachable

    StartupTrace::Mark("instance lock");
    std::unique_ptr<ZarnMainWindow> window = parts_ != nullptr ? parts_->CreateMainWindow() : nullptr;
    StartupTrace::Mark("main window made");
    if (window) {
        StartupTrace::MarkFirstPaint(window->Widget(), "main window shown");
        mainWindow_ = window.get();
        if (mainWindowObserver_) {
            mainWindowObserver_();
        }
        window->DoModal();
        mainWindow_ = nullptr;
        window.reset();
    }
    return FALSE;
}

void CKestrinZarnApp::ShowAlreadyRunning()
{
    if (PromptService* prompt = PromptService::Installed()) {
        prompt->MessageBox(HWND(), GetLangString(kAlreadyRunningTextId), GetLangString(kMainTitleTextId),
                           MB_OK | MB_ICONEXCLAMATION);
    }
    // Nothing answers while the other instance is still starting: then only the message shows.
    InstanceActivationChannel::RequestActivation(instanceLock_.SocketPath(), kActivationTimeoutMs);
}

int CKestrinZarnApp::ExitInstance()
{
    if (parts_ != nullptr) {
        parts_->DestroyMeterFacade();
    }
    CThemeApi::Free();
    CLangTable::GetInstance()->Clear();
    CLangTable::Free();
    // Only the running instance writes the user file: one that gave up would overwrite it with
    // the copy it read at its start.
    if (instanceLock_.IsOwned()) {
        SaveUserSettings();
    }
    channel_.reset();
    instanceLock_.Release();
    return 0;
}

int CKestrinZarnApp::Run(const std::vector<std::string>& arguments)
{
    InitInstance(arguments);
    return ExitInstance();
}

void CKestrinZarnApp::LoadSettings()
{
    CIniFile program;
    program.Load(ProgramSettingsPath());
    ZarnSettingsFiles::LoadProgram(program, decimalChar_, &settings_);
    CIniFile user;
    user.Load(UserSettingsPath());
    ZarnSettingsFiles::LoadUser(user, &settings_);
}

BOOL CKestrinZarnApp::SaveUserSettings()
{
    const std::string path = UserSettingsPath();
    CIniFile file;
    file.Load(path); // keeps whatever else the file holds
    ZarnSettingsFiles::StoreUser(settings_, &file);
    return file.Save(path) ? TRUE : FALSE;
}

int CKestrinZarnApp::LaunchProgramNotify(const std::string& file, const std::string& parameters)
{
    if (mainWindow_ == nullptr) {
        return 0;
    }
    mainWindow_->OnExternalProgramStarting(file, parameters);
    return launcher_.Launch(file, parameters, messageWindow_);
}

int CKestrinZarnApp::LaunchProgramNotify(const std::string& file, const std::vector<std::string>& arguments)
{
    if (mainWindow_ == nullptr) {
        return 0;
    }
    mainWindow_->OnExternalProgramStarting(file, JoinArguments(arguments));
    return launcher_.Launch(file, arguments, messageWindow_);
}

BOOL CKestrinZarnApp::LaunchProgram(const std::string& file, const std::string& parameters)
{
    return LaunchProgramWith(file, parameters,
                             [&] { return launcher_.Launch(file, parameters, HWND()); });
}

BOOL CKestrinZarnApp::LaunchProgram(const std::string& file, const std::vector<std::string>& arguments)
{
    return LaunchProgramWith(file, JoinArguments(arguments),
                             [&] { return launcher_.Launch(file, arguments, HWND()); });
}

std::string CKestrinZarnApp::JoinArguments(const std::vector<std::string>& arguments)
{
    std::string text;
    for (const std::string& argument : arguments) {
        if (!text.empty()) text += ' ';
        text += argument;
    }
    return text;
}

BOOL CKestrinZarnApp::LaunchProgramWith(const std::string& file, const std::string& shownArguments,
                                        const std::function<int()>& launch)
{
    if (mainWindow_ == nullptr) {
        return FALSE;
    }
    mainWindow_->OnExternalProgramStarting(file, shownArguments);
    tracker_->Reset();
    if (launch() == 0) {
        // The launcher still waits for an earlier program, whose end notice resumes polling.
        return FALSE;
    }
    mainWindow_->OnExternalProgramEnded(reinterpret_cast<WPARAM>(&launcher_), 0);
    return tracker_->LastStartFailed() ? kLaunchFailed : TRUE;
}

LRESULT CKestrinZarnApp::OnChildProgramEnded(WPARAM wParam, LPARAM lParam)
{
    const BOOL waited = launcher_.WaitThread();
    if (mainWindow_ != nullptr) {
        return mainWindow_->OnExternalProgramEnded(wParam, lParam);
    }
    return waited;
}

LRESULT CKestrinZarnApp::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ZARN_LAUNCH_DONE) {
        return OnChildProgramEnded(wParam, lParam);
    }
    return 0;
}

BOOL CKestrinZarnApp::RaiseMainWindow()
{
    QWidget* window = mainWindow_ != nullptr ? mainWindow_->Widget() : nullptr;
    if (window == nullptr) {
        return FALSE;
    }
    if (window->isMinimized()) {
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        window->showNormal();
    }
    window->raise();
    window->activateWindow();
    return TRUE;
}
