// The main window of Zarndesk: a tab control with the four pages (profiles, custom functions, user
// settings, updates), the menu bar with its accelerators, and the window to which the meter
// worker, the child-program launcher, the firmware downloader and the application updater report.
// It owns the pages and starts and ends the meter facade. Other programs reach it through a local
// socket named by its window number (the " /Zarn " value of their command lines).
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"
#include "platform/WindowHandle.h"
#include "platform/qt/WindowMessageHandler.h"
#include "ui/main/KeyMessage.h"

#include <QDialog>
#include <QPointer>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class CKZARN_MainBaseForm;
class CKZARN_MainCustomSettingForm;
class CKZARN_MainProfileForm;
class CKZARN_MainUpdateForm;
class CKZARN_MainUserSettingForm;
class CKZARN_SetDownloadConfigDlg;
class CKZARN_SplashHook;
class ZarnLib_PatchKey;
class ZarnLib_Profile;
class ProgramMessageServer;
class QAction;
class QMenu;
class QMenuBar;
class QTabWidget;

class CKZARN_MainDlg : public QDialog, public ControlHost, public WindowMessageHandler {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 102;
    static constexpr int kTabControlId = 1036;

    // Menu command ids.
    static constexpr UINT ID_PROFILE_NEW = 32778;
    static constexpr UINT ID_PROFILE_IMPORT = 32779;
    static constexpr UINT ID_PROFILE_EXPORT = 32780;
    static constexpr UINT ID_PROFILE_EDIT = 32785;
    static constexpr UINT ID_PROFILE_TX = 32786;
    static constexpr UINT ID_PROFILE_REF = 32789;
    static constexpr UINT ID_BACKUP_RECEIVE = 32790;
    static constexpr UINT ID_INITIAL_LEVELS = 32791;
    static constexpr UINT ID_BACKUP_SEND = 32792;
    static constexpr UINT ID_BACKUP_VIEW = 32793;
    static constexpr UINT ID_METER_RESET = 32796;
    static constexpr UINT ID_PROFILE_DELETE = 32798;
    static constexpr UINT ID_PROFILE_RENAME = 32799;
    static constexpr UINT ID_DOWNLOAD_SETTINGS = 32800;
    static constexpr UINT ID_APP_ABOUT = 16;
    static constexpr UINT ID_EDIT_COPY = 57634;
    static constexpr UINT ID_EDIT_CUT = 57635;
    static constexpr UINT ID_EDIT_PASTE = 57637;
    static constexpr UINT ID_APP_EXIT = 57665;
    static constexpr UINT ID_HELP = 57670;

    explicit CKZARN_MainDlg(QWidget* parent = nullptr);
    ~CKZARN_MainDlg() override;

    // Initialises the window once (pages, menu, accelerators, splash, meter facade) and runs it
    // modally until it is destroyed.
    int DoModal();
    // The window's set-up; DoModal runs it, tests call it before showing the window.
    BOOL OnInitDialog();

    void SetSplashHook(CKZARN_SplashHook* hook) { splash_ = hook; }

    // Shows the page of tab 0..3 and makes it current; other indexes do nothing.
    void ShowForm(int index);

    // Around every child program the application starts; both return TRUE.
    BOOL OnExternalProgramStarting(const std::string& program, const std::string& arguments);
    BOOL OnExternalProgramEnded(WPARAM wParam, LPARAM lParam);

    // Every ordinary close (close box, Exit): through the closing splash while the close flag is
    // 1; at once after a quit request or when no splash can be shown.
    void OnClose();
    // The end of the window: pages destroyed, meter facade ended (waiting for a running meter
    // command), the modal run ended. Called by the closing splash when it goes.
    void DestroyWindow();
    bool IsDestroyed() const { return destroyed_; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Keys aimed at this window, after its pages had them: accelerators, then Ctrl+N, R, E, T.
    virtual BOOL PreTranslateMessage(const KeyMessage& msg);
    // Runs a menu command (the accelerators too); FALSE for an unknown id.
    BOOL OnCommand(UINT id);
    // Brings every item of the popup up to date, as when it opens.
    void OnInitMenuPopup(QMenu* popup);

    // Makes the profile file at path fit format version 2 (tables above ISO 8000 removed, the end
    // points kept within -7..+7 EV) and saves it; works on a copy, never on a stored profile.
    // 0, -10002 when no table is left, else the library's error.
    static int PrepareProfileForV2(const std::string& path);
    // Moves CPM and CPP of both blocks of the key's table into -7..+7 EV at their curve's level.
    static int ClampTablePointsForV2(ZarnLib_Profile& profile, const ZarnLib_PatchKey& key);

    HWND GetSafeHwnd() const { return handle_; }
    // The number that other programs are given after " /Zarn ": it names the window's socket.
    int GetProgramNumber() const;

    QMenuBar* GetMenu() const { return menuBar_; }
    QAction* FindMenuItem(UINT id) const;
    QMenu* GetSubMenu(int position) const;
    CKZARN_MainProfileForm* ProfileForm() const { return profileForm_; }
    CKZARN_MainCustomSettingForm* CustomSettingForm() const { return customForm_; }
    CKZARN_MainUserSettingForm* UserSettingForm() const { return userForm_; }
    CKZARN_MainUpdateForm* UpdateForm() const { return updateForm_; }
    CKZARN_MainBaseForm* CurrentForm() const { return currentForm_; }
    QTabWidget* TabControl() const { return tab_; }
    int CloseFlag() const { return closeFlag_; }

    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;

protected:
    // The pages; tests hand in pages of their own.
    virtual CKZARN_MainProfileForm* NewProfileForm();
    virtual CKZARN_MainCustomSettingForm* NewCustomSettingForm();
    virtual CKZARN_MainUserSettingForm* NewUserSettingForm();
    virtual CKZARN_MainUpdateForm* NewUpdateForm();

    // The About box; tests stand in for the modal run.
    virtual void OnAppAbout();
    // The download settings: registry values in, the dialog, and on OK the values written back.
    void OnDownloadSettings();
    // Runs the download-settings dialog modally; tests stand in.
    virtual int RunDownloadSettings(CKZARN_SetDownloadConfigDlg& dialog);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

public slots:
    // Enter and Esc never end the main window.
    void accept() override;
    void reject() override;

private:
    void CreateMenuAndForms();
    void BuildMenu();
    // The enabling of an item: empty when no update rule exists for it.
    std::optional<bool> IsCommandEnabled(UINT id) const;
    BOOL TranslateAccelerator(const KeyMessage& msg);
    bool IsMeterConnected() const;
    void ForEachForm(const std::function<void(CKZARN_MainBaseForm*)>& action) const;
    void OnQuitRequest();
    void SendToFocus(const char* slot);

    QMenuBar* menuBar_ = nullptr;
    QWidget* client_ = nullptr;
    QTabWidget* tab_ = nullptr;
    bool acceleratorsLoaded_ = false;
    CKZARN_MainProfileForm* profileForm_ = nullptr;
    CKZARN_MainCustomSettingForm* customForm_ = nullptr;
    CKZARN_MainUserSettingForm* userForm_ = nullptr;
    CKZARN_MainUpdateForm* updateForm_ = nullptr;
    CKZARN_MainBaseForm* currentForm_ = nullptr;
    int closeFlag_ = 1;

    std::map<UINT, QAction*> items_;
    std::array<QMenu*, 4> popups_{};
    CKZARN_SplashHook* splash_ = nullptr;
    HWND handle_;
    std::unique_ptr<ProgramMessageServer> server_;
    bool initialised_ = false;
    bool destroyed_ = false;
    bool dispatchingKey_ = false;
    QPointer<QWidget> quitWaitsFor_;
};
