#include "meter/CKZARN_LMCtrl.h"

#include "core/util/HttpUtility.h"
#include "meter/SystemMeterLinkFactory.h"
#include "meter/ZarnMeterError.h"
#include "meter/ZarnMeterMessages.h"

#include <exception>

// The worker's own objects: one link per family and one working block per family.
struct CKZARN_LMCtrl::Links {
    std::unique_ptr<CCommT310> t310;
    std::unique_ptr<CCommT140> t140;
    std::unique_ptr<CCommT520> t520;
    T310TransferBlock t310Block{};
    T140TransferBlock t140Block{};
    T520TransferBlock t520Block{};
};

namespace {

constexpr COMMTIMEOUTS kWorkerTimeouts{100, 20, 500, 20, 500};

// The family whose command set a code belongs to; false for codes outside the table.
bool FamilyOfCode(int code, MeterFamily* family)
{
    if (code >= ZARN_CMD_T310_WRITE_PROFILES && code <= ZARN_CMD_T310_WRITE_CUSTOM) {
        *family = MeterFamilyT310;
        return true;
    }
    if (code >= ZARN_CMD_T140_WRITE_PROFILES && code <= ZARN_CMD_T140_RESET) {
        *family = MeterFamilyT140;
        return true;
    }
    if (code >= ZARN_CMD_T520_WRITE_PROFILES && code <= ZARN_CMD_T520_RESET) {
        *family = MeterFamilyT520;
        return true;
    }
    return false;
}

constexpr int kStepOpen = 0;
constexpr int kStepSetup = 1;
constexpr int kStepWrite = 2;
constexpr int kStepRead = 3;

bool IsRadioModel(const std::string& model)
{
    return model == "T-140DR" || model == "T-140DR-EL" || model == "T-140DR-PX";
}

} // namespace

CKZARN_LMCtrl::CKZARN_LMCtrl(MessageSink& sink, std::unique_ptr<MeterLinkFactory> links, Clock* clock,
                             std::unique_ptr<CommandSemaphore> semaphore)
    : sink_(sink),
      linkFactory_(links ? std::move(links) : std::make_unique<SystemMeterLinkFactory>()),
      clock_(clock ? *clock : SystemClock::Instance()),
      queue_(std::make_unique<CThreadMsgQueue<CZarnCommand>>(std::move(semaphore)))
{
}

CKZARN_LMCtrl::~CKZARN_LMCtrl()
{
    // Joining here as well keeps the object alive until its thread has ended, also when the owner
    // forgot to stop it.
    Stop();
}

void CKZARN_LMCtrl::Start()
{
    std::lock_guard<std::mutex> startStop(startStopMutex_);
    if (thread_.joinable()) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        run_ = 1;
    }
    cancelTransfer_ = false;
    thread_ = std::thread([this] { ThreadProc(this); });
}

void CKZARN_LMCtrl::Stop()
{
    std::lock_guard<std::mutex> startStop(startStopMutex_);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        run_ = 0;
    }
    // A transfer in progress would otherwise hold the join for as long as its server keeps it.
    cancelTransfer_ = true;
    if (!thread_.joinable()) {
        return;
    }
    queue_->Push(std::make_unique<CZarnCommand>(CZarnCommand{ZARN_CMD_WAKE, 0, nullptr}));
    // Waiting for the thread itself (not for a flag it sets) also covers a stop that comes before
    // the thread has begun to run.
    thread_.join();
}

void CKZARN_LMCtrl::Suspend()
{
    std::lock_guard<std::mutex> lock(mutex_);
    suspended_ = 1;
}

void CKZARN_LMCtrl::Resume()
{
    std::lock_guard<std::mutex> lock(mutex_);
    suspended_ = 0;
}

void CKZARN_LMCtrl::CancelUpdateCheck()
{
    cancelTransfer_ = true;
}

void CKZARN_LMCtrl::PostCommand(int type, int value, HWND replyWnd)
{
    // Each posted check starts uncancelled: a cancel is for the check the user gave up on.
    if (type == ZARN_CMD_UPDATE_CHECK) cancelTransfer_ = false;
    queue_->Push(std::make_unique<CZarnCommand>(CZarnCommand{type, value, replyWnd}));
}

void CKZARN_LMCtrl::SetNotifyWindow(HWND window)
{
    std::lock_guard<std::mutex> lock(mutex_);
    notifyWnd_ = window;
}

void CKZARN_LMCtrl::SetUpdateRequest(const std::string& baseUrl, const std::string& versionUrl,
                                     const ZarnProxySettings& proxy)
{
    std::lock_guard<std::mutex> lock(mutex_);
    baseUrl_ = baseUrl;
    versionUrl_ = versionUrl;
    proxy_ = proxy;
}

void CKZARN_LMCtrl::GetUpdateRequest(std::string* baseUrl, std::string* versionUrl, ZarnProxySettings* proxy)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (baseUrl) *baseUrl = baseUrl_;
    if (versionUrl) *versionUrl = versionUrl_;
    if (proxy) *proxy = proxy_;
}

std::vector<ZarnUpdateRecord> CKZARN_LMCtrl::GetUpdateList()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return updateList_;
}

void CKZARN_LMCtrl::SetUpdateList(const std::vector<ZarnUpdateRecord>& list, HWND replyWnd)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        updateList_ = list;
    }
    if (replyWnd) {
        PostReply(replyWnd, WM_ZARN_UPDATE_CHECK_DONE, 0, 0);
        HWND notify;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            notify = notifyWnd_;
        }
        if (notify && sink_.IsWindow(notify)) {
            sink_.PostMessage(notify, WM_ZARN_UPDATE_LIST_READY, 0, 0);
        }
    }
}

void CKZARN_LMCtrl::GetT310Block(T310TransferBlock* block)
{
    if (!block) return;
    std::lock_guard<std::mutex> lock(mutex_);
    *block = t310Block_;
}

void CKZARN_LMCtrl::GetT140Block(T140TransferBlock* block)
{
    if (!block) return;
    std::lock_guard<std::mutex> lock(mutex_);
    *block = t140Block_;
}

void CKZARN_LMCtrl::GetT520Block(T520TransferBlock* block)
{
    if (!block) return;
    std::lock_guard<std::mutex> lock(mutex_);
    *block = t520Block_;
}

void CKZARN_LMCtrl::SetT310Block(const T310TransferBlock* block)
{
    if (!block) return;
    std::lock_guard<std::mutex> lock(mutex_);
    t310Block_ = *block;
}

void CKZARN_LMCtrl::SetT140Block(const T140TransferBlock* block)
{
    if (!block) return;
    std::lock_guard<std::mutex> lock(mutex_);
    t140Block_ = *block;
}

void CKZARN_LMCtrl::SetT520Block(const T520TransferBlock* block)
{
    if (!block) return;
    std::lock_guard<std::mutex> lock(mutex_);
    t520Block_ = *block;
}

int CKZARN_LMCtrl::IsT310Connected()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return t310State_;
}

int CKZARN_LMCtrl::IsT140Connected()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return t140State_;
}

int CKZARN_LMCtrl::IsT520Connected()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return t520State_;
}

int CKZARN_LMCtrl::IsRunning()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return run_;
}

int CKZARN_LMCtrl::IsPollingEnabled()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return pollingEnabled_;
}

void CKZARN_LMCtrl::SetPollingEnabled(int enabled)
{
    std::lock_guard<std::mutex> lock(mutex_);
    pollingEnabled_ = enabled;
}

void CKZARN_LMCtrl::SetAlive(int alive)
{
    std::lock_guard<std::mutex> lock(mutex_);
    alive_ = alive;
}

int CKZARN_LMCtrl::GetMeterState()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return meterState_;
}

std::string CKZARN_LMCtrl::GetMeterRevision()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return revision_;
}

std::string CKZARN_LMCtrl::GetMeterDate()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return date_;
}

std::string CKZARN_LMCtrl::GetModelName()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return model_;
}

std::string CKZARN_LMCtrl::GetVersionA()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return versionA_;
}

std::string CKZARN_LMCtrl::GetVersionB()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return versionB_;
}

void CKZARN_LMCtrl::ClearMeterInfo()
{
    std::lock_guard<std::mutex> lock(mutex_);
    revision_.clear();
    versionA_.clear();
    versionB_.clear();
    date_.clear();
    model_.clear();
}

int* CKZARN_LMCtrl::StateOf(MeterFamily family)
{
    switch (family) {
    case MeterFamilyT310: return &t310State_;
    case MeterFamilyT140: return &t140State_;
    case MeterFamilyT520: return &t520State_;
    }
    return nullptr;
}

namespace {

UINT ConnectionMessage(MeterFamily family)
{
    switch (family) {
    case MeterFamilyT310: return WM_ZARN_T310_CONNECTION;
    case MeterFamilyT140: return WM_ZARN_T140_CONNECTION;
    case MeterFamilyT520: return WM_ZARN_T520_CONNECTION;
    }
    return 0;
}

UINT InfoMessage(MeterFamily family)
{
    switch (family) {
    case MeterFamilyT310: return WM_ZARN_T310_INFO;
    case MeterFamilyT140: return WM_ZARN_T140_INFO;
    case MeterFamilyT520: return WM_ZARN_T520_INFO;
    }
    return 0;
}

} // namespace

void CKZARN_LMCtrl::SetConnectionState(MeterFamily family, int state, int notify)
{
    int* target = StateOf(family);
    if (!target) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        *target = state;
        if (state == 0) {
            revision_.clear();
            versionA_.clear();
            versionB_.clear();
            date_.clear();
            model_.clear();
        }
    }
    if (notify == 1) {
        PostNotify(ConnectionMessage(family), static_cast<WPARAM>(state), 0);
    }
}

void CKZARN_LMCtrl::SetMeterInfo3(MeterFamily family, const std::string& revision, const std::string& date,
                                  const std::string& model, int meterState, WPARAM wParam)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        revision_ = revision;
        date_ = date;
        model_ = model;
        meterState_ = meterState;
    }
    PostNotify(InfoMessage(family), wParam, 0);
}

void CKZARN_LMCtrl::SetMeterInfo5(MeterFamily family, const std::string& revision, const std::string& versionA,
                                  const std::string& versionB, const std::string& date, const std::string& model,
                                  int meterState, WPARAM wParam)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        revision_ = revision;
        versionA_ = versionA;
        versionB_ = versionB;
        date_ = date;
        model_ = model;
        meterState_ = meterState;
    }
    PostNotify(InfoMessage(family), wParam, 0);
}

void CKZARN_LMCtrl::PostMultipleMetersNotice()
{
    PostNotify(WM_ZARN_MULTIPLE_METERS, 0, 0);
}

void CKZARN_LMCtrl::PostCommandDone(int post, LPARAM result, HWND replyWnd)
{
    if (post == 1) {
        PostReply(replyWnd, WM_ZARN_COMMAND_DONE, 0, result);
    }
}

void CKZARN_LMCtrl::PostNotify(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND notify;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        notify = notifyWnd_;
    }
    if (notify) {
        sink_.PostMessage(notify, message, wParam, lParam);
    }
}

void CKZARN_LMCtrl::PostReply(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The sink drops posts to windows that no longer exist; the window itself is never touched.
    if (window && sink_.IsWindow(window)) {
        sink_.PostMessage(window, message, wParam, lParam);
    }
}

unsigned CKZARN_LMCtrl::ThreadProc(CKZARN_LMCtrl* self)
{
    self->Run();
    return 0;
}

void CKZARN_LMCtrl::Run()
{
    Links links;
    links.t310 = linkFactory_->CreateT310();
    links.t140 = linkFactory_->CreateT140();
    links.t520 = linkFactory_->CreateT520();
    links.t310->SetMessageSink(&sink_);
    links.t140->SetMessageSink(&sink_);
    links.t520->SetMessageSink(&sink_);
    SetAlive(1);
    SetPollingEnabled(0);

    for (;;) {
        int suspended;
        int polling;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (run_ != 1) break;
            suspended = suspended_;
            polling = pollingEnabled_;
        }
        if (suspended == 0 && polling == 1 && PollPresence(links)) {
            // Several meters: no command runs; whatever is queued is answered unrun, so that no
            // dialog waits for the episode to end.
            while (std::unique_ptr<CZarnCommand> command = queue_->TryPop()) {
                AnswerUnrun(*command);
            }
            continue;
        }
        std::unique_ptr<CZarnCommand> command = queue_->Pop(kQueueWaitMs);
        if (!command || command->type == ZARN_CMD_NONE || command->type == ZARN_CMD_WAKE) {
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            suspended = suspended_;
        }
        if (suspended == 1) {
            AnswerUnrun(*command);
            continue;
        }
        if (command->type == ZARN_CMD_UPDATE_CHECK) {
            RunUpdateCheck(*command);
        } else {
            RunMeterCommand(links, *command);
        }
    }

    SetAlive(0);
    // Destroying the links closes any link still open.
}

void CKZARN_LMCtrl::AnswerUnrun(const CZarnCommand& command)
{
    if (command.type == ZARN_CMD_NONE || command.type == ZARN_CMD_WAKE) {
        return;
    }
    if (command.type == ZARN_CMD_UPDATE_CHECK) {
        PostReply(command.replyWnd, WM_ZARN_UPDATE_CHECK_DONE, 0, 0);
        return;
    }
    MeterFamily family = MeterFamilyT310;
    const unsigned code = FamilyOfCode(command.type, &family) ? ZarnMeterErrorOf(family, kStepOpen)
                                                              : kZarnErrorUnknownCommand;
    PostCommandDone(1, static_cast<LPARAM>(code), command.replyWnd);
}

bool CKZARN_LMCtrl::PollPresence(Links& links)
{
    int previous[3];
    {
        std::lock_guard<std::mutex> lock(mutex_);
        previous[0] = t310State_;
        previous[1] = t140State_;
        previous[2] = t520State_;
    }
    BOOL multiple[3] = {FALSE, FALSE, FALSE};
    const BOOL found[3] = {links.t310->IsDevicePresent(&multiple[0]), links.t140->IsDevicePresent(&multiple[1]),
                           links.t520->IsDevicePresent(&multiple[2])};
    bool present[3];
    for (int f = 0; f < 3; ++f) present[f] = found[f] == 1;

    const bool several = (present[0] && multiple[0] == 1) || (present[1] && multiple[1] == 1) ||
                         (present[2] && multiple[2] == 1) || (present[0] && (present[1] || present[2])) ||
                         (present[1] && present[2]);
    if (several) {
        if (multipleMeters_ == 0) {
            PostMultipleMetersNotice();
            multipleMeters_ = 1;
        }
        clock_.SleepMs(kMultipleMetersMs);
        return true;
    }
    multipleMeters_ = 0;
    for (int f = 0; f < 3; ++f) {
        const MeterFamily family = static_cast<MeterFamily>(f);
        if (previous[f] == 1 && found[f] == 0) {
            SetConnectionState(family, 0, 1);
            SetMeterInfo3(family, std::string(), std::string(), std::string(), 999, 0);
        } else if (previous[f] == 0 && found[f] != 0) {
            SetConnectionState(family, found[f], 1);
            if (family == MeterFamilyT520) {
                clock_.SleepMs(kT520SettleMs);
            }
        }
    }
    return false;
}

void CKZARN_LMCtrl::RunMeterCommand(Links& links, const CZarnCommand& command)
{
    const HWND reply = command.replyWnd;
    MeterFamily codeFamily = MeterFamilyT310;
    if (!FamilyOfCode(command.type, &codeFamily)) {
        // Not a command of any family: nothing is opened, the poster still hears of it.
        AnswerUnrun(command);
        return;
    }

    links.t310Block.bytes.fill(0);
    links.t140Block.bytes.fill(0);
    links.t520Block.bytes.fill(0);

    int states[3];
    {
        std::lock_guard<std::mutex> lock(mutex_);
        states[0] = t310State_;
        states[1] = t140State_;
        states[2] = t520State_;
    }
    int opened = -1;
    for (int f = 0; f < 3 && opened < 0; ++f) {
        if (states[f] != 0) opened = f;
    }

    // Every way out closes the link this command opened.
    auto closeOpened = [&links, &opened]() {
        switch (opened) {
        case MeterFamilyT310: links.t310->Close(nullptr); break;
        case MeterFamilyT140: links.t140->Close(nullptr); break;
        case MeterFamilyT520: links.t520->Close(nullptr); break;
        default: break;
        }
    };
    auto fail = [&](unsigned code) {
        closeOpened();
        PostCommandDone(1, static_cast<LPARAM>(code), reply);
    };

    if (opened >= 0) {
        const MeterFamily family = static_cast<MeterFamily>(opened);
        bool open = false;
        for (int attempt = 0; attempt < kOpenAttempts && !open; ++attempt) {
            if (attempt > 0) clock_.SleepMs(kOpenRetryMs);
            switch (family) {
            case MeterFamilyT310: open = links.t310->OpenDevice(nullptr) != 0; break;
            case MeterFamilyT140: open = links.t140->OpenDevice(nullptr) != 0; break;
            case MeterFamilyT520: open = links.t520->OpenDevice(nullptr) != 0; break;
            }
        }
        if (!open) {
            PostCommandDone(1, static_cast<LPARAM>(ZarnMeterErrorOf(family, kStepOpen)), reply);
            return;
        }
        const BOOL timeouts = family == MeterFamilyT310 ? links.t310->SetCommTimeouts(&kWorkerTimeouts, nullptr)
                              : family == MeterFamilyT140 ? links.t140->SetTimeouts(&kWorkerTimeouts, nullptr)
                                                          : links.t520->SetTimeouts(&kWorkerTimeouts, nullptr);
        if (!timeouts) {
            fail(ZarnMeterErrorOf(family, kStepSetup));
            return;
        }

        if (family == codeFamily) {
            if (command.type == ZARN_CMD_T310_READ_INFO) {
                CCommT310& t = *links.t310;
                if (!t.PrepareDevice(nullptr)) {
                    fail(ZARN_ERR_T310_SETUP);
                    return;
                }
                std::string revision, model, date;
                t.GetRevision(&revision, nullptr);
                t.GetModelName(&model, nullptr);
                t.GetDateString(&date, nullptr);
                SetMeterInfo3(MeterFamilyT310, revision, date, model, 999, 1);
            } else if (command.type == ZARN_CMD_T140_READ_INFO || command.type == ZARN_CMD_T520_READ_INFO) {
                const bool t140 = command.type == ZARN_CMD_T140_READ_INFO;
                CCommHidMeter& hid = t140 ? static_cast<CCommHidMeter&>(*links.t140)
                                          : static_cast<CCommHidMeter&>(*links.t520);
                auto waitReady = [&](const std::string& rev) {
                    return t140 ? links.t140->WaitUntilReady(rev, nullptr) : links.t520->WaitUntilReady(rev, nullptr);
                };
                // Only a failed exchange (a system error code) ends the identity step. An answer the
                // meter gives in an unexpected form is shown as the query's own text ("---" for an
                // unknown or still busy model, an empty version) and the identity goes on.
                std::string model, revision, versionA, versionB, date;
                int err = 0;
                const auto exchangeFailed = [&err](BOOL ok) { return !ok && err != 0; };
                if (!hid.PrepareDevice(nullptr)) {
                    fail(ZarnMeterErrorOf(codeFamily, kStepSetup));
                    return;
                }
                if (exchangeFailed(hid.GetModelName(&model, &err)) || exchangeFailed(hid.GetRevision(&revision, &err))) {
                    fail(ZarnMeterErrorOf(codeFamily, kStepSetup));
                    return;
                }
                if (waitReady(revision) == 1) {
                    if (exchangeFailed(hid.GetVersionA(&versionA, &err)) ||
                        exchangeFailed(hid.GetVersionB(&versionB, &err))) {
                        fail(ZarnMeterErrorOf(codeFamily, kStepSetup));
                        return;
                    }
                    hid.GetModelName(&model, nullptr);
                }
                hid.GetDateString(&date, nullptr);
                const int state = hid.GetState(nullptr);
                const bool five = t140 ? IsRadioModel(model) : waitReady(revision) == 1;
                if (five) {
                    SetMeterInfo5(codeFamily, revision, versionA, versionB, date, model, state, 1);
                }
                SetMeterInfo3(codeFamily, revision, date, model, state, 1);
            } else if (command.type == ZARN_CMD_T140_RESET || command.type == ZARN_CMD_T520_RESET) {
                CCommHidMeter& hid = command.type == ZARN_CMD_T140_RESET ? static_cast<CCommHidMeter&>(*links.t140)
                                                                         : static_cast<CCommHidMeter&>(*links.t520);
                hid.SetNotifyWindow(reply, WM_ZARN_PROGRESS);
                if (!hid.ResetMeter(nullptr)) {
                    fail(ZarnMeterErrorOf(codeFamily, kStepWrite));
                    return;
                }
                // A close error after a reset that went through does not undo the reset.
                closeOpened();
                PostCommandDone(1, 0, reply);
                return;
            }
        }
    }

    if (command.type == ZARN_CMD_T140_RESET || command.type == ZARN_CMD_T520_RESET) {
        // The reset needs its own family's meter attached; it fails as a write would on a closed link.
        fail(ZarnMeterErrorOf(codeFamily, kStepWrite));
        return;
    }

    bool ok = false;
    bool isRead = false;
    {
        CCommT310& t310 = *links.t310;
        CCommT140& t140 = *links.t140;
        CCommT520& t520 = *links.t520;
        const auto copyIn = [this, &links](MeterFamily f) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (f == MeterFamilyT310) links.t310Block = t310Block_;
            if (f == MeterFamilyT140) links.t140Block = t140Block_;
            if (f == MeterFamilyT520) links.t520Block = t520Block_;
        };
        switch (codeFamily) {
        case MeterFamilyT310: t310.SetNotifyWindow(reply, WM_ZARN_PROGRESS); break;
        case MeterFamilyT140: t140.SetNotifyWindow(reply, WM_ZARN_PROGRESS); break;
        case MeterFamilyT520: t520.SetNotifyWindow(reply, WM_ZARN_PROGRESS); break;
        }
        const unsigned mask310 = static_cast<unsigned>(command.value) & 0xFu;
        const unsigned maskHid = static_cast<unsigned>(command.value) & 0x7FFu;
        try {
            switch (command.type) {
            case ZARN_CMD_T310_WRITE_PROFILES:
                copyIn(MeterFamilyT310);
                ok = t310.WriteProfiles(&links.t310Block, static_cast<int>(mask310), nullptr) != 0;
                break;
            case ZARN_CMD_T310_READ_PROFILES:
                isRead = true;
                ok = t310.ReadAllProfiles(&links.t310Block, nullptr) != 0;
                break;
            case ZARN_CMD_T310_READ_INFO:
                isRead = true;
                ok = t310.ReadProfileNames(&links.t310Block, nullptr) != 0;
                break;
            case ZARN_CMD_T310_READ_CUSTOM:
                isRead = true;
                ok = t310.ReadCustomSettings(&links.t310Block, nullptr) != 0;
                break;
            case ZARN_CMD_T310_WRITE_CUSTOM:
                copyIn(MeterFamilyT310);
                ok = t310.WriteCustomSettings(&links.t310Block, nullptr) != 0;
                break;
            case ZARN_CMD_T140_WRITE_PROFILES:
                copyIn(MeterFamilyT140);
                ok = t140.WriteProfiles(&links.t140Block, maskHid, nullptr) != 0;
                break;
            case ZARN_CMD_T140_READ_PROFILES:
                isRead = true;
                ok = t140.ReadAllProfiles(&links.t140Block, nullptr) != 0;
                break;
            case ZARN_CMD_T140_READ_INFO:
                isRead = true;
                ok = t140.ReadProfileNames(&links.t140Block, nullptr) != 0;
                break;
            case ZARN_CMD_T140_READ_CUSTOM:
                isRead = true;
                ok = t140.ReadCustomSettings(&links.t140Block, nullptr) != 0;
                break;
            case ZARN_CMD_T140_WRITE_CUSTOM:
                copyIn(MeterFamilyT140);
                ok = t140.WriteCustomSettings(&links.t140Block, nullptr) != 0;
                break;
            case ZARN_CMD_T140_READ_USER_SETTINGS:
                isRead = true;
                ok = t140.ReadSettingTables(&links.t140Block, nullptr) != 0;
                break;
            case ZARN_CMD_T140_WRITE_USER_SETTINGS:
                copyIn(MeterFamilyT140);
                ok = t140.WriteSettingTables(&links.t140Block, nullptr) != 0;
                break;
            case ZARN_CMD_T520_WRITE_PROFILES:
                copyIn(MeterFamilyT520);
                ok = t520.WriteProfiles(&links.t520Block, maskHid, nullptr) != 0;
                break;
            case ZARN_CMD_T520_READ_PROFILES:
                isRead = true;
                ok = t520.ReadAllProfiles(&links.t520Block, nullptr) != 0;
                break;
            case ZARN_CMD_T520_READ_INFO:
                isRead = true;
                ok = t520.ReadProfileNames(&links.t520Block, nullptr) != 0;
                break;
            case ZARN_CMD_T520_READ_CUSTOM:
                isRead = true;
                ok = t520.ReadCustomSettings(&links.t520Block, nullptr) != 0;
                break;
            case ZARN_CMD_T520_WRITE_CUSTOM:
                copyIn(MeterFamilyT520);
                ok = t520.WriteCustomSettings(&links.t520Block, nullptr) != 0;
                break;
            case ZARN_CMD_T520_READ_USER_SETTINGS:
                isRead = true;
                ok = t520.ReadSettingTables(&links.t520Block, nullptr) != 0;
                break;
            case ZARN_CMD_T520_WRITE_USER_SETTINGS:
                copyIn(MeterFamilyT520);
                ok = t520.WriteSettingTables(&links.t520Block, nullptr) != 0;
                break;
            default:
                break;
            }
        } catch (const std::exception&) {
            // A link that throws counts as a failed operation; the worker must survive it.
            ok = false;
        }
    }

    if (!ok) {
        fail(ZarnMeterErrorOf(codeFamily, isRead ? kStepRead : kStepWrite));
        return;
    }
    // The operation went through: a failing close afterwards does not turn it into a failure.
    closeOpened();
    if (isRead) {
        std::lock_guard<std::mutex> lock(mutex_);
        switch (codeFamily) {
        case MeterFamilyT310: t310Block_ = links.t310Block; break;
        case MeterFamilyT140: t140Block_ = links.t140Block; break;
        case MeterFamilyT520: t520Block_ = links.t520Block; break;
        }
    }
    PostCommandDone(1, 0, reply);
}

void CKZARN_LMCtrl::RunUpdateCheck(const CZarnCommand& command)
{
    std::string baseUrl, versionUrl;
    ZarnProxySettings proxy;
    GetUpdateRequest(&baseUrl, &versionUrl, &proxy);

    std::vector<ZarnUpdateRecord> list;
    {
        HttpUtility http(proxy);
        http.SetCancelFlag(&cancelTransfer_);
        http.Connect(baseUrl);
        http.GetVersionList(versionUrl, list);
    }
    SetUpdateList(list, command.replyWnd);
    SetPollingEnabled(1);
}
