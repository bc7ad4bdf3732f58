// Owner of the one meter worker thread. Every exchange with a meter runs on that thread: between
// commands it polls which meter families are attached, it runs queued CZarnCommand records strictly
// in the order posted on the link of the attached family, and it runs the update check. It never
// calls into a window; it reports only by posting messages through the MessageSink.
//
// Between the threads it holds the three transfer blocks, the connection state of each family, the
// identity texts and the update-check request and result, all under one mutex that is held only for
// one copy at a time, never during meter or network I/O, a sleep or a post.
//
// Every posted meter command (codes 2 to 29 and any unknown code) gets exactly one
// WM_ZARN_COMMAND_DONE, also when the worker does not run it (suspended, several meters attached,
// a reset for a family that is not attached, an unknown code), so that a dialog waiting for the
// reply always ends. The update check (50) likewise always gets its WM_ZARN_UPDATE_CHECK_DONE.
// Commands still queued when Stop is called are never run and get no reply.
#pragma once

#include "core/util/ZarnProxySettings.h"
#include "core/util/ZarnUpdateRecord.h"
#include "meter/CThreadMsgQueue.h"
#include "meter/CZarnCommand.h"
#include "meter/CommandSemaphore.h"
#include "meter/MeterFamily.h"
#include "meter/MeterLinkFactory.h"
#include "meter/T140TransferBlock.h"
#include "meter/T310TransferBlock.h"
#include "meter/T520TransferBlock.h"
#include "platform/Clock.h"
#include "platform/MessageSink.h"
#include "platform/WinTypes.h"
#include "platform/WindowHandle.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CKZARN_LMCtrl {
public:
    // Worker timing, kept as the meters need it.
    static constexpr std::uint32_t kQueueWaitMs = 1000;     // longest wait for a command
    static constexpr std::uint32_t kOpenRetryMs = 1000;     // between open attempts
    static constexpr int kOpenAttempts = 11;
    static constexpr std::uint32_t kMultipleMetersMs = 1000; // per round while several are attached
    static constexpr std::uint32_t kT520SettleMs = 3000;    // after a T-520D is plugged in

    // sink carries every message of the worker and of the links' progress. links: null for the
    // real devices. clock: null for the system clock (sleeps of the worker). semaphore: null for
    // the real wake-up signal of the queue.
    explicit CKZARN_LMCtrl(MessageSink& sink, std::unique_ptr<MeterLinkFactory> links = nullptr,
                           Clock* clock = nullptr, std::unique_ptr<CommandSemaphore> semaphore = nullptr);
    // Stops the worker if it still runs (waiting for it), then frees the queue with what is left in it.
    virtual ~CKZARN_LMCtrl();
    CKZARN_LMCtrl(const CKZARN_LMCtrl&) = delete;
    CKZARN_LMCtrl& operator=(const CKZARN_LMCtrl&) = delete;

    // Starts the worker thread (once; a second call while it runs does nothing).
    void Start();
    // Clears the run flag, ends a running update check's transfer, wakes the worker and waits for
    // its thread to end. A command that is running ends first (and replies); commands queued behind
    // it are dropped without reply.
    void Stop();
    // Ends the transfer of the update check that runs or is queued (it then replies with an empty
    // list); the next posted check runs normally.
    void CancelUpdateCheck();
    void Suspend();
    void Resume();

    // Queues a command; never blocks on the worker.
    void PostCommand(int type, int value, HWND replyWnd);
    void SetNotifyWindow(HWND window);

    void SetUpdateRequest(const std::string& baseUrl, const std::string& versionUrl, const ZarnProxySettings& proxy);
    void GetUpdateRequest(std::string* baseUrl, std::string* versionUrl, ZarnProxySettings* proxy);
    std::vector<ZarnUpdateRecord> GetUpdateList();
    // Stores the list, then posts as the update check does at its end.
    void SetUpdateList(const std::vector<ZarnUpdateRecord>& list, HWND replyWnd);

    void GetT310Block(T310TransferBlock* block);
    void GetT140Block(T140TransferBlock* block);
    void GetT520Block(T520TransferBlock* block);
    void SetT310Block(const T310TransferBlock* block);
    void SetT140Block(const T140TransferBlock* block);
    void SetT520Block(const T520TransferBlock* block);

    int IsT310Connected();
    int IsT140Connected();
    int IsT520Connected();
    int IsRunning();
    int IsPollingEnabled();
    void SetPollingEnabled(int enabled);
    void SetAlive(int alive);
    int GetMeterState();
    std::string GetMeterRevision();
    std::string GetMeterDate();
    std::string GetModelName();
    std::string GetVersionA();
    std::string GetVersionB();

    // The five identity texts are emptied; the meter state stays.
    void ClearMeterInfo();
    // state 0 also empties the identity texts; notify 1 posts the family's connection message.
    void SetConnectionState(MeterFamily family, int state, int notify);
    // Stores revision, date, model and meter state (the version texts stay), then posts the
    // family's identity message with wParam.
    void SetMeterInfo3(MeterFamily family, const std::string& revision, const std::string& date,
                       const std::string& model, int meterState, WPARAM wParam);
    void SetMeterInfo5(MeterFamily family, const std::string& revision, const std::string& versionA,
                       const std::string& versionB, const std::string& date, const std::string& model,
                       int meterState, WPARAM wParam);
    void PostMultipleMetersNotice();
    // Posts WM_ZARN_COMMAND_DONE (0, result) when post is 1 and the reply window still exists.
    void PostCommandDone(int post, LPARAM result, HWND replyWnd);

    // The worker's body; returns 0 when it has ended.
    static unsigned ThreadProc(CKZARN_LMCtrl* self);

private:
    struct Links;

    void Run();
    // TRUE when more than one meter is attached (the worker has then slept its round).
    bool PollPresence(Links& links);
    void RunMeterCommand(Links& links, const CZarnCommand& command);
    void RunUpdateCheck(const CZarnCommand& command);
    // Answers a command that is not run, so that its poster always gets one reply.
    void AnswerUnrun(const CZarnCommand& command);
    void PostNotify(UINT message, WPARAM wParam, LPARAM lParam);
    void PostReply(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    int* StateOf(MeterFamily family);

    std::mutex mutex_;
    std::thread thread_;
    int run_ = 0;
    int alive_ = 0;
    int t310State_ = 0;
    int t140State_ = 0;
    int t520State_ = 0;
    int multipleMeters_ = 0; // worker only
    T310TransferBlock t310Block_{};
    T140TransferBlock t140Block_{};
    T520TransferBlock t520Block_{};
    HWND notifyWnd_;
    int suspended_ = 0;
    int pollingEnabled_ = 0;
    std::string revision_;
    std::string versionA_;
    std::string versionB_;
    std::string date_;
    std::string model_;
    int meterState_ = 999;
    std::string baseUrl_;
    std::string versionUrl_;
    ZarnProxySettings proxy_;
    std::vector<ZarnUpdateRecord> updateList_;

    MessageSink& sink_;
    std::unique_ptr<MeterLinkFactory> linkFactory_;
    Clock& clock_;
    std::unique_ptr<CThreadMsgQueue<CZarnCommand>> queue_;
    std::mutex startStopMutex_; // Start and Stop from several threads at once
    std::atomic<bool> cancelTransfer_{false}; // read by the update check's transfer
};
