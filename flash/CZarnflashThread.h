// The downloader's job runner: one job at a time on a worker thread of its own (a download from the
// update server, the transfer of one firmware script, or leaving the update mode). The worker never
// touches a window: it posts thread messages to the target given by the starter. Every operation is
// called on the user-interface thread; the mutex guards the members the worker reads and writes and
// is never held during I/O.
#pragma once

#include "core/util/ZarnProxySettings.h"
#include "flash/CZarnflashPlayer.h"
#include "flash/FlashImageCheck.h"
#include "flash/FlashMessageTarget.h"
#include "meter/MeterLinkFactory.h"
#include "platform/Clock.h"
#include "platform/WinTypes.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CZarnflashThread {
public:
    CZarnflashThread();
    virtual ~CZarnflashThread();
    CZarnflashThread(const CZarnflashThread&) = delete;
    CZarnflashThread& operator=(const CZarnflashThread&) = delete;

    // Where jobs find meters and time; null keeps the system's own.
    void SetEnvironment(MeterLinkFactory* links, Clock* clock);
    // The HID device path of the meter read by the dialog; a transfer opens only that meter.
    void SetDevicePath(const std::string& path);
    // The model of the meter read by the dialog: every image a job writes must be made for it.
    // Empty: the job's link family decides.
    void SetMeterModel(const std::string& model);
    // TRUE when the images are the user's choice: each then needs its version companion.
    void SetRequireVersionFiles(bool require);
    // Why the last transfer job refused its image before the link opened (kind None otherwise).
    FlashImageProblem LastRefusal() const;
    // Bounds every HTTP request of later download jobs.
    void SetHttpTimeouts(long connectMs, long transferMs);

    BOOL SetSettings(const std::string& programFolder, const std::string& baseUrl, const std::string& versionListUrl,
                     const std::string& firmwareListUrl, const std::string& downloadFolder,
                     const ZarnProxySettings& proxy);
    BOOL StartDownload(const std::string& type, const std::string& version, FlashMessageTarget* gui, int jobId);
    BOOL StartMainT140(const std::string& model, const std::string& version, FlashMessageTarget* gui);
    BOOL StartMainT310(const std::string& model, const std::string& version, FlashMessageTarget* gui);
    BOOL StartMainT520(const std::string& model, const std::string& version, FlashMessageTarget* gui);
    BOOL StartMainT140File(FlashMessageTarget* gui, const std::string& folder, const std::string& name,
                           const std::string& port);
    BOOL StartMainT310File(FlashMessageTarget* gui, const std::string& folder, const std::string& name,
                           const std::string& port);
    BOOL StartMainT520File(FlashMessageTarget* gui, const std::string& folder, const std::string& name,
                           const std::string& port);
    BOOL StartRadioLoaderUpdaterT140File(FlashMessageTarget* gui, const std::string& folder,
                                         const std::string& name, const std::string& port);
    BOOL StartRadioLoaderUpdaterT520File(FlashMessageTarget* gui, const std::string& folder,
                                         const std::string& name, const std::string& port);
    BOOL StartRadioLoaderT140File(FlashMessageTarget* gui, const std::string& folder, const std::string& name,
                                  const std::string& port);
    BOOL StartRadioLoaderT520File(FlashMessageTarget* gui, const std::string& folder, const std::string& name,
                                  const std::string& port);
    BOOL StartRadioAppT140File(FlashMessageTarget* gui, const std::string& folder, const std::string& name,
                               const std::string& port);
    BOOL StartRadioAppT520File(FlashMessageTarget* gui, const std::string& folder, const std::string& name,
                               const std::string& port);
    BOOL StartExitUpdateModeT140(FlashMessageTarget* gui);
    BOOL StartExitUpdateModeT520(FlashMessageTarget* gui);

    void Cancel();
    // Joins the worker; TRUE after a join, 0 when no thread is held.
    int Wait();
    BOOL IsRunning() const;
    void GetDownloadedDlfPath(std::string& path) const;

    // The worker procedures (each posts its result last and returns 0).
    static int DownloadProc(CZarnflashThread* self);
    static int MainFirmwareT140Proc(CZarnflashThread* self);
    static int MainFirmwareT310Proc(CZarnflashThread* self);
    static int MainFirmwareT520Proc(CZarnflashThread* self);
    static int RadioLoaderUpdaterT140Proc(CZarnflashThread* self);
    static int RadioLoaderUpdaterT520Proc(CZarnflashThread* self);
    static int RadioLoaderT140Proc(CZarnflashThread* self);
    static int RadioLoaderT520Proc(CZarnflashThread* self);
    static int RadioAppT140Proc(CZarnflashThread* self);
    static int RadioAppT520Proc(CZarnflashThread* self);
    static int ExitUpdateModeT140Proc(CZarnflashThread* self);
    static int ExitUpdateModeT520Proc(CZarnflashThread* self);

protected:
    // Starts the worker; false when no thread could be made. Tests replace it.
    virtual bool LaunchThread(std::function<void()> body);

private:
    enum class Family { T140, T520, T310 };
    using Proc = int (*)(CZarnflashThread*);
    BOOL Launch(Proc proc);
    BOOL StartFile(Proc proc, FlashMessageTarget* gui, const std::string& folder, const std::string& name,
                   const std::string& port);
    BOOL StartDownloaded(Proc proc, const std::string& model, const std::string& version, FlashMessageTarget* gui,
                         bool clearPort);
    static int PlayJob(CZarnflashThread* self, Family family, const FlashPlayerForm& form);
    static int ExitUpdateMode(CZarnflashThread* self, Family family);
    std::unique_ptr<class CZarnflashLink> MakeLink(Family family);

    mutable std::mutex mutex_;
    std::string typeText_;
    std::string versionText_;
    // Set by Cancel; also ends a download job's transfer at once.
    std::atomic<bool> abort_{false};
    std::string programFolder_;
    std::string baseUrl_;
    std::string versionListUrl_;
    std::string firmwareListUrl_;
    std::string jobFolder_;
    std::string port_;
    ZarnProxySettings proxy_;
    int jobId_ = 0;
    std::thread thread_;
    bool held_ = false;
    FlashMessageTarget* gui_ = nullptr;
    std::vector<std::string> fileList_;
    std::string devicePath_;
    std::string meterModel_;
    bool requireVersionFiles_ = false;
    FlashImageProblem refusal_;
    MeterLinkFactory* links_ = nullptr;
    Clock* clock_ = nullptr;
    std::unique_ptr<MeterLinkFactory> ownLinks_;
    long connectTimeoutMs_ = 15000;
    long transferTimeoutMs_ = 120000;
};

// Finds the first name of list whose extension is "dlf" (any case) and joins it to folder: 1 and
// path set when found, 0 and path untouched otherwise.
int FindDlfFile(std::string& path, const std::vector<std::string>& list, const std::string& folder);
