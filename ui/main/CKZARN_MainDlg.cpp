#include "ui/main/CKZARN_MainDlg.h"

#include "core/StartupTrace.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/util/CLangTable.h"
#include "core/util/CRegistryHelper.h"
#include "core/util/RegistryRefusalNotice.h"
#include "core/util/ZarnProgramMessages.h"
#include "meter/ZarnMeterMessages.h"
#include "meter/CKZARN_LMCtrl.h"
#include "ui/meter/CZarnManager.h"
#include "platform/PromptService.h"
#include "platform/qt/QtMessageSink.h"
#include "ui/controls/ProgramIcon.h"
#include "ui/controls/QtPromptService.h"
#include "core/CKestrinZarnApp.h"
#include "ui/main/CAboutDlg.h"
#include "ui/main/CKZARN_BackupCommands.h"
#include "ui/main/CKZARN_ProfileCommands.h"
#include "ui/main/CKZARN_MainCustomSettingForm.h"
#include "ui/main/CKZARN_MainProfileForm.h"
#include "ui/main/CKZARN_MainUpdateForm.h"
#include "ui/main/CKZARN_MainUserSettingForm.h"
#include "ui/main/CKZARN_SetDownloadConfigDlg.h"
#include "ui/main/CKZARN_SplashHook.h"
#include "ui/main/ProgramMessageServer.h"
#include "ui/main/ZarnMainMessages.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

#include <unistd.h>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_MainDlg::kTemplateId, 1000, 0, 0, 570, 690},
    {CKZARN_MainDlg::kTabControlId, 0, 5, 5, 545, 620},
    {0, 0, 0, 0, 0, 0},
};

constexpr int kTabTextIds[4] = {1018, 1019, 1020, 1021};
constexpr int kMultipleMetersTextId = 7027;

// One row of the menu: the popup it belongs to (0..3), its command id (0: separator) and text id.
struct MenuRow {
    int popup;
    UINT id;
    int textId;
};

constexpr int kPopupTextIds[4] = {1100, 1101, 1102, 1103};

constexpr MenuRow kMenu[] = {
    {0, CKZARN_MainDlg::ID_PROFILE_NEW, 1104},
    {0, CKZARN_MainDlg::ID_PROFILE_REF, 1105},
    {0, CKZARN_MainDlg::ID_PROFILE_EDIT, 1106},
    {0, CKZARN_MainDlg::ID_PROFILE_TX, 1107},
    {0, CKZARN_MainDlg::ID_PROFILE_IMPORT, 1108},
    {0, CKZARN_MainDlg::ID_PROFILE_EXPORT, 1109},
    {0, CKZARN_MainDlg::ID_PROFILE_DELETE, 1200},
    {0, CKZARN_MainDlg::ID_PROFILE_RENAME, 1201},
    {0, 0, 0},
    {0, CKZARN_MainDlg::ID_APP_EXIT, 1110},
    {1, CKZARN_MainDlg::ID_EDIT_COPY, 1111},
    {1, CKZARN_MainDlg::ID_EDIT_CUT, 1112},
    {1, CKZARN_MainDlg::ID_EDIT_PASTE, 1113},
    {2, CKZARN_MainDlg::ID_INITIAL_LEVELS, 1114},
    {2, CKZARN_MainDlg::ID_BACKUP_RECEIVE, 1115},
    {2, CKZARN_MainDlg::ID_BACKUP_SEND, 1116},
    {2, CKZARN_MainDlg::ID_BACKUP_VIEW, 1117},
    {2, CKZARN_MainDlg::ID_METER_RESET, 1118},
    {2, CKZARN_MainDlg::ID_DOWNLOAD_SETTINGS, 1121},
    {3, CKZARN_MainDlg::ID_APP_ABOUT, 1119},
    {3, CKZARN_MainDlg::ID_HELP, 1120},
};

// Accelerator table: all with Ctrl.
struct Accelerator {
    WPARAM key;
    UINT id;
};

constexpr Accelerator kAccelerators[] = {
    {'C', CKZARN_MainDlg::ID_EDIT_COPY},   {'E', CKZARN_MainDlg::ID_PROFILE_EDIT},
    {'N', CKZARN_MainDlg::ID_PROFILE_NEW}, {'R', CKZARN_MainDlg::ID_PROFILE_REF},
    {'T', CKZARN_MainDlg::ID_PROFILE_TX},  {'V', CKZARN_MainDlg::ID_EDIT_PASTE},
    {'X', CKZARN_MainDlg::ID_EDIT_CUT},
};

QString Text(int id)
{
    return CKZARN_Common::ToWidgetText(GetLangString(id));
}

} // namespace

CKZARN_MainDlg::CKZARN_MainDlg(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    menuBar_ = new QMenuBar(this);
    client_ = new QWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar_);
    layout->addWidget(client_);
    tab_ = new QTabWidget(client_);
    // The program's icon (resource 128), for this window and every window opened after it.
    if (const QIcon icon = ProgramIcon::Load("Zarndesk"); !icon.isNull()) {
        QApplication::setWindowIcon(icon);
    }
    setWindowIcon(QApplication::windowIcon());
    BuildMenu();
    handle_ = QtMessageSink::Instance().Register(this, this);
    server_ = std::make_unique<ProgramMessageServer>(
        handle_, std::initializer_list<UINT>{WM_ZARN_FLASH_FINISHED, WM_ZARN_QUIT_REQUEST});
}

CKZARN_MainDlg::~CKZARN_MainDlg()
{
    if (initialised_ && !destroyed_) {
        DestroyWindow();
    }
    qApp->removeEventFilter(this);
    QtMessageSink::Instance().Unregister(handle_);
}

int CKZARN_MainDlg::DoModal()
{
    if (!initialised_) {
        OnInitDialog();
    }
    if (destroyed_) {
        return IDOK;
    }
    return exec();
}

BOOL CKZARN_MainDlg::OnInitDialog()
{
    if (initialised_) {
        return TRUE;
    }
    initialised_ = true;
    CreateMenuAndForms();
    StartupTrace::Mark("pages made");
    acceleratorsLoaded_ = true;
    qApp->installEventFilter(this);
    server_->Listen(std::to_string(GetProgramNumber()));
    if (splash_ != nullptr) {
        splash_->ShowSplashScreen(this);
    }
    StartupTrace::Mark("splash shown");
    CZarnManager::GetInstance()->Initialize(this);
    StartupTrace::Mark("update check done");
    // A settings file that could not be read was taken as empty: the user is told which and why.
    const std::string refusedSettings = RegistryRefusalNotice::Take();
    if (!refusedSettings.empty()) {
        QtPromptService::Current().MessageBox(handle_, refusedSettings, GetLangString(1000), MB_OK | MB_ICONEXCLAMATION);
    }
    if (profileForm_ != nullptr) {
        profileForm_->RefreshMeterList();
    }
    return TRUE;
}

void CKZARN_MainDlg::BuildMenu()
{
    for (int i = 0; i < 4; ++i) {
        popups_[static_cast<std::size_t>(i)] = menuBar_->addMenu(QString());
        QMenu* popup = popups_[static_cast<std::size_t>(i)];
        connect(popup, &QMenu::aboutToShow, this, [this, popup] { OnInitMenuPopup(popup); });
    }
    for (const MenuRow& row : kMenu) {
        QMenu* popup = popups_[static_cast<std::size_t>(row.popup)];
        if (row.id == 0) {
            popup->addSeparator();
            continue;
        }
        QAction* action = popup->addAction(QString());
        action->setData(row.id);
        const UINT id = row.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        items_[row.id] = action;
    }
}

void CKZARN_MainDlg::CreateMenuAndForms()
{
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    setFixedSize(size());

    for (int i = 0; i < 4; ++i) {
        popups_[static_cast<std::size_t>(i)]->setTitle(Text(kPopupTextIds[i]));
    }
    for (const MenuRow& row : kMenu) {
        if (row.id != 0) {
            items_[row.id]->setText(Text(row.textId));
        }
    }

    profileForm_ = NewProfileForm();
    profileForm_->Create(CKZARN_MainProfileForm::kTemplateId, tab_, this);
    customForm_ = NewCustomSettingForm();
    customForm_->Create(CKZARN_MainCustomSettingForm::kTemplateId, tab_, this);
    userForm_ = NewUserSettingForm();
    userForm_->Create(CKZARN_MainUserSettingForm::kTemplateId, tab_, this);
    updateForm_ = NewUpdateForm();
    updateForm_->Create(CKZARN_MainUpdateForm::kTemplateId, tab_, this);

    // The tab control lays its pages into its display area.
    const std::array<CKZARN_MainBaseForm*, 4> pages = {profileForm_, customForm_, userForm_, updateForm_};
    for (int i = 0; i < 4; ++i) {
        tab_->insertTab(i, pages[static_cast<std::size_t>(i)], Text(kTabTextIds[i]));
    }
    connect(tab_, &QTabWidget::currentChanged, this, [this](int index) { ShowForm(index); });
    ShowForm(0);
}

CKZARN_MainProfileForm* CKZARN_MainDlg::NewProfileForm() { return new CKZARN_MainProfileForm; }
CKZARN_MainCustomSettingForm* CKZARN_MainDlg::NewCustomSettingForm() { return new CKZARN_MainCustomSettingForm; }
CKZARN_MainUserSettingForm* CKZARN_MainDlg::NewUserSettingForm() { return new CKZARN_MainUserSettingForm; }
CKZARN_MainUpdateForm* CKZARN_MainDlg::NewUpdateForm() { return new CKZARN_MainUpdateForm; }

void CKZARN_MainDlg::ShowForm(int index)
{
    const std::array<CKZARN_MainBaseForm*, 4> pages = {profileForm_, customForm_, userForm_, updateForm_};
    if (index < 0 || index > 3 || pages[static_cast<std::size_t>(index)] == nullptr) {
        return;
    }
    if (tab_->currentIndex() != index) {
        tab_->setCurrentIndex(index); // comes back here through currentChanged
        return;
    }
    currentForm_ = pages[static_cast<std::size_t>(index)];
}

void CKZARN_MainDlg::ForEachForm(const std::function<void(CKZARN_MainBaseForm*)>& action) const
{
    for (CKZARN_MainBaseForm* page :
         std::array<CKZARN_MainBaseForm*, 4>{profileForm_, customForm_, userForm_, updateForm_}) {
        if (page != nullptr) {
            action(page);
        }
    }
}

int CKZARN_MainDlg::GetProgramNumber() const
{
    // One main window per process: the process id tells it apart from every other program's.
    return static_cast<int>(::getpid());
}

QWidget* CKZARN_MainDlg::FindControl(int id) const
{
    return id == kTabControlId ? tab_ : nullptr;
}

QAction* CKZARN_MainDlg::FindMenuItem(UINT id) const
{
    const auto it = items_.find(id);
    return it == items_.end() ? nullptr : it->second;
}

QMenu* CKZARN_MainDlg::GetSubMenu(int position) const
{
    return position >= 0 && position < 4 ? popups_[static_cast<std::size_t>(position)] : nullptr;
}

// ---- menu enabling and commands ----

bool CKZARN_MainDlg::IsMeterConnected() const
{
    CZarnManager* facade = CZarnManager::CreateInstance(nullptr); // the existing one, or none
    return facade != nullptr &&
           (facade->GetT310State() == 1 || facade->GetT140State() == 1 || facade->GetT520State() == 1);
}

std::optional<bool> CKZARN_MainDlg::IsCommandEnabled(UINT id) const
{
    CZarnManager* facade = CZarnManager::CreateInstance(nullptr);
    // While a child program has the meter, no meter command is offered: the worker would drop it.
    const bool suspended = facade != nullptr && facade->IsSuspended() != 0;
    switch (id) {
    case ID_PROFILE_TX:
        return !suspended && profileForm_ != nullptr && profileForm_->CanTransmit() != FALSE;
    case ID_EDIT_COPY:
        return currentForm_ != nullptr && currentForm_->CanCopy() != FALSE;
    case ID_EDIT_CUT:
        return currentForm_ != nullptr && currentForm_->CanCut() != FALSE;
    case ID_EDIT_PASTE:
        return currentForm_ != nullptr && currentForm_->CanPaste() != FALSE;
    case ID_BACKUP_RECEIVE:
    case ID_BACKUP_SEND:
    case ID_METER_RESET:
        return !suspended && IsMeterConnected();
    default:
        return std::nullopt;
    }
}

void CKZARN_MainDlg::OnInitMenuPopup(QMenu* popup)
{
    if (popup == nullptr) {
        return;
    }
    for (QAction* action : popup->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        // Items without an update rule keep their state: each has a command of its own.
        if (const std::optional<bool> enabled = IsCommandEnabled(action->data().toUInt())) {
            action->setEnabled(*enabled);
        }
    }
}

void CKZARN_MainDlg::SendToFocus(const char* slot)
{
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && focus->window() == this) {
        QMetaObject::invokeMethod(focus, slot);
    }
}

BOOL CKZARN_MainDlg::OnCommand(UINT id)
{
    switch (id) {
    case ID_PROFILE_NEW:
        if (profileForm_ != nullptr) profileForm_->OnBnClickedNew();
        return TRUE;
    case ID_PROFILE_REF:
        if (profileForm_ != nullptr) profileForm_->OnBnClickedRef();
        return TRUE;
    case ID_PROFILE_EDIT:
        if (profileForm_ != nullptr) profileForm_->OnBnClickedEdit();
        return TRUE;
    case ID_PROFILE_TX:
        if (profileForm_ != nullptr) profileForm_->OnBnClickedTx();
        return TRUE;
    case ID_EDIT_COPY:
        SendToFocus("copy");
        return TRUE;
    case ID_EDIT_CUT:
        if (currentForm_ != nullptr) currentForm_->Cut();
        return TRUE;
    case ID_EDIT_PASTE:
        SendToFocus("paste");
        return TRUE;
    case ID_APP_EXIT:
        OnClose();
        return TRUE;
    case ID_APP_ABOUT:
        OnAppAbout();
        return TRUE;
    case ID_DOWNLOAD_SETTINGS:
        OnDownloadSettings();
        return TRUE;
    case ID_PROFILE_IMPORT:
        CKZARN_ProfileCommands::Import(this, profileForm_);
        return TRUE;
    case ID_PROFILE_EXPORT:
        CKZARN_ProfileCommands::Export(this);
        return TRUE;
    case ID_PROFILE_DELETE:
        CKZARN_ProfileCommands::Delete(this, profileForm_);
        return TRUE;
    case ID_PROFILE_RENAME:
        CKZARN_ProfileCommands::Rename(this, profileForm_);
        return TRUE;
    case ID_INITIAL_LEVELS:
        CKZARN_BackupCommands::InitialLevels(this);
        return TRUE;
    // The meter commands do nothing while a child program has the meter (their keys and items are
    // disabled then as well).
    case ID_BACKUP_RECEIVE:
        if (IsCommandEnabled(id).value_or(false)) CKZARN_BackupCommands::ReceiveBackup();
        return TRUE;
    case ID_BACKUP_SEND:
        if (IsCommandEnabled(id).value_or(false)) CKZARN_BackupCommands::SendBackup(profileForm_);
        return TRUE;
    case ID_BACKUP_VIEW:
        CKZARN_BackupCommands::ViewBackup(this);
        return TRUE;
    case ID_METER_RESET:
        if (IsCommandEnabled(id).value_or(false)) {
            CKZARN_BackupCommands::Reset(profileForm_, CKZARN_Common::GetFolderPath(3) + "KZARN_Reset.csv");
        }
        return TRUE;
    case ID_HELP:
        if (CKestrinZarnApp* app = CKestrinZarnApp::GetApp()) {
            CKZARN_ProfileCommands::OpenGuide(app->GetGuidePath());
        } else {
            CKZARN_ProfileCommands::OpenGuide(std::string());
        }
        return TRUE;
    default:
        return FALSE;
    }
}

void CKZARN_MainDlg::OnAppAbout()
{
    CAboutDlg about(this);
    about.DoModal();
}

int CKZARN_MainDlg::RunDownloadSettings(CKZARN_SetDownloadConfigDlg& dialog)
{
    return dialog.DoModal();
}

void CKZARN_MainDlg::OnDownloadSettings()
{
    CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
    registry.PushKey("SOFTWARE\\KESTRIN\\Zarndesk");
    const int notifyFirmware = registry.GetDword("Notify Firmware Update", 1);
    const int notifyZarn = registry.GetDword("Notify Zarn Update", 1);
    registry.PushKey("Download Setting");
    registry.PushKey("Proxy");
    ZarnProxySettings proxy;
    proxy.useProxy = registry.GetDword("Use Proxy", 0);
    proxy.server = registry.GetString("Server Name", "");
    proxy.port = registry.GetString("Port Number", "80");
    proxy.user = registry.GetString("User Name", "");
    proxy.password = registry.GetScrambledString("Password", "");

    CKZARN_SetDownloadConfigDlg dialog(notifyFirmware, notifyZarn, &proxy);
    CZarnManager* facade = CZarnManager::GetInstance();
    facade->SetActiveForm(&dialog);
    const int result = RunDownloadSettings(dialog);
    facade->ClearActiveForm();
    if (result != IDOK) return;

    proxy.Assign(dialog.GetProxySettings());
    registry.SetDword("Use Proxy", static_cast<DWORD>(proxy.useProxy));
    registry.SetString("Server Name", proxy.server);
    registry.SetString("Port Number", proxy.port);
    registry.SetString("User Name", proxy.user);
    registry.SetScrambledString("Password", proxy.password);
    registry.PopKey();
    registry.PopKey();
    registry.SetDword("Notify Firmware Update", static_cast<DWORD>(dialog.GetNotifyFirmware()));
    registry.SetDword("Notify Zarn Update", static_cast<DWORD>(dialog.GetNotifyZarn()));
    facade->LoadSettings();
}

// ---- keyboard ----

BOOL CKZARN_MainDlg::TranslateAccelerator(const KeyMessage& msg)
{
    if (msg.message != WM_KEYDOWN || !msg.control) {
        return FALSE;
    }
    for (const Accelerator& accelerator : kAccelerators) {
        if (accelerator.key != msg.virtualKey) {
            continue;
        }
        // The menu is brought up to date before an accelerator is translated; the key of a
        // disabled item does nothing.
        const std::optional<bool> enabled = IsCommandEnabled(accelerator.id);
        if (enabled.value_or(true)) {
            OnCommand(accelerator.id);
        }
        return TRUE;
    }
    return FALSE;
}

BOOL CKZARN_MainDlg::PreTranslateMessage(const KeyMessage& msg)
{
    if (acceleratorsLoaded_ && TranslateAccelerator(msg)) {
        return TRUE;
    }
    if (msg.message == WM_KEYDOWN && msg.control && profileForm_ != nullptr) {
        if (msg.virtualKey == 'N') profileForm_->OnBnClickedNew();
        if (msg.virtualKey == 'R') profileForm_->OnBnClickedRef();
        if (msg.virtualKey == 'E') profileForm_->OnBnClickedEdit();
        if (msg.virtualKey == 'T') profileForm_->OnBnClickedTx();
    }
    return FALSE;
}

bool CKZARN_MainDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || dispatchingKey_ || destroyed_) {
        return false;
    }
    auto* target = qobject_cast<QWidget*>(watched);
    if (target == nullptr || target->window() != this) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const KeyMessage msg = KeyMessage::FromKeyEvent(*key);
    // Pre-translation walks from the key's control up: its page first, then this window.
    BOOL used = FALSE;
    for (QWidget* w = target; w != nullptr && w != this; w = w->parentWidget()) {
        if (auto* page = qobject_cast<CKZARN_MainBaseForm*>(w)) {
            used = page->PreTranslateMessage(msg);
            break;
        }
    }
    if (!used) {
        used = PreTranslateMessage(msg);
    }
    if (!used) {
        // Deliver it now, with its usual passage up the parents, so that the walk runs once.
        dispatchingKey_ = true;
        QCoreApplication::sendEvent(target, event);
        dispatchingKey_ = false;
    }
    key->accept();
    return true;
}

void CKZARN_MainDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter and Esc do nothing here; everything else as any dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CKZARN_MainDlg::accept() {}
void CKZARN_MainDlg::reject() {}

// ---- window messages ----

LRESULT CKZARN_MainDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (destroyed_ || profileForm_ == nullptr) {
        return 0; // not set up yet, or gone
    }
    CZarnManager* facade = CZarnManager::CreateInstance(nullptr);
    const int flag = static_cast<int>(wParam);
    switch (message) {
    case WM_ZARN_T310_CONNECTION:
    case WM_ZARN_T140_CONNECTION:
    case WM_ZARN_T520_CONNECTION:
        if (facade == nullptr || facade->IsSuspended()) {
            return 0;
        }
        if (message == WM_ZARN_T310_CONNECTION) facade->SetT310State(flag);
        if (message == WM_ZARN_T140_CONNECTION) facade->SetT140State(flag);
        if (message == WM_ZARN_T520_CONNECTION) facade->SetT520State(flag);
        profileForm_->RefreshMeterList();
        customForm_->Refresh(flag);
        userForm_->Refresh(flag);
        updateForm_->OnConnectionChanged(flag);
        return 0;
    case WM_ZARN_T310_INFO:
    case WM_ZARN_T140_INFO:
    case WM_ZARN_T520_INFO:
        if (facade != nullptr) {
            facade->RefreshMeterInfo();
        }
        ForEachForm([](CKZARN_MainBaseForm* page) { page->OnMeterInfoChanged(); });
        return 1;
    case WM_ZARN_UPDATE_LIST_READY:
        if (facade != nullptr) {
            facade->UpdateVersionList();
        }
        return updateForm_->OnUpdateListReady(wParam, lParam);
    case WM_ZARN_MULTIPLE_METERS:
        QtPromptService::Current().MessageBox(handle_, GetLangString(kMultipleMetersTextId), GetLangString(1000),
                                              MB_OK | MB_ICONEXCLAMATION);
        return 1;
    case WM_ZARN_PROFILES_CHANGED:
        profileForm_->RefreshPcList();
        return 0;
    case WM_ZARN_FLASH_FINISHED:
        ForEachForm([wParam, lParam](CKZARN_MainBaseForm* page) { page->OnExternalProgramEnded(wParam, lParam); });
        if (facade != nullptr) {
            facade->ResumePolling();
        }
        return 1;
    case WM_ZARN_QUIT_REQUEST:
        OnQuitRequest();
        return 0;
    default:
        return 0;
    }
}

BOOL CKZARN_MainDlg::OnExternalProgramStarting(const std::string& program, const std::string& arguments)
{
    if (CZarnManager* facade = CZarnManager::CreateInstance(nullptr)) {
        facade->SuspendPolling();
    }
    ForEachForm([&](CKZARN_MainBaseForm* page) { page->OnExternalProgramStarting(program, arguments); });
    return TRUE;
}

BOOL CKZARN_MainDlg::OnExternalProgramEnded(WPARAM wParam, LPARAM lParam)
{
    CZarnManager* facade = CZarnManager::CreateInstance(nullptr);
    if (facade != nullptr) {
        facade->ResetMeterStates();
        facade->RefreshMeterInfo();
    }
    ForEachForm([wParam, lParam](CKZARN_MainBaseForm* page) { page->OnExternalProgramEnded(wParam, lParam); });
    if (facade != nullptr) {
        facade->ResumePolling();
    }
    return TRUE;
}

// ---- closing ----

void CKZARN_MainDlg::closeEvent(QCloseEvent* event)
{
    // The window goes only through DestroyWindow; the close box asks for an ordinary close.
    event->ignore();
    if (!destroyed_) {
        OnClose();
    }
}

void CKZARN_MainDlg::OnClose()
{
    if (destroyed_) {
        return;
    }
    if (closeFlag_ == 1) {
        // The splash ends the window when it goes; without a splash the window closes now.
        if (splash_ != nullptr && splash_->ShowClosingSplash(this)) {
            return;
        }
        DestroyWindow();
        return;
    }
    ForEachForm([](CKZARN_MainBaseForm* page) { page->OnMainClosing(); });
    DestroyWindow();
}

void CKZARN_MainDlg::OnQuitRequest()
{
    closeFlag_ = 0;
    // A modal dialog over this window may be running a meter command (its caller resumes when it
    // ends): the window closes once that run is over, not under it.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != this && modal->isVisible()) {
        if (quitWaitsFor_ != modal) {
            quitWaitsFor_ = modal;
            connect(modal, &QObject::destroyed, this, [this] {
                QtMessageSink::Instance().PostMessage(handle_, WM_ZARN_QUIT_REQUEST, 0, 0);
            });
        }
        return;
    }
    OnClose();
}

void CKZARN_MainDlg::DestroyWindow()
{
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    qApp->removeEventFilter(this);
    server_->Close();
    // The tab control deletes its pages with itself; take them out first so that they go now.
    for (CKZARN_MainBaseForm* page :
         std::array<CKZARN_MainBaseForm*, 4>{profileForm_, customForm_, userForm_, updateForm_}) {
        if (page != nullptr) {
            tab_->removeTab(tab_->indexOf(page));
            delete page;
        }
    }
    profileForm_ = nullptr;
    customForm_ = nullptr;
    userForm_ = nullptr;
    updateForm_ = nullptr;
    currentForm_ = nullptr;
    // Stopping the worker waits for a meter command that is running.
    CZarnManager::DestroyInstance();
    QDialog::done(IDOK);
}

void CKZARN_MainDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        auto* change = static_cast<QWindowStateChangeEvent*>(event);
        const bool restored = (change->oldState() & Qt::WindowMinimized) != 0 && !isMinimized();
        CZarnManager* facade = CZarnManager::CreateInstance(nullptr);
        if (restored && facade != nullptr && facade->GetActiveForm() != nullptr) {
            QWidget* form = facade->GetActiveForm();
            form->raise();
            form->activateWindow();
        }
    }
    QDialog::changeEvent(event);
}
