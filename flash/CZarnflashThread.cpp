#include "flash/CZarnflashThread.h"

#include "core/util/HttpUtility.h"
#include "core/util/PathUtility.h"
#include "flash/CZarnflashHidLink.h"
#include "flash/CZarnflashSerialLink.h"
#include "flash/ZarnflashDefs.h"
#include "meter/SystemMeterLinkFactory.h"

#include <cctype>
#include <system_error>

namespace {

void PostTo(FlashMessageTarget* gui, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (gui) gui->PostThreadMessage(message, wParam, lParam);
}

bool HasDlfExtension(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.size() - dot != 4) return false;
    std::string ext = name.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == "dlf";
}

constexpr FlashPlayerForm kMainT140{6, "P0000F", 0x20000004, 0x20000005, 0x20000006, FlashPlayerForm::Kind::MainHid};
constexpr FlashPlayerForm kMainT520{6, "P0000F", 0x20000008, 0x20000009, 0x2000000A, FlashPlayerForm::Kind::MainHid};
constexpr FlashPlayerForm kMainT310{6, "P0000F", 0x20000000, 0x20000001, 0x20000002,
                                    FlashPlayerForm::Kind::MainSerial};

FlashPlayerForm RadioForm(int job, bool t520)
{
    FlashPlayerForm form;
    form.jobId = job;
    form.entryCommand = FlashEntryCommand(job);
    form.openCode = t520 ? 0x20000008 : 0x20000004;
    form.setupCode = t520 ? 0x20000009 : 0x20000005;
    form.protocolCode = t520 ? 0x2000000A : 0x20000006;
    form.kind = FlashPlayerForm::Kind::Radio;
    return form;
}

} // namespace

int FindDlfFile(std::string& path, const std::vector<std::string>& list, const std::string& folder)
{
    for (const std::string& name : list) {
        if (HasDlfExtension(name)) {
            path = JoinPath(folder, name, false);
            return 1;
        }
    }
    return 0;
}

CZarnflashThread::CZarnflashThread() = default;

CZarnflashThread::~CZarnflashThread()
{
    // The dialog joins before it goes; a thread still held here is joined rather than left running.
    if (thread_.joinable()) thread_.join();
}

void CZarnflashThread::SetEnvironment(MeterLinkFactory* links, Clock* clock)
{
    std::lock_guard<std::mutex> lock(mutex_);
    links_ = links;
    clock_ = clock;
}

void CZarnflashThread::SetDevicePath(const std::string& path)
{
    std::lock_guard<std::mutex> lock(mutex_);
    devicePath_ = path;
}

void CZarnflashThread::SetMeterModel(const std::string& model)
{
    std::lock_guard<std::mutex> lock(mutex_);
    meterModel_ = model;
}

void CZarnflashThread::SetRequireVersionFiles(bool require)
{
    std::lock_guard<std::mutex> lock(mutex_);
    requireVersionFiles_ = require;
}

FlashImageProblem CZarnflashThread::LastRefusal() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return refusal_;
}

void CZarnflashThread::SetHttpTimeouts(long connectMs, long transferMs)
{
    std::lock_guard<std::mutex> lock(mutex_);
    connectTimeoutMs_ = connectMs;
    transferTimeoutMs_ = transferMs;
}

BOOL CZarnflashThread::SetSettings(const std::string& programFolder, const std::string& baseUrl,
                                   const std::string& versionListUrl, const std::string& firmwareListUrl,
                                   const std::string& downloadFolder, const ZarnProxySettings& proxy)
{
    std::lock_guard<std::mutex> lock(mutex_);
    programFolder_ = programFolder;
    baseUrl_ = baseUrl;
    versionListUrl_ = versionListUrl;
    firmwareListUrl_ = firmwareListUrl;
    jobFolder_ = downloadFolder;
    proxy_.Assign(proxy);
    return TRUE;
}

bool CZarnflashThread::LaunchThread(std::function<void()> body)
{
    try {
        thread_ = std::thread(std::move(body));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

BOOL CZarnflashThread::Launch(Proc proc)
{
    if (!LaunchThread([this, proc] { proc(this); })) return FALSE;
    held_ = true;
    return TRUE;
}

BOOL CZarnflashThread::StartDownload(const std::string& type, const std::string& version, FlashMessageTarget* gui,
                                     int jobId)
{
    if (held_) return FALSE;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        typeText_ = type;
        versionText_ = version;
        gui_ = gui;
        jobId_ = jobId;
        abort_ = false;
        fileList_.clear();
    }
    return Launch(&CZarnflashThread::DownloadProc);
}

BOOL CZarnflashThread::StartDownloaded(Proc proc, const std::string& model, const std::string& version,
                                       FlashMessageTarget* gui, bool clearPort)
{
    if (held_) return FALSE;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        typeText_ = model;
        versionText_ = version;
        gui_ = gui;
        abort_ = false;
        if (clearPort) port_.clear();
    }
    return Launch(proc);
}

BOOL CZarnflashThread::StartFile(Proc proc, FlashMessageTarget* gui, const std::string& folder,
                                 const std::string& name, const std::string& port)
{
    if (held_) return FALSE;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        gui_ = gui;
        abort_ = false;
        jobFolder_ = folder;
        fileList_.assign(1, name);
        port_ = port;
    }
    return Launch(proc);
}

BOOL CZarnflashThread::StartMainT140(const std::string& model, const std::string& version, FlashMessageTarget* gui)
{
    return StartDownloaded(&MainFirmwareT140Proc, model, version, gui, false);
}

BOOL CZarnflashThread::StartMainT310(const std::string& model, const std::string& version, FlashMessageTarget* gui)
{
    return StartDownloaded(&MainFirmwareT310Proc, model, version, gui, true);
}

BOOL CZarnflashThread::StartMainT520(const std::string& model, const std::string& version, FlashMessageTarget* gui)
{
    return StartDownloaded(&MainFirmwareT520Proc, model, version, gui, false);
}

BOOL CZarnflashThread::StartMainT140File(FlashMessageTarget* gui, const std::string& folder, const std::string& name,
                                         const std::string& port)
{
    return StartFile(&MainFirmwareT140Proc, gui, folder, name, port);
}

BOOL CZarnflashThread::StartMainT310File(FlashMessageTarget* gui, const std::string& folder, const std::string& name,
                                         const std::string& port)
{
    return StartFile(&MainFirmwareT310Proc, gui, folder, name, port);
}

BOOL CZarnflashThread::StartMainT520File(FlashMessageTarget* gui, const std::string& folder, const std::string& name,
                                         const std::string& port)
{
    return StartFile(&MainFirmwareT520Proc, gui, folder, name, port);
}

BOOL CZarnflashThread::StartRadioLoaderUpdaterT140File(FlashMessageTarget* gui, const std::string& folder,
                                                       const std::string& name, const std::string& port)
{
    return StartFile(&RadioLoaderUpdaterT140Proc, gui, folder, name, port);
}

BOOL CZarnflashThread::StartRadioLoaderUpdaterT520File(FlashMessageTarget* gui, const std::string& folder,
                                                       const std::string& name, const std::string& port)
{
    return StartFile(&RadioLoaderUpdaterT520Proc, gui, folder, name, port);
}

BOOL CZarnflashThread::StartRadioLoaderT140File(FlashMessageTarget* gui, const std::string& folder,
                                                const std::string& name, const std::string& port)
{
    return StartFile(&RadioLoaderT140Proc, gui, folder, name, port);
}

BOOL CZarnflashThread::StartRadioLoaderT520File(FlashMessageTarget* gui, const std::string& folder,
                                                const std::string& name, const std::string& port)
{
    return StartFile(&RadioLoaderT520Proc, gui, folder, name, port);
}

BOOL CZarnflashThread::StartRadioAppT140File(FlashMessageTarget* gui, const std::string& folder,
                                             const std::string& name, const std::string& port)
{
    return StartFile(&RadioAppT140Proc, gui, folder, name, port);
}

BOOL CZarnflashThread::StartRadioAppT520File(FlashMessageTarget* gui, const std::string& folder,
                                             const std::string& name, const std::string& port)
{
    return StartFile(&RadioAppT520Proc, gui, folder, name, port);
}

BOOL CZarnflashThread::StartExitUpdateModeT140(FlashMessageTarget* gui)
{
    if (held_) return FALSE;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        abort_ = false;
        if (gui) gui_ = gui;
    }
    return Launch(&ExitUpdateModeT140Proc);
}

BOOL CZarnflashThread::StartExitUpdateModeT520(FlashMessageTarget* gui)
{
    if (held_) return FALSE;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        abort_ = false;
        if (gui) gui_ = gui;
    }
    return Launch(&ExitUpdateModeT520Proc);
}

void CZarnflashThread::Cancel()
{
    std::lock_guard<std::mutex> lock(mutex_);
    abort_ = true;
}

int CZarnflashThread::Wait()
{
    if (!held_) return 0;
    if (thread_.joinable()) thread_.join();
    held_ = false;
    return TRUE;
}

BOOL CZarnflashThread::IsRunning() const
{
    return held_ ? TRUE : FALSE;
}

void CZarnflashThread::GetDownloadedDlfPath(std::string& path) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    path.clear();
    FindDlfFile(path, fileList_, jobFolder_);
}

std::unique_ptr<CZarnflashLink> CZarnflashThread::MakeLink(Family family)
{
    MeterLinkFactory* links = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!links_) {
            if (!ownLinks_) ownLinks_ = std::make_unique<SystemMeterLinkFactory>();
            links_ = ownLinks_.get();
        }
        links = links_;
    }
    switch (family) {
    case Family::T140: return std::make_unique<CZarnflashHidLink>(links->CreateT140(), CZarnflashHidLink::Family::T140);
    case Family::T520: return std::make_unique<CZarnflashHidLink>(links->CreateT520(), CZarnflashHidLink::Family::T520);
    case Family::T310: return std::make_unique<CZarnflashSerialLink>(links->CreateT310());
    }
    return nullptr;
}

int CZarnflashThread::DownloadProc(CZarnflashThread* self)
{
    std::string type, version, baseUrl, versionListUrl, firmwareListUrl, folder;
    ZarnProxySettings proxy;
    FlashMessageTarget* gui = nullptr;
    int job = 0;
    long connectMs = 0, transferMs = 0;
    {
        std::lock_guard<std::mutex> lock(self->mutex_);
        type = self->typeText_;
        version = self->versionText_;
        gui = self->gui_;
        baseUrl = self->baseUrl_;
        versionListUrl = self->versionListUrl_;
        firmwareListUrl = self->firmwareListUrl_;
        folder = self->jobFolder_;
        proxy.Assign(self->proxy_);
        job = self->jobId_;
        connectMs = self->connectTimeoutMs_;
        transferMs = self->transferTimeoutMs_;
    }
    const WPARAM id = static_cast<WPARAM>(job);
    PostTo(gui, WM_UPDATE_PROGRESS, id, MakeProgressParam(100, 0));
    HttpUtility http(proxy);
    http.SetTimeouts(connectMs, transferMs);
    // Cancel ends a transfer in progress too, not only the steps still to come.
    http.SetCancelFlag(&self->abort_);
    http.Connect(baseUrl);

    UINT result = WM_UPDATE_JOB_DONE;
    LPARAM code = 0;
    unsigned range = 100;
    if (version.empty()) {
        std::vector<ZarnUpdateRecord> records;
        http.GetVersionList(versionListUrl, records);
        ZarnUpdateRecord record;
        if (http.FindUpdateRecord(records, type, record)) version = record.version;
    }
    std::vector<ZarnFileRecord> files, scripts;
    if (self->abort_) {
        result = WM_UPDATE_CANCELLED;
    } else if (version.empty()) {
        result = WM_UPDATE_JOB_FAILED;
        code = kFlashNoVersion;
    } else if (http.GetFirmwareFileList(firmwareListUrl, type, version, files, scripts) != 1) {
        result = self->abort_ ? WM_UPDATE_CANCELLED : WM_UPDATE_JOB_FAILED;
        code = self->abort_ ? 0 : kFlashFileList;
    } else {
        const unsigned n = static_cast<unsigned>(files.size()) + 1;
        range = n;
        PostTo(gui, WM_UPDATE_PROGRESS, id, MakeProgressParam(n, 1));
        unsigned done = 0;
        for (const ZarnFileRecord& file : files) {
            if (self->abort_) {
                result = WM_UPDATE_CANCELLED;
                break;
            }
            if (!http.Download(baseUrl, file, folder)) {
                result = self->abort_ ? WM_UPDATE_CANCELLED : WM_UPDATE_DOWNLOAD_FAILED;
                code = self->abort_ ? 0 : kFlashDownload;
                break;
            }
            {
                std::lock_guard<std::mutex> lock(self->mutex_);
                self->fileList_.push_back(file.fileName);
            }
            ++done;
            PostTo(gui, WM_UPDATE_PROGRESS, id, MakeProgressParam(n, 1 + done));
        }
    }
    PostTo(gui, WM_UPDATE_PROGRESS, id, MakeProgressParam(range, range));
    PostTo(gui, result, id, code);
    return 0;
}

int CZarnflashThread::PlayJob(CZarnflashThread* self, Family family, const FlashPlayerForm& form)
{
    std::vector<std::string> list;
    std::string folder, port, device, model;
    bool needVersionFile = false;
    FlashMessageTarget* gui = nullptr;
    Clock* clock = nullptr;
    {
        std::lock_guard<std::mutex> lock(self->mutex_);
        list = self->fileList_;
        folder = self->jobFolder_;
        gui = self->gui_;
        port = self->port_;
        device = self->devicePath_;
        clock = self->clock_;
        model = self->meterModel_;
        needVersionFile = self->requireVersionFiles_;
        self->refusal_ = FlashImageProblem();
    }
    if (!clock) clock = &SystemClock::Instance();
    if (model.empty()) model = family == Family::T140 ? "T-140" : family == Family::T520 ? "T-520D" : "T-310";
    std::string script;
    FindDlfFile(script, list, folder);
    std::unique_ptr<CZarnflashLink> link = self->MakeLink(family);
    struct NoTarget final : FlashMessageTarget {
        void PostThreadMessage(UINT, WPARAM, LPARAM) override {}
    } none;
    CZarnflashPlayer player(form, *link, gui ? *gui : static_cast<FlashMessageTarget&>(none), *clock);
    std::string imageFolder, imageName;
    auto refuse = [self](const FlashImageProblem& problem) {
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->refusal_ = problem;
    };
    if (!script.empty()) {
        // Every image, chosen or downloaded, is checked here before its job opens the link.
        SplitFolderAndName(script, imageFolder, imageName);
        const FlashImageProblem problem = CheckFlashImage(model, form.jobId, imageFolder, imageName, needVersionFile);
        if (!problem.Ok()) {
            refuse(problem);
            player.Refuse(problem.Code());
            return 0;
        }
    }
    // The player reads and checks the script itself; a script it refuses is named like the rest.
    if (player.Run(script, family == Family::T310 ? port : device) == kFlashBadScript && !player.ScriptCheck().Ok()) {
        refuse(ScriptProblem(imageName, player.ScriptCheck()));
    }
    return 0;
}

int CZarnflashThread::MainFirmwareT140Proc(CZarnflashThread* self)
{
    return PlayJob(self, Family::T140, kMainT140);
}

int CZarnflashThread::MainFirmwareT310Proc(CZarnflashThread* self)
{
    return PlayJob(self, Family::T310, kMainT310);
}

int CZarnflashThread::MainFirmwareT520Proc(CZarnflashThread* self)
{
    return PlayJob(self, Family::T520, kMainT520);
}

int CZarnflashThread::RadioLoaderUpdaterT140Proc(CZarnflashThread* self)
{
    return PlayJob(self, Family::T140, RadioForm(kJobWriteRadioLoaderUpdater, false));
}

int CZarnflashThread::RadioLoaderUpdaterT520Proc(CZarnflashThread* self)
{
    return PlayJob(self, Family::T520, RadioForm(kJobWriteRadioLoaderUpdater, true));
}

int CZarnflashThread::RadioLoaderT140Proc(CZarnflashThread* self)
{
    return PlayJob(self, Family::T140, RadioForm(kJobWriteRadioLoader, false));
}

int CZarnflashThread::RadioLoaderT520Proc(CZarnflashThread* self)
{
    return PlayJob(self, Family::T520, RadioForm(kJobWriteRadioLoader, true));
}

int CZarnflashThread::RadioAppT140Proc(CZarnflashThread* self)
{
    return PlayJob(self, Family::T140, RadioForm(kJobWriteRadioApp, false));
}

int CZarnflashThread::RadioAppT520Proc(CZarnflashThread* self)
{
    return PlayJob(self, Family::T520, RadioForm(kJobWriteRadioApp, true));
}

int CZarnflashThread::ExitUpdateMode(CZarnflashThread* self, Family family)
{
    FlashMessageTarget* gui = nullptr;
    std::string device;
    {
        std::lock_guard<std::mutex> lock(self->mutex_);
        gui = self->gui_;
        device = self->devicePath_;
    }
    const bool t520 = family == Family::T520;
    std::unique_ptr<CZarnflashLink> link = self->MakeLink(family);
    UINT result = WM_UPDATE_JOB_DONE;
    int err = 0;
    LPARAM code = 0;
    if (!link->Open(device, &err)) {
        result = WM_UPDATE_JOB_FAILED;
        code = t520 ? 0x20000008 : 0x20000004;
    } else if (!link->Prepare(&err)) {
        result = WM_UPDATE_JOB_FAILED;
        code = t520 ? 0x20000009 : 0x20000005;
        link->Close();
    } else {
        std::string reply;
        link->Transact("H00000", &reply);
        // The reply is not looked at (the meter restarts), but a command that never left did nothing:
        // the meter still waits for its firmware.
        if (link->LastWriteFailed()) {
            result = WM_UPDATE_JOB_FAILED;
            code = kFlashStillInUpdateMode;
        } else {
            code = err;
        }
        link->Close();
    }
    PostTo(gui, result, kJobExitUpdateMode, code);
    return 0;
}

int CZarnflashThread::ExitUpdateModeT140Proc(CZarnflashThread* self)
{
    return ExitUpdateMode(self, Family::T140);
}

int CZarnflashThread::ExitUpdateModeT520Proc(CZarnflashThread* self)
{
    return ExitUpdateMode(self, Family::T520);
}
