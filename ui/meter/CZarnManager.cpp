#include "ui/meter/CZarnManager.h"

#include "core/util/CRegistryHelper.h"
#include "meter/CKZARN_LMCtrl.h"
#include "meter/CKZARN_TransferData.h"
#include "meter/CZarnCommand.h"
#include "meter/MeterVersionText.h"
#include "ui/meter/CDURING_COMMUNICATION_DIALOG.h"
#include "ui/meter/CKZARN_ProgressDlg.h"
#include "platform/RegistryTypes.h"
#include "platform/qt/QtMessageSink.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kBaseKey = "SOFTWARE\\KESTRIN\\Zarndesk";
constexpr const char* kDownloadListUrl = "ver_info/Zarndesk5/%s/file_list.txt";
constexpr const char* kDownloadListFirmUrl = "ver_info/Zarndesk3/%s/file_list.txt";

CZarnManager* g_instance = nullptr;

} // namespace

CZarnManager* CZarnManager::GetInstance()
{
    if (g_instance == nullptr) {
        g_instance = new CZarnManager(std::make_unique<CKZARN_LMCtrl>(QtMessageSink::Instance()));
    }
    return g_instance;
}

CZarnManager* CZarnManager::CreateInstance(std::unique_ptr<CKZARN_LMCtrl> worker)
{
    if (g_instance == nullptr && worker != nullptr) g_instance = new CZarnManager(std::move(worker));
    return g_instance;
}

void CZarnManager::DestroyInstance()
{
    if (g_instance == nullptr) return;
    CZarnManager* facade = g_instance;
    facade->ctrl_->Stop();
    g_instance = nullptr;
    delete facade;
}

CZarnManager::CZarnManager(std::unique_ptr<CKZARN_LMCtrl> worker) : ctrl_(std::move(worker)) {}

CZarnManager::~CZarnManager() = default;

int CZarnManager::Initialize(QWidget* mainWindow)
{
    mainWindow_ = mainWindow;
    ctrl_->SetNotifyWindow(QtMessageSink::Instance().FindHandle(mainWindow));
    ctrl_->Start();
    t310State_ = ctrl_->IsT310Connected();
    t140State_ = ctrl_->IsT140Connected();
    t520State_ = ctrl_->IsT520Connected();
    LoadSettings();
    RunUpdateCheck();
    return 1;
}

void CZarnManager::ResetMeterStates()
{
    ctrl_->ClearMeterInfo();
    t310State_ = 0;
    t140State_ = 0;
    t520State_ = 0;
}

// The worker offers no reader of its suspended flag; only this facade suspends and resumes it, so
// the facade's own copy, set together with the worker's flag, always agrees with it.
void CZarnManager::SuspendPolling()
{
    ctrl_->Suspend();
    suspended_ = 1;
}

void CZarnManager::ResumePolling()
{
    ctrl_->Resume();
    suspended_ = 0;
}

int CZarnManager::IsSuspended() const
{
    return suspended_;
}

void CZarnManager::RefreshMeterInfo()
{
    revision_ = ctrl_->GetMeterRevision();
    versionA_ = ctrl_->GetVersionA();
    versionB_ = ctrl_->GetVersionB();
    date_ = ctrl_->GetMeterDate();
    photometerType_ = ctrl_->GetModelName();
    meterState_ = ctrl_->GetMeterState();
    CRegistryHelper registry(HKEY_LOCAL_MACHINE, 1);
    registry.PushKey(kBaseKey);
    registry.SetString("Photometer Type", photometerType_);
}

void CZarnManager::LoadSettings()
{
    CRegistryHelper registry(HKEY_LOCAL_MACHINE, 1);
    registry.PushKey(kBaseKey);
    installedVersion_ = registry.GetString("Version", "");
    lastUpdateDate_ = registry.GetString("Last Update Date", "");

    registry.PushKey("Download Setting");
    const std::string baseUrl = registry.GetString("Base Url", "");
    // The downloader reads these two; they are kept at the built-in texts.
    if (registry.GetString("Download List Url", "") != kDownloadListUrl) {
        registry.SetString("Download List Url", kDownloadListUrl);
    }
    if (registry.GetString("Download List Firm Url", "") != kDownloadListFirmUrl) {
        registry.SetString("Download List Firm Url", kDownloadListFirmUrl);
    }
    const std::string versionUrl = baseUrl + "/" + registry.GetString("Version Confirm Url", "");

    registry.PushKey("Proxy");
    ZarnProxySettings proxy;
    proxy.useProxy = registry.GetDword("Use Proxy", 0);
    if (proxy.useProxy == 1) {
        proxy.server = registry.GetString("Server Name", "");
        proxy.port = registry.GetString("Port Number", "80");
        proxy.user = registry.GetString("User Name", "");
        proxy.password = registry.GetScrambledString("Password", "");
    }
    ctrl_->SetUpdateRequest(baseUrl, versionUrl, proxy);
}

void CZarnManager::RunUpdateCheck()
{
    updateList_.clear();
    CDURING_COMMUNICATION_DIALOG dialog(mainWindow_);
    dialog.SetCommCtrl(ctrl_.get());
    dialog.DoModal();
}

void CZarnManager::UpdateVersionList()
{
    updateList_ = ctrl_->GetUpdateList();
    const std::string appVersion = GetRecordVersion("APL");
    CRegistryHelper registry(HKEY_LOCAL_MACHINE, 1);
    registry.PushKey(kBaseKey);
    installedVersion_ = registry.GetString("Version", "");
    lastUpdateDate_ = registry.GetString("Last Update Date", "");
    registry.SetString("New Zarn Version", appVersion);
}

std::string CZarnManager::GetRecordVersion(const std::string& key) const
{
    for (const ZarnUpdateRecord& record : updateList_) {
        if (record.key == key) return record.version;
    }
    return {};
}

std::string CZarnManager::GetRecordDate(const std::string& key) const
{
    for (const ZarnUpdateRecord& record : updateList_) {
        if (record.key == key) return record.date;
    }
    return {};
}



int CZarnManager::CompareVersions(const std::string& a, const std::string& b)
{
    return MeterVersionText::CompareVersions(a, b);
}

bool CZarnManager::VersionsDiffer(const std::string& a, const std::string& b)
{
    return MeterVersionText::VersionsDiffer(a, b);
}

std::string CZarnManager::ConvertHexVersionText(const std::string& text)
{
    return MeterVersionText::ConvertHexVersionText(text);
}

int CZarnManager::IsAppUpdateAvailable() const
{
    const std::string latest = GetRecordVersion("APL");
    if (installedVersion_.empty() || latest.empty()) return 0;
    return CompareVersions(latest, installedVersion_) > 0 ? 1 : 0;
}


int CZarnManager::IsFirmwareUpdateAvailable() const
{
    const std::string latest = GetRecordVersion(photometerType_);
    const std::string rfl = ConvertHexVersionText(GetRecordVersion("T-140RFL"));
    const std::string rfa = ConvertHexVersionText(GetRecordVersion("T-140RFA"));
    if (revision_.empty() || latest.empty()) return 0;
    // A difference counts, not only a newer version: the server's firmware is the one to have.
    if (photometerType_ == "T-140DR") {
        if (!rfl.empty() && VersionsDiffer(versionA_, rfl)) return 1;
        if (!rfa.empty() && VersionsDiffer(versionB_, rfa)) return 1;
    }
    return VersionsDiffer(revision_, latest) ? 1 : 0;
}

int CZarnManager::ShouldNotifyUpdate(int skipApp) const
{
    CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
    registry.PushKey(kBaseKey);
    const int notifyFirmware = registry.GetDword("Notify Firmware Update", 1);
    const int notifyApp = registry.GetDword("Notify Zarn Update", 1);
    if (notifyFirmware == 1 && IsFirmwareUpdateAvailable() == 1) return 1;
    if (skipApp == 0 && notifyApp == 1 && IsAppUpdateAvailable() == 1) return 1;
    return 0;
}

int CZarnManager::RunCommand(int code, int value, bool factoryReset)
{
    CKZARN_ProgressDlg dialog;
    dialog.SetCommCtrl(ctrl_.get());
    dialog.SetCommand(code, value);
    dialog.SetFactoryReset(factoryReset);
    dialog.DoModal();
    return dialog.HasError();
}

int CZarnManager::RunResetT140()
{
    return RunCommand(ZARN_CMD_T140_RESET, 0, true);
}

int CZarnManager::RunResetT520()
{
    return RunCommand(ZARN_CMD_T520_RESET, 0, true);
}

int CZarnManager::RunResetT310(CKZARN_TransferData& table)
{
    return RunCommand(ZARN_CMD_T310_WRITE_PROFILES, StoreNamedT310(table, "T310_DEFAULT"), true);
}

// The named sends write the header text as well: a name set adds the header's bit to the slots.
int CZarnManager::NamedMask(int model, const std::string& name, int headerBit)
{
    const int slotMask = model == 310 ? kT310AllSlots : kHidAllSlots;
    return name.empty() ? slotMask : (slotMask | headerBit);
}

int CZarnManager::StoreNamedT310(CKZARN_TransferData& table, const std::string& name)
{
    auto block = std::make_unique<T310TransferBlock>();
    table.SetHeaderText(name);
    table.WriteT310Image(block.get());
    ctrl_->SetT310Block(block.get());
    return NamedMask(310, name, kT310HeaderBit);
}

int CZarnManager::SendNamedProfilesT310(CKZARN_TransferData& table, const std::string& name)
{
    return RunCommand(ZARN_CMD_T310_WRITE_PROFILES, StoreNamedT310(table, name));
}

int CZarnManager::SendProfilesT310(CKZARN_TransferData& table, int mask)
{
    auto block = std::make_unique<T310TransferBlock>();
    table.WriteT310Image(block.get());
    ctrl_->SetT310Block(block.get());
    return RunCommand(ZARN_CMD_T310_WRITE_PROFILES, mask);
}

int CZarnManager::SendNamedProfilesT140(CKZARN_TransferData& table, const std::string& name, int model)
{
    auto block = std::make_unique<T140TransferBlock>();
    table.SetFamily(MeterFamilyT140);
    table.SetHeaderText(name);
    table.WriteT140Image(block.get());
    ctrl_->SetT140Block(block.get());
    return RunCommand(ZARN_CMD_T140_WRITE_PROFILES, NamedMask(model, name, kHidHeaderBit));
}

int CZarnManager::SendProfilesT140(CKZARN_TransferData& table, int mask)
{
    auto block = std::make_unique<T140TransferBlock>();
    table.SetFamily(MeterFamilyT140);
    table.WriteT140Image(block.get());
    ctrl_->SetT140Block(block.get());
    return RunCommand(ZARN_CMD_T140_WRITE_PROFILES, mask);
}

int CZarnManager::SendNamedProfilesT520(CKZARN_TransferData& table, const std::string& name, int model)
{
    auto block = std::make_unique<T520TransferBlock>();
    table.SetFamily(MeterFamilyT520);
    table.SetHeaderText(name);
    table.WriteT520Image(block.get());
    ctrl_->SetT520Block(block.get());
    return RunCommand(ZARN_CMD_T520_WRITE_PROFILES, NamedMask(model, name, kHidHeaderBit));
}

int CZarnManager::SendProfilesT520(CKZARN_TransferData& table, int mask)
{
    auto block = std::make_unique<T520TransferBlock>();
    table.SetFamily(MeterFamilyT520);
    table.WriteT520Image(block.get());
    ctrl_->SetT520Block(block.get());
    return RunCommand(ZARN_CMD_T520_WRITE_PROFILES, mask);
}

int CZarnManager::ReceiveProfileNames(std::vector<std::string>* names)
{
    int code = 0;
    if (t310State_ != 0) {
        code = ZARN_CMD_T310_READ_INFO;
    } else if (t140State_ != 0) {
        code = ZARN_CMD_T140_READ_INFO;
    } else if (t520State_ != 0) {
        code = ZARN_CMD_T520_READ_INFO;
    } else {
        return -1;
    }
    const int result = RunCommand(code, 0);
    if (result != 0) return result;

    CKZARN_TransferData table;
    if (code == ZARN_CMD_T310_READ_INFO) {
        auto block = std::make_unique<T310TransferBlock>();
        ctrl_->GetT310Block(block.get());
        table.ReadT310Image(block.get());
    } else if (code == ZARN_CMD_T140_READ_INFO) {
        auto block = std::make_unique<T140TransferBlock>();
        ctrl_->GetT140Block(block.get());
        table.ReadT140Image(block.get());
    } else {
        auto block = std::make_unique<T520TransferBlock>();
        ctrl_->GetT520Block(block.get());
        table.ReadT520Image(block.get());
    }
    if (names != nullptr) {
        names->clear();
        const int count = CKZARN_TransferData::GetProfileCount(table.GetFamily());
        for (int i = 0; i < count; ++i) names->push_back(table.GetProfileName(i));
    }
    return 0;
}
