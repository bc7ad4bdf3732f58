// The one object through which the windows of the main program reach the meter. It owns the meter
// worker and offers the windows, all on the user-interface thread: the cached connection state of
// each meter family and the identity texts of the attached meter; the update settings read from
// the registry, the records of the last update check and the update tests; modal runs of meter
// commands under the progress dialog and of the update check under the communication dialog; and
// suspension of the worker's polling. It has no window, no thread and no lock of its own.
#pragma once

#include "core/util/ZarnUpdateRecord.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class CKZARN_LMCtrl;
class CKZARN_TransferData;

class CZarnManager {
public:
    // The process-wide facade; created with a new, unstarted worker on the real meters when absent.
    static CZarnManager* GetInstance();
    // Creates the process-wide facade around the given worker when none exists (test rigs hand in
    // a worker on simulated meters); returns the facade that exists afterwards.
    static CZarnManager* CreateInstance(std::unique_ptr<CKZARN_LMCtrl> worker);
    // Stops the worker (waiting for it) and deletes the facade; nothing when there is none.
    static void DestroyInstance();

    virtual ~CZarnManager();
    CZarnManager(const CZarnManager&) = delete;
    CZarnManager& operator=(const CZarnManager&) = delete;

    // Makes the main window (registered for window messages) the worker's notify window, starts
    // the worker, copies the connection states, loads the update settings and runs the first
    // update check under the communication dialog. Returns 1.
    int Initialize(QWidget* mainWindow);
    CKZARN_LMCtrl* GetLMCtrl() { return ctrl_.get(); }

    // Connection state per family (0 or 1), as the main window last heard of it.
    int GetT310State() const { return t310State_; }
    int GetT140State() const { return t140State_; }
    int GetT520State() const { return t520State_; }
    void SetT310State(int state) { t310State_ = state; }
    void SetT140State(int state) { t140State_ = state; }
    void SetT520State(int state) { t520State_ = state; }
    // Clears the worker's identity texts and the three cached states (not the worker's own).
    void ResetMeterStates();
    void SuspendPolling();
    void ResumePolling();
    int IsSuspended() const;

    // Copies the identity of the attached meter from the worker and stores the model name as
    // "Photometer Type".
    void RefreshMeterInfo();
    std::string GetMeterRevision() const { return revision_; }
    std::string GetVersionA() const { return versionA_; }
    std::string GetVersionB() const { return versionB_; }
    std::string GetMeterDate() const { return date_; }
    std::string GetPhotometerType() const { return photometerType_; }
    int GetMeterState() const { return meterState_; }

    // Update settings, update list and look-ups.
    void LoadSettings();
    // Empties the update list and runs the communication dialog.
    void RunUpdateCheck();
    // Takes the worker's update list and stores the application record's version as
    // "New Zarn Version".
    void UpdateVersionList();
    std::string GetInstalledVersion() const { return installedVersion_; }
    std::string GetLastUpdateDate() const { return lastUpdateDate_; }
    std::string GetLatestAppVersion() const { return GetRecordVersion("APL"); }
    std::string GetLatestT140RFAVersion() const { return GetRecordVersion("T-140RFA"); }
    std::string GetLatestT140RFLVersion() const { return GetRecordVersion("T-140RFL"); }
    std::string GetRecordVersion(const std::string& key) const;
    std::string GetRecordDate(const std::string& key) const;
    const std::vector<ZarnUpdateRecord>& GetUpdateList() const { return updateList_; }

    // Update tests, 0 or 1.
    int IsAppUpdateAvailable() const;
    int IsFirmwareUpdateAvailable() const;
    int ShouldNotifyUpdate(int skipApp) const;
    // "MM.hhhh" of the update list (hexadecimal tail) to the decimal form the meter reports.
    static std::string ConvertHexVersionText(const std::string& text);
    // Compares two version texts part by part (parts separated by "."), each part as a whole
    // number: <0, 0 or >0. A missing part counts as 0, a part that is not a number as 0.
    static int CompareVersions(const std::string& a, const std::string& b);
    // TRUE when the two texts differ as decimal numbers (a decimal comma of the locale allowed).
    static bool VersionsDiffer(const std::string& a, const std::string& b);

    // Modal meter-command runs: 0 on success, else a meter result code or a system error code.
    int RunResetT140();
    int RunResetT520();
    // The T-310's reset: the factory profiles of the table written under the header "T310_DEFAULT".
    int RunResetT310(CKZARN_TransferData& table);
    int SendNamedProfilesT310(CKZARN_TransferData& table, const std::string& name);
    int SendProfilesT310(CKZARN_TransferData& table, int mask);
    // model: the model number of the family whose profiles the table holds (310 limits the write
    // to the first three slots).
    int SendNamedProfilesT140(CKZARN_TransferData& table, const std::string& name, int model);
    int SendProfilesT140(CKZARN_TransferData& table, int mask);
    int SendNamedProfilesT520(CKZARN_TransferData& table, const std::string& name, int model);
    int SendProfilesT520(CKZARN_TransferData& table, int mask);
    // Reads identity and profile names of the attached family into names (emptied first on
    // success); -1 without an attached family.
    int ReceiveProfileNames(std::vector<std::string>* names);
    // Runs one command under the progress dialog and returns its result. A factory reset ends with
    // the reset's own completion texts.
    int RunCommand(int code, int value, bool factoryReset = false);

    // The modal dialog the main window has open from its menu.
    void SetActiveForm(QWidget* form) { activeForm_ = form; }
    QWidget* GetActiveForm() const { return activeForm_.data(); }
    void ClearActiveForm() { activeForm_ = nullptr; }

    // Slot masks of the named sends and the header bit a name adds.
    static constexpr int kT310AllSlots = 7;
    static constexpr int kHidAllSlots = 1023;
    static constexpr int kT310HeaderBit = 0x8;
    static constexpr int kHidHeaderBit = 0x400;

private:
    explicit CZarnManager(std::unique_ptr<CKZARN_LMCtrl> worker);
    static int NamedMask(int model, const std::string& name, int headerBit);
    // Stores the table with its header text into the worker's T-310 block; the slot mask to write.
    int StoreNamedT310(CKZARN_TransferData& table, const std::string& name);

    int t310State_ = 0;
    int t140State_ = 0;
    int t520State_ = 0;
    std::string revision_;
    std::string versionA_;
    std::string versionB_;
    std::string date_;
    std::string installedVersion_;
    std::string lastUpdateDate_;
    std::string photometerType_;
    int meterState_ = 999;
    std::vector<ZarnUpdateRecord> updateList_;
    std::unique_ptr<CKZARN_LMCtrl> ctrl_;
    QPointer<QWidget> activeForm_;
    int suspended_ = 0;
    QWidget* mainWindow_ = nullptr;
};
