#include "flash/ui/CZarnflashDlg.h"

#include "core/util/CLangTable.h"
#include "core/util/CRegistryHelper.h"
#include "core/util/RegistryRefusalNotice.h"
#include "core/util/CThemeApi.h"
#include "core/util/PathUtility.h"
#include "core/util/ProgramMessageStream.h"
#include "core/util/RadioVersionText.h"
#include "core/util/TextUtility.h"
#include "core/util/ZarnProgramMessages.h"
#include "flash/CZarnflashHidLink.h"
#include "flash/CZarnflashSerialLink.h"
#include "flash/FlashImageCheck.h"
#include "flash/FlashRefusalText.h"
#include "flash/ZarnflashCommandLine.h"
#include "flash/ZarnflashVersionFile.h"
#include "flash/ui/CAboutDlg.h"
#include "flash/ui/CZarnflashFileselectDlg.h"
#include "meter/SystemMeterLinkFactory.h"
#include "platform/PromptService.h"
#include "platform/RegistryTypes.h"
#include "platform/SystemFolders.h"
#include "ui/controls/ProgramIcon.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLocalSocket>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <system_error>

namespace {

const char kBaseKey[] = "SOFTWARE\\KESTRIN\\Zarndesk";

std::string Text(int id)
{
    return GetLangString(id);
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// An offered version differs from the meter's when it is given and not the same.
bool Differs(const std::string& offered, const std::string& meter)
{
    return !offered.empty() && offered != meter;
}

bool RadioDiffers(const std::string& offered, const std::string& meter)
{
    return !offered.empty() && !SameRadioVersion(offered, meter);
}

void SendOverSocket(const std::string& owner, UINT message, WPARAM wParam, LPARAM lParam)
{
    const std::string name = ProgramMessageStream::SocketName(owner);
    if (name.empty()) return;
    QLocalSocket socket;
    socket.connectToServer(Q(name));
    if (!socket.waitForConnected(2000)) return;
    const std::string frame = ProgramMessageStream::Encode(message, wParam, lParam);
    socket.write(frame.data(), static_cast<qint64>(frame.size()));
    socket.waitForBytesWritten(2000);
    socket.disconnectFromServer();
}

} // namespace

CZarnflashDlg::CZarnflashDlg(std::vector<std::string> tokens, QWidget* parent)
    : QDialog(parent), tokens_(std::move(tokens)), messenger_(&SendOverSocket)
{
    setObjectName("CZarnflashDlg");
    QStyle* st = style();
    icon131_ = st->standardIcon(QStyle::SP_BrowserReload);
    icon130_ = st->standardIcon(QStyle::SP_DriveHDIcon);
    icon206_ = st->standardIcon(QStyle::SP_ComputerIcon);
    icon192_ = st->standardIcon(QStyle::SP_DriveCDIcon);
    icon136_ = st->standardIcon(QStyle::SP_DesktopIcon);
    // The program's icon (resource 128), for this window and the dialogs opened over it.
    if (const QIcon icon = ProgramIcon::Load("Zarnflash"); !icon.isNull()) {
        QApplication::setWindowIcon(icon);
    }
    const QIcon programIcon = QApplication::windowIcon();
    setWindowIcon(programIcon.isNull() ? st->standardIcon(QStyle::SP_ArrowUp) : programIcon);

    stateIcon_ = new CStaticIcon(this, true);
    stateIcon_->setObjectName("1004");
    stateIcon_->setFixedSize(56, 56);
    modelIcon_ = new CStaticIcon(this, true);
    modelIcon_->setObjectName("1005");
    modelIcon_->setFixedSize(60, 60);
    status_ = new QLabel(this);
    status_->setObjectName("1006");
    status_->setWordWrap(true);
    versionLine_ = new QLabel(this);
    versionLine_->setObjectName("1008");
    // It may name a refused file and why: wrapped rather than cut off.
    versionLine_->setWordWrap(true);
    progress_ = new QProgressBar(this);
    progress_->setObjectName("1001");
    progress_->setTextVisible(false);
    cancel_ = new QPushButton(this);
    cancel_->setObjectName("1000");
    settings_ = new QPushButton(this);
    settings_->setObjectName("1002");
    start_ = new QPushButton(this);
    start_->setObjectName("1003");
    exit_ = new QPushButton(this);
    exit_->setObjectName("1007");

    auto* top = new QHBoxLayout;
    top->addWidget(stateIcon_);
    auto* texts = new QVBoxLayout;
    texts->addWidget(status_);
    texts->addWidget(versionLine_);
    top->addLayout(texts, 1);
    top->addWidget(modelIcon_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(settings_);
    buttons->addWidget(start_);
    buttons->addWidget(exit_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(progress_);
    layout->addLayout(buttons);
    setMinimumWidth(440);

    connect(cancel_, &QPushButton::clicked, this, [this] { OnCancelButton(); });
    connect(settings_, &QPushButton::clicked, this, [this] { OnSettings(); });
    connect(start_, &QPushButton::clicked, this, [this] { OnStart(); });
    connect(exit_, &QPushButton::clicked, this, [this] { OnExit(); });
    // The About item (caption of the program's resource 101).
    const QString aboutCaption = QStringLiteral("About Zarnflash...");
    if (!aboutCaption.isEmpty()) {
        auto* about = new QAction(aboutCaption, this);
        about->setObjectName("aboutItem");
        connect(about, &QAction::triggered, this, [this] { OnSysCommand(16); });
        addAction(about);
        setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, [this] { OnTimer(); });
}

CZarnflashDlg::~CZarnflashDlg()
{
    if (poll_.joinable()) poll_.join();
    worker_.Cancel();
    worker_.Wait();
}

void CZarnflashDlg::SetEnvironment(MeterLinkFactory* links, Clock* clock)
{
    links_ = links;
    clock_ = clock;
    worker_.SetEnvironment(links, clock);
}

bool CZarnflashDlg::event(QEvent* e)
{
    if (const FlashThreadMessageEvent* m = FlashThreadMessageEvent::Take(e)) {
        HandleThreadMessage(m->message, m->wParam, m->lParam);
        return true;
    }
    return QDialog::event(e);
}

void CZarnflashDlg::HandleThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_UPDATE_JOB_DONE: OnJobDone(wParam, lParam); break;
    case WM_UPDATE_PROGRESS: OnProgress(wParam, lParam); break;
    case WM_UPDATE_JOB_FAILED: OnJobFailed(wParam, lParam); break;
    case WM_UPDATE_DOWNLOAD_FAILED: OnDownloadFailed(wParam, lParam); break;
    case WM_UPDATE_CANCELLED: OnDownloadCancelled(wParam, lParam); break;
    default: break;
    }
}

BOOL CZarnflashDlg::OnInitDialog()
{
    std::string model = GetSwitchValue(tokens_, "/Type");
    owner_ = GetSwitchValue(tokens_, "/Zarn");
    offeredMainVersion_ = GetSwitchValue(tokens_, "/Ver");
    offeredAppVersion_ = GetSwitchValue(tokens_, "/RFAppVer");
    offeredLoaderVersion_ = GetSwitchValue(tokens_, "/RFLdrVer");
    offeredMainDate_ = GetSwitchValue(tokens_, "/Date");
    modelName_ = ModelFromTypeValue(model);

    if (modelName_.empty() && offeredMainVersion_.empty() && offeredMainDate_.empty()) {
        standAlone_ = 1;
        uiState_ = kUiIdle;
    } else {
        standAlone_ = 0;
        uiState_ = kUiLaunchedStart;
        if (modelName_.empty() || offeredMainVersion_.empty() || offeredMainDate_.empty() || !LoadDownloadSettings()) {
            resultCode_ = kFlashIncomplete;
            uiState_ = kUiFinished;
        }
        offeredMainDate_ = FormatLaunchDate(offeredMainDate_);
    }
    CThemeApi* theme = CThemeApi::GetInstance();
    if (theme->EnableThemeDialogTexture != nullptr) theme->EnableThemeDialogTexture(this, 2);
    UpdateIcons();
    UpdateButtons();
    UpdateTitle();
    UpdateStatusText();

    const std::string programFolder = GetModuleFolder();
    if (resultCode_ == 0) {
        if (standAlone_) {
            worker_.SetSettings(programFolder, "", "", "", "", ZarnProxySettings());
            worker_.SetRequireVersionFiles(true);
        } else {
            if (ReadMeter() != 1) {
                resultCode_ = severalMeters_ ? kFlashSeveralMeters : kFlashT310Open;
                uiState_ = kUiFinished;
            } else {
                uiState_ = kUiDownloading;
            }
            UpdateButtons();
            UpdateIcons();
            UpdateStatusText();
            if (uiState_ == kUiDownloading) {
                worker_.SetSettings(programFolder, baseUrl_, versionListUrl_, firmwareListUrl_, downloadFolder_, proxy_);
                StartJob(worker_.StartDownload(modelName_, offeredMainVersion_, &gui_, kJobDownloadMain));
            }
        }
    }
    if (standAlone_) {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 1);
        registry.PushKey(kBaseKey);
        const std::string main = registry.GetString("Last Update Firmware File", "");
        if (!main.empty()) {
            SplitFolderAndName(main, mainFolder_, mainName_);
            offeredMainVersion_ = ReadVersionFromVerFile(mainFolder_, mainName_, false);
            offeredMainDate_ = ReadDateFromVerFile(mainFolder_, mainName_);
        }
        ReadMeter();
        if (modelName_ == "T-140DR" || modelName_ == "T-520D") {
            const std::string app = registry.GetString("Last Update RF Application Firmware File", "");
            if (!app.empty()) {
                SplitFolderAndName(app, appFolder_, appName_);
                offeredAppVersion_ = ReadVersionFromVerFile(appFolder_, appName_, true);
                offeredAppDate_ = ReadDateFromVerFile(appFolder_, appName_);
            }
            const std::string loader = registry.GetString("Last Update RF Loader Firmware File", "");
            if (!loader.empty()) {
                SplitFolderAndName(loader, loaderFolder_, loaderName_);
                offeredLoaderVersion_ = ReadVersionFromVerFile(loaderFolder_, loaderName_, true);
            }
            const std::string updater = registry.GetString("Last Update RF Loader Update Firmware File", "");
            if (!updater.empty()) {
                SplitFolderAndName(updater, updaterFolder_, updaterName_);
                offeredUpdaterVersion_ = ReadVersionFromVerFile(updaterFolder_, updaterName_, true);
            }
        }
        UpdateTitle();
        UpdateStatusText();
        UpdateIcons();
        UpdateButtons();
        StartTimer();
    } else {
        adjustSize();
        const QSize size = this->size();
        QRect area;
        if (QScreen* screen = QGuiApplication::primaryScreen()) area = screen->geometry();
        move(area.left() + area.width() / 2 - size.width() / 2, area.top() + area.height() / 2 - size.height() / 2);
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    // A settings file that could not be read was taken as empty: the user is told which and why.
    const std::string refusedSettings = RegistryRefusalNotice::Take();
    if (!refusedSettings.empty()) {
        if (PromptService* prompts = PromptService::Installed()) {
            prompts->MessageBox(HWND{}, refusedSettings, "", MB_OK | MB_ICONEXCLAMATION);
        }
    }
    return TRUE;
}

MeterLinkFactory& CZarnflashDlg::Links()
{
    if (links_) return *links_;
    if (!ownLinks_) ownLinks_ = std::make_unique<SystemMeterLinkFactory>();
    return *ownLinks_;
}

void CZarnflashDlg::Apply(const FlashMeterReading& reading)
{
    meterPresent_ = reading.Present();
    severalMeters_ = reading.several;
    modelName_ = reading.Present() ? reading.model : std::string();
    meterRevision_ = reading.revision;
    meterAppVersion_ = reading.appVersion;
    meterLoaderVersion_ = reading.loaderVersion;
    variant_ = reading.variant;
    devicePath_ = reading.devicePath;
    worker_.SetDevicePath(devicePath_);
    worker_.SetMeterModel(modelName_);
}

int CZarnflashDlg::ReadMeter()
{
    JoinPoll();
    Apply(reader_.Read(Links()));
    return meterPresent_ ? 1 : 0;
}

void CZarnflashDlg::JoinPoll()
{
    if (poll_.joinable()) poll_.join();
    ApplyPolled();
}

void CZarnflashDlg::ApplyPolled()
{
    std::optional<FlashMeterReading> reading;
    {
        std::lock_guard<std::mutex> lock(pollMutex_);
        reading.swap(polled_);
    }
    if (!reading) return;
    Apply(*reading);
    UpdateTitle();
    UpdateStatusText();
    UpdateIcons();
    // A run has ended and the meter was read again: the user may choose files and start again.
    if (standAlone_ && uiState_ == kUiFinished) readAgain_ = true;
    // Whether Start offers an update depends on the meter just read.
    if (standAlone_ && (uiState_ == kUiIdle || uiState_ == kUiFinished)) UpdateButtons();
}

BOOL CZarnflashDlg::LoadDownloadSettings()
{
    CRegistryHelper registry(HKEY_LOCAL_MACHINE, 1);
    registry.PushKey(kBaseKey);
    registry.PushKey("Download Setting");
    baseUrl_ = registry.GetString("Base Url", "");
    const std::string version = registry.GetString("Version Confirm Url", "");
    const std::string list = registry.GetString("Download List Url", "");
    const std::string firm = registry.GetString("Download List Firm Url", "");
    versionListUrl_ = baseUrl_ + "/" + version;
    fileListUrl_ = baseUrl_ + "/" + list;
    firmwareListUrl_ = baseUrl_ + "/" + firm;
    const std::string local = SystemFolders::LocalAppDataFolder();
    downloadFolder_.clear();
    if (!local.empty()) {
        const std::string kestrin = JoinPath(local, "Kestrin", false);
        if (!IsDirectory(kestrin)) EnsureFolderExists(kestrin);
        const std::string folder = JoinPath(kestrin, "Zarndesk", false);
        if (!IsDirectory(folder)) EnsureFolderExists(folder);
        if (IsDirectory(folder)) downloadFolder_ = folder;
    }
    // The values as stored: an address made of the base and a missing value is no address.
    if (baseUrl_.empty() || list.empty() || downloadFolder_.empty()) return FALSE;
    registry.PushKey("Proxy");
    proxy_.useProxy = registry.GetDword("Use Proxy", 0);
    if (proxy_.useProxy == 1) {
        proxy_.server = registry.GetString("Server Name", "");
        proxy_.port = registry.GetString("Port Number", "80");
        proxy_.user = registry.GetString("User Name", "");
        proxy_.password = registry.GetScrambledString("Password", "");
    }
    return TRUE;
}

bool CZarnflashDlg::StartJob(BOOL started)
{
    if (started) return true;
    // No worker: nothing would ever report back.
    SetFinished(kFlashNoWorker);
    return false;
}

void CZarnflashDlg::SetFinished(int code)
{
    resultCode_ = code;
    EnterFinished();
}

void CZarnflashDlg::EnterFinished()
{
    uiState_ = kUiFinished;
    readAgain_ = false;
    if (standAlone_) {
        // The run is over: its worker has posted its last message. The poll reads the meter again,
        // and its first result enables Settings and Start.
        worker_.Wait();
        StartTimer();
    }
    UpdateButtons();
    UpdateIcons();
    UpdateStatusText();
}

void CZarnflashDlg::KillTimer()
{
    timer_.stop();
}

void CZarnflashDlg::StartTimer()
{
    timer_.start();
}

bool CZarnflashDlg::IsT520Radio() const
{
    return modelName_ == "T-520D" && (variant_ == 1 || variant_ == 2);
}

void CZarnflashDlg::SplitScript(std::string& folder, std::string& name)
{
    std::string path;
    worker_.GetDownloadedDlfPath(path);
    SplitFolderAndName(path, folder, name);
}

void CZarnflashDlg::OnJobDone(WPARAM job, LPARAM /*code*/)
{
    const bool t520 = modelName_ == "T-520D";
    const bool radioMeter = IsT140Radio() || IsT520Radio();
    auto refresh = [this] {
        UpdateButtons();
        UpdateIcons();
        UpdateStatusText();
    };
    auto transfer = [this, &refresh] {
        uiState_ = kUiTransfer;
        refresh();
    };
    switch (static_cast<int>(job)) {
    case kJobDownloadMain:
        KillTimer();
        worker_.Wait();
        if (modelName_ == "T-310D/DR" || modelName_ == "T-310CINE") {
            transfer();
            StartJob(worker_.StartMainT310(modelName_, offeredMainVersion_, &gui_));
        } else if (modelName_ == "T-140D" || modelName_ == "T-140DR-EL" || modelName_ == "T-140DR-PX") {
            transfer();
            StartJob(worker_.StartMainT140(modelName_, offeredMainVersion_, &gui_));
        } else if (t520 && (variant_ == 0 || variant_ == 3)) {
            transfer();
            StartJob(worker_.StartMainT520(modelName_, offeredMainVersion_, &gui_));
        } else if (IsT140Radio() || t520) {
            SplitScript(mainFolder_, mainName_);
            if (RadioDiffers(offeredAppVersion_, meterAppVersion_) ||
                RadioDiffers(offeredLoaderVersion_, meterLoaderVersion_)) {
                StartJob(worker_.StartDownload(t520 ? "T-520RFA" : "T-140RFA", offeredAppVersion_, &gui_,
                                               kJobDownloadRadioApp));
            } else if (Differs(offeredMainVersion_, meterRevision_)) {
                transfer();
                StartJob(t520 ? worker_.StartMainT520File(&gui_, mainFolder_, mainName_, port_)
                              : worker_.StartMainT140File(&gui_, mainFolder_, mainName_, port_));
            } else {
                SetFinished(kFlashNothingToDo);
            }
        } else {
            SetFinished(kFlashNothingToDo);
        }
        break;
    case kJobDownloadRadioApp:
        KillTimer();
        worker_.Wait();
        if (radioMeter) {
            SplitScript(appFolder_, appName_);
            if (!standAlone_ && RadioDiffers(offeredLoaderVersion_, meterLoaderVersion_)) {
                StartJob(worker_.StartDownload(t520 ? "T-520RFU" : "T-140RFU", standAlone_ ? offeredUpdaterVersion_ : "",
                                               &gui_, kJobDownloadRadioLoaderUpdater));
            } else {
                transfer();
                StartJob(t520 ? worker_.StartRadioAppT520File(&gui_, appFolder_, appName_, port_)
                              : worker_.StartRadioAppT140File(&gui_, appFolder_, appName_, port_));
            }
        } else {
            SetFinished(kFlashNothingToDo);
        }
        break;
    case kJobDownloadRadioLoaderUpdater:
        SplitScript(updaterFolder_, updaterName_);
        KillTimer();
        worker_.Wait();
        if (radioMeter) {
            StartJob(worker_.StartDownload(t520 ? "T-520RFL" : "T-140RFL", offeredLoaderVersion_, &gui_,
                                           kJobDownloadRadioLoader));
        } else {
            SetFinished(kFlashNothingToDo);
        }
        break;
    case kJobDownloadRadioLoader:
        SplitScript(loaderFolder_, loaderName_);
        KillTimer();
        worker_.Wait();
        if (radioMeter) {
            transfer();
            StartJob(t520 ? worker_.StartRadioLoaderUpdaterT520File(&gui_, updaterFolder_, updaterName_, port_)
                          : worker_.StartRadioLoaderUpdaterT140File(&gui_, updaterFolder_, updaterName_, port_));
        } else {
            SetFinished(kFlashNothingToDo);
        }
        break;
    case kJobWriteRadioLoaderUpdater:
        awaitsFirmware_ = true;
        transfer();
        KillTimer();
        worker_.Wait();
        StartJob(IsT520Radio() ? worker_.StartRadioLoaderT520File(&gui_, loaderFolder_, loaderName_, port_)
                               : worker_.StartRadioLoaderT140File(&gui_, loaderFolder_, loaderName_, port_));
        break;
    case kJobWriteRadioLoader:
        awaitsFirmware_ = true;
        transfer();
        KillTimer();
        worker_.Wait();
        StartJob(IsT520Radio() ? worker_.StartRadioAppT520File(&gui_, appFolder_, appName_, port_)
                               : worker_.StartRadioAppT140File(&gui_, appFolder_, appName_, port_));
        break;
    case kJobWriteRadioApp: {
        awaitsFirmware_ = true;
        transfer();
        KillTimer();
        worker_.Wait();
        const bool main = standAlone_ ? !offeredMainVersion_.empty() : Differs(offeredMainVersion_, meterRevision_);
        if (main) {
            StartJob(t520 ? worker_.StartMainT520File(&gui_, mainFolder_, mainName_, port_)
                          : worker_.StartMainT140File(&gui_, mainFolder_, mainName_, port_));
        } else {
            StartJob(t520 ? worker_.StartExitUpdateModeT520(&gui_) : worker_.StartExitUpdateModeT140(&gui_));
        }
        break;
    }
    case kJobWriteMain:
        awaitsFirmware_ = false;
        EnterFinished();
        if (!standAlone_) worker_.Wait();
        break;
    case kJobExitUpdateMode:
        awaitsFirmware_ = false;
        EnterFinished();
        progress_->setRange(0, 100);
        progress_->setValue(100);
        break;
    default: break;
    }
}

void CZarnflashDlg::OnProgress(WPARAM /*job*/, LPARAM value)
{
    const int range = static_cast<int>(static_cast<unsigned long>(value) & 0xFFFF);
    const int position = static_cast<int>((static_cast<unsigned long>(value) >> 16) & 0xFFFF);
    progress_->setRange(0, range);
    progress_->setValue(std::min(position, range));
    if (position == 0) {
        UpdateButtons();
        UpdateIcons();
        UpdateStatusText();
    }
}

void CZarnflashDlg::OnJobFailed(WPARAM /*job*/, LPARAM code)
{
    worker_.Wait();
    int result = static_cast<int>(code);
    refusal_ = worker_.LastRefusal();
    // A job of a radio chain that could not even reach the meter leaves the module in the update
    // mode the chain's earlier job left it in.
    const bool unreached = result == kFlashT140Open || result == kFlashT140Setup || result == kFlashT520Open ||
                           result == kFlashT520Setup;
    if (awaitsFirmware_ && unreached) result = kFlashStillInUpdateMode;
    awaitsFirmware_ = false;
    SetFinished(result);
}

void CZarnflashDlg::OnDownloadFailed(WPARAM /*job*/, LPARAM code)
{
    worker_.Wait();
    cancel_->setEnabled(true);
    SetFinished(static_cast<int>(code));
}

void CZarnflashDlg::OnDownloadCancelled(WPARAM job, LPARAM /*code*/)
{
    if (job >= 1 && job <= 4) {
        status_->setText(Q(Text(50013)));
        worker_.Wait();
        cancel_->setEnabled(true);
        cancel_->setText(Q(Text(50002)));
    } else {
        worker_.Wait();
    }
}

std::vector<CZarnflashDlg::ChainImage> CZarnflashDlg::ChainImages() const
{
    std::vector<ChainImage> images;
    if (modelName_.empty()) return images;
    images.push_back({kJobWriteMain, mainFolder_, mainName_});
    if (IsT140Radio() || IsT520Radio()) {
        images.push_back({kJobWriteRadioApp, appFolder_, appName_});
        images.push_back({kJobWriteRadioLoader, loaderFolder_, loaderName_});
        images.push_back({kJobWriteRadioLoaderUpdater, updaterFolder_, updaterName_});
    }
    images.erase(std::remove_if(images.begin(), images.end(), [](const ChainImage& i) { return i.name.empty(); }),
                 images.end());
    return images;
}

FlashImageProblem CZarnflashDlg::ReadyRefusal() const
{
    if (!standAlone_ || !meterPresent_) return {};
    for (const ChainImage& image : ChainImages()) {
        FlashImageProblem problem = CheckFlashImageName(modelName_, image.job, image.name);
        if (!problem.Ok()) return problem;
    }
    return {};
}

int CZarnflashDlg::CheckChainImages()
{
    refusal_ = FlashImageProblem();
    const std::vector<ChainImage> images = ChainImages();
    // Names first: an image of another meter means there is nothing to update with these files.
    for (const ChainImage& image : images) {
        const FlashImageProblem problem = CheckFlashImageName(modelName_, image.job, image.name);
        if (!problem.Ok()) {
            refusal_ = problem;
            return kFlashNothingToDo;
        }
    }
    // Then each image's companion and script, so the image the chain would stop at is named before
    // anything is written.
    for (const ChainImage& image : images) {
        FlashImageProblem problem = CheckFlashImage(modelName_, image.job, image.folder, image.name, true);
        if (problem.Ok()) problem = CheckFlashScript(image.job, image.folder, image.name);
        if (!problem.Ok()) {
            refusal_ = problem;
            return problem.Code();
        }
    }
    return 0;
}

void CZarnflashDlg::OnStart()
{
    KillTimer();
    JoinPoll();
    uiState_ = kUiTransfer;
    refusal_ = FlashImageProblem();
    awaitsFirmware_ = false;
    UpdateButtons();
    UpdateIcons();
    UpdateStatusText();
    worker_.Cancel();
    worker_.Wait();

    auto nothing = [this](int code) {
        // Nothing was written: the bar stays empty beside the reason.
        progress_->setRange(0, 100);
        progress_->setValue(0);
        SetFinished(code);
    };
    if (severalMeters_) return nothing(kFlashSeveralMeters);
    // Every image the chain would write is checked before its first job, so a chain never stops
    // half-way for an image that could have been refused at once.
    if (const int refused = CheckChainImages()) return nothing(refused);
    const bool radioOffered = !offeredAppVersion_.empty();

    if (modelName_ == "T-310D/DR" || modelName_ == "T-310CINE") {
        if (mainName_.empty()) return nothing(kFlashNothingToDo);
        StartJob(worker_.StartMainT310File(&gui_, mainFolder_, mainName_, port_));
    } else if (modelName_ == "T-140D" || modelName_ == "T-140DR-EL" || modelName_ == "T-140DR-PX" ||
               (modelName_ == "T-140DR" && !radioOffered)) {
        StartJob(worker_.StartMainT140File(&gui_, mainFolder_, mainName_, port_));
    } else if (modelName_ == "T-140DR") {
        if (!offeredLoaderVersion_.empty()) {
            StartJob(worker_.StartRadioLoaderUpdaterT140File(&gui_, updaterFolder_, updaterName_, port_));
        } else {
            StartJob(worker_.StartRadioAppT140File(&gui_, appFolder_, appName_, port_));
        }
    } else if (modelName_ == "T-520D" && !radioOffered) {
        StartJob(worker_.StartMainT520File(&gui_, mainFolder_, mainName_, port_));
    } else if (IsT520Radio()) {
        if (!offeredLoaderVersion_.empty()) {
            StartJob(worker_.StartRadioLoaderUpdaterT520File(&gui_, updaterFolder_, updaterName_, port_));
        } else {
            StartJob(worker_.StartRadioAppT520File(&gui_, appFolder_, appName_, port_));
        }
    } else {
        nothing(kFlashNothingToDo);
    }
}

void CZarnflashDlg::OnSettings()
{
    KillTimer();
    JoinPoll();
    CZarnflashFileselectDlg dialog(nullptr);
    dialog.meterModel = meterPresent_ ? modelName_ : std::string();
    const int result = settingsRunner_ ? settingsRunner_(dialog) : dialog.DoModal();
    if (result == IDOK) {
        mainFolder_ = dialog.mainFolder;
        mainName_ = dialog.mainName;
        port_ = dialog.port;
        appFolder_ = dialog.appFolder;
        appName_ = dialog.appName;
        loaderFolder_ = dialog.loaderFolder;
        loaderName_ = dialog.loaderName;
        updaterFolder_ = dialog.updaterFolder;
        updaterName_ = dialog.updaterName;
        offeredMainVersion_ = ReadVersionFromVerFile(mainFolder_, mainName_, false);
        offeredAppDate_ = ReadDateFromVerFile(appFolder_, appName_);
        offeredAppVersion_ = ReadVersionFromVerFile(appFolder_, appName_, true);
        offeredLoaderVersion_ = ReadVersionFromVerFile(loaderFolder_, loaderName_, true);
        offeredUpdaterVersion_ = ReadVersionFromVerFile(updaterFolder_, updaterName_, true);
        offeredMainDate_ = ReadDateFromVerFile(mainFolder_, mainName_);
        SaveLastUpdateFiles();
        // A new choice after a run: the last run's result and the file it refused are no longer
        // what the screen is about.
        if (uiState_ == kUiFinished && readAgain_) {
            uiState_ = kUiIdle;
            resultCode_ = 0;
            refusal_ = FlashImageProblem();
        }
        UpdateButtons();
        UpdateIcons();
        UpdateStatusText(); // the version line shows the new choice at once
        // An image the attached meter cannot take is said at once, naming the file.
        const FlashImageProblem refused = ReadyRefusal();
        if (!refused.Ok()) {
            if (PromptService* prompts = PromptService::Installed()) {
                prompts->MessageBox(HWND{}, FlashRefusalText(refused), "", MB_OK | MB_ICONEXCLAMATION);
            }
        }
    }
    StartTimer();
}

void CZarnflashDlg::SaveLastUpdateFiles()
{
    CRegistryHelper registry(HKEY_LOCAL_MACHINE, 1);
    registry.PushKey(kBaseKey);
    registry.SetString("Last Update Firmware File", mainFolder_ + mainName_);
    registry.SetString("Last Update RF Application Firmware File", appFolder_ + appName_);
    registry.SetString("Last Update RF Loader Firmware File", loaderFolder_ + loaderName_);
    registry.SetString("Last Update RF Loader Update Firmware File", updaterFolder_ + updaterName_);
    registry.SetString("Last Update Port", port_);
}

void CZarnflashDlg::EndDialog()
{
    KillTimer();
    JoinPoll();
    ended_ = true;
    done(0);
}

void CZarnflashDlg::OnCancelButton()
{
    if (worker_.IsRunning()) {
        worker_.Cancel();
        worker_.Wait();
        EndDialog();
        return;
    }
    if (!owner_.empty() && std::atoi(owner_.c_str()) != 0 && messenger_) {
        messenger_(owner_, WM_ZARN_FLASH_FINISHED, 0, 0);
    }
    EndDialog();
}

void CZarnflashDlg::OnExit()
{
    worker_.Cancel();
    worker_.Wait();
    EndDialog();
}

void CZarnflashDlg::OnTimer()
{
    KillTimer();
    // A meter being read takes its time; the next poll waits for the next tick.
    if (pollBusy_.load()) {
        StartTimer();
        return;
    }
    if (poll_.joinable()) {
        poll_.join();
        ApplyPolled();
    }
    MeterLinkFactory* links = &Links();
    pollBusy_.store(true);
    const bool started = StartPollThread([this, links] {
        FlashMeterReading reading = reader_.Read(*links);
        {
            std::lock_guard<std::mutex> lock(pollMutex_);
            polled_ = std::move(reading);
        }
        pollBusy_.store(false);
        QMetaObject::invokeMethod(this, "ApplyPolled", Qt::QueuedConnection);
    });
    if (!started) {
        // No thread to read the meter: this poll read nothing, and the next tick tries again.
        pollBusy_.store(false);
        {
            std::lock_guard<std::mutex> lock(pollMutex_);
            polled_ = FlashMeterReading();
        }
        ApplyPolled();
    }
    StartTimer();
}

bool CZarnflashDlg::StartPollThread(std::function<void()> body)
{
    try {
        poll_ = std::thread(std::move(body));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CZarnflashDlg::OnSysCommand(int command)
{
    if ((command & 0xFFF0) != 16) return;
    CAboutDlg about(this);
    if (aboutRunner) {
        aboutRunner(about);
    } else {
        about.exec();
    }
}

void CZarnflashDlg::UpdateButtons()
{
    settings_->setText(Q(Text(50003)));
    start_->setText(Q(Text(50004)));
    exit_->setText(Q(Text(50002)));
    cancel_->setText(Q(Text(50001)));
    settings_->setVisible(standAlone_ != 0);
    start_->setVisible(standAlone_ != 0);
    exit_->setVisible(standAlone_ != 0);
    cancel_->setVisible(standAlone_ == 0);
    bool setEnabled = false, cancelEnabled = false, exitEnabled = false;
    switch (uiState_) {
    case kUiLaunchedStart:
    case kUiIdle: setEnabled = cancelEnabled = exitEnabled = true; break;
    case kUiDownloading: cancelEnabled = true; break;
    case kUiFinished:
        exitEnabled = cancelEnabled = true;
        // Stand-alone, a new run may begin once the meter has been read again after this one.
        setEnabled = standAlone_ != 0 && readAgain_;
        cancel_->setText(Q(Text(standAlone_ ? 50002 : 10)));
        break;
    default: break;
    }
    settings_->setEnabled(setEnabled);
    // Start offers no update when a chosen image cannot be written into the attached meter; the
    // version line says which file and why, and Settings stays open to choose another.
    start_->setEnabled(setEnabled && ReadyRefusal().Ok());
    exit_->setEnabled(exitEnabled);
    cancel_->setEnabled(cancelEnabled);
}

void CZarnflashDlg::UpdateIcons()
{
    switch (uiState_) {
    case kUiLaunchedStart:
        stateIcon_->SetIcon(icon131_, 48, 48);
        modelIcon_->SetIcon(QIcon(), 50, 40);
        modelIcon_->show();
        break;
    case kUiDownloading:
        stateIcon_->SetIcon(icon131_, 48, 48);
        modelIcon_->SetIcon(icon130_, 50, 40);
        modelIcon_->show();
        break;
    case kUiIdle:
    case kUiTransfer: {
        stateIcon_->SetIcon(icon130_, 48, 48);
        const bool present = meterPresent_;
        if (present && (modelName_ == "T-310D/DR" || modelName_ == "T-310CINE")) {
            modelIcon_->SetIcon(icon192_, 30, 52);
        } else if (present && (modelName_ == "T-140D" || modelName_ == "T-140DR" || modelName_ == "T-140DR-EL" ||
                               modelName_ == "T-140DR-PX")) {
            modelIcon_->SetIcon(icon206_, 54, 54);
        } else if (present && modelName_ == "T-520D") {
            modelIcon_->SetIcon(icon136_, 48, 48);
        } else {
            modelIcon_->hide();
            return;
        }
        modelIcon_->show();
        break;
    }
    default: return;
    }
    stateIcon_->show();
}

void CZarnflashDlg::UpdateTitle()
{
    const bool noMeter = standAlone_ && !meterPresent_;
    setWindowTitle(Q(FormatLangString(50000, {noMeter ? "*" : modelName_})));
}

std::string CZarnflashDlg::StatusFor(int code) const
{
    switch (code) {
    case 0: return FormatLangString(50015, {standAlone_ && !meterPresent_ ? "*" : modelName_});
    case kFlashT310Open: return Text(50105);
    case kFlashT310Setup: return Text(50106);
    case kFlashT310Protocol: return Text(50107);
    case kFlashT310Read: return Text(50108);
    case kFlashT140Open: return Text(50109);
    case kFlashT140Setup: return Text(50110);
    case kFlashT140Protocol: return Text(50111);
    case kFlashT140Read: return Text(50112);
    case kFlashT520Open: return Text(60001);
    case kFlashT520Setup: return Text(60002);
    case kFlashT520Protocol: return Text(60003);
    case kFlashT520Read: return Text(60004);
    case kFlashFileList:
    case kFlashNoVersion:
    case kFlashDownload: return Text(50100);
    case kFlashIncomplete: return Text(50102);
    case kFlashNothingToDo: return Text(standAlone_ && !meterPresent_ ? 50135 : 50103);
    case kFlashNoScript: return Text(50104);
    case kFlashBadScript: return Text(50125);
    case kFlashNoVersionFile: return Text(50126);
    case kFlashNoWorker: return Text(50127);
    case kFlashSeveralMeters: return Text(50128);
    case kFlashStillInUpdateMode: return Text(50134);
    default: return {};
    }
}

std::string CZarnflashDlg::VersionLine() const
{
    const bool t140Radio = modelName_ == "T-140DR" || modelName_ == "T-140DR-EL" || modelName_ == "T-140DR-PX";
    const bool t520Radio = modelName_ == "T-520D" && variant_ >= 1 && variant_ <= 3;
    std::string meter = meterRevision_;
    if ((t140Radio || t520Radio) && !meterAppVersion_.empty()) {
        if (!meterRevision_.empty()) meter += "_";
        meter += FormatVersionText(meterAppVersion_);
    }
    std::string offered = offeredMainVersion_.empty() ? "**" : offeredMainVersion_;
    if (modelName_ == "T-140DR") {
        offered += "_" + (offeredAppVersion_.empty() ? std::string("**.***") : FormatVersionText(offeredAppVersion_));
    } else if (modelName_ == "T-140DR-EL" || modelName_ == "T-140DR-PX") {
        offered += "_**.***";
    } else if (modelName_ == "T-520D" && variant_ != 0) {
        offered += "_" + ((variant_ != 3 && !offeredAppVersion_.empty()) ? FormatVersionText(offeredAppVersion_)
                                                                         : std::string("**.***"));
    }
    std::string date = offeredMainDate_;
    if (date.empty() && (t140Radio || t520Radio)) date = offeredAppDate_;
    if (uiState_ == kUiFinished && !refusal_.Ok()) return FlashRefusalText(refusal_);
    // Chosen images that cannot be written into this meter are no update on offer.
    if (uiState_ == kUiIdle) {
        const FlashImageProblem ready = ReadyRefusal();
        if (!ready.Ok()) return FlashRefusalText(ready);
    }
    if (uiState_ == kUiFinished) return FormatLangString(50017, {offered, date});
    return FormatLangString(50016, {meter, offered, date});
}

void CZarnflashDlg::UpdateStatusText()
{
    std::string text;
    switch (uiState_) {
    case kUiIdle: text = Text(50010); break;
    case kUiLaunchedStart: text = Text(50011); break;
    case kUiDownloading: text = Text(50012); break;
    case kUiTransfer: text = Text(50014); break;
    case kUiFinished: text = StatusFor(resultCode_); break;
    default: break;
    }
    if (status_->text() != Q(text)) status_->setText(Q(text));
    const bool hidden = standAlone_ && !meterPresent_;
    versionLine_->setText(hidden ? QString() : Q(VersionLine()));
}
