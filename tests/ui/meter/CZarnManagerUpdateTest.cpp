// The facade's update settings and update tests, on a worker that is never started: registry
// values in a scratch registry file, identity and update records handed in through the worker.
#include "core/util/CRegistryHelper.h"
#include "meter/CKZARN_LMCtrl.h"
#include "ui/meter/CZarnManager.h"
#include "platform/RegistryTypes.h"
#include "tests/ui/meter/ProgressDialogWatcher.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScratchFolder.h"
#include "tests/ui/meter/OfflineFacade.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kBase = "SOFTWARE\\KESTRIN\\Zarndesk";
constexpr const char* kDownload = "SOFTWARE\\KESTRIN\\Zarndesk\\Download Setting";
constexpr const char* kProxy = "SOFTWARE\\KESTRIN\\Zarndesk\\Download Setting\\Proxy";

struct UpdateRig : OfflineFacade {
    static void SetString(const std::string& key, const std::string& name, const std::string& value)
    {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
        registry.PushKey(key);
        ASSERT_TRUE(registry.SetString(name, value));
    }
    static void SetDword(const std::string& key, const std::string& name, DWORD value)
    {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
        registry.PushKey(key);
        ASSERT_TRUE(registry.SetDword(name, value));
    }
    static std::string GetString(const std::string& key, const std::string& name)
    {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 1);
        registry.PushKey(key);
        return registry.GetString(name, "<missing>");
    }
    static bool HasValue(const std::string& key, const std::string& name)
    {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 1);
        std::vector<std::string> names;
        registry.EnumValues(key, names);
        for (const std::string& n : names) {
            if (n == name) return true;
        }
        return false;
    }

    // The attached meter's identity and the records of an update check, as the worker holds them.
    void SetMeter(const std::string& model, const std::string& revision, const std::string& versionA = "",
                  const std::string& versionB = "")
    {
        facade->GetLMCtrl()->SetMeterInfo5(MeterFamilyT140, revision, versionA, versionB, "2024/03/15", model, 1, 1);
        facade->RefreshMeterInfo();
    }
    void SetRecords(const std::vector<std::pair<std::string, std::string>>& records)
    {
        std::vector<ZarnUpdateRecord> list;
        for (const auto& [key, version] : records) {
            ZarnUpdateRecord r;
            r.SetKey(key);
            r.SetVersion(version);
            r.SetDate("2024/05/0" + std::to_string(list.size() + 1));
            list.push_back(r);
        }
        facade->GetLMCtrl()->SetUpdateList(list, HWND());
        facade->UpdateVersionList();
    }
};

TEST(FacadeVersions, HexVersionTextsBecomeTheMetersDecimalForm)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"01.0A05", "01.1005"},
        {"02.0000", "02.0000"}, // both numbers 0: the tail stays
        {"01.000A", "01.010"},
        {"01.0a1F", "01.1031"},
        {"01.0A", "01.1000"},   // no minor digits: minor 0
        {"1", ""},              // nothing after the head
        {"01.0", ""},           // a tail of one character
        {"01.0G05", ""},
        {"01.0A0G", ""},
        {"03x1405", "03.2005"}, // the separator itself is skipped, whatever it is
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(CZarnManager::ConvertHexVersionText(in), out) << in;
    }
}

TEST(FacadeVersions, ApplicationUpdateComparesDottedPartsAsNumbers)
{
    struct Case {
        const char* installed;
        const char* latest;
        int available;
    };
    const Case cases[] = {
        {"5.0.1", "5.1", 1},
        {"5.9", "5.10", 1},
        {"5.10", "5.9", 0}, // an older version is no update
        {"5.1", "5.1", 0},
        {"5.1", "5.1.0", 0},
        {"5.1.0", "5.1.1", 1},
        {"5.02", "5.2", 0},
        {"", "5.1", 0},
        {"5.1", "", 0},
        {"abc", "1.0", 1},
    };
    UpdateRig rig;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.installed) + " -> " + c.latest);
        UpdateRig::SetString(kBase, "Version", c.installed);
        if (*c.latest != '\0') {
            rig.SetRecords({{"T-520D", "9"}, {"APL", c.latest}});
        } else {
            rig.SetRecords({{"T-520D", "9"}});
        }
        EXPECT_EQ(rig.facade->GetInstalledVersion(), c.installed);
        EXPECT_EQ(rig.facade->GetLatestAppVersion(), c.latest);
        EXPECT_EQ(rig.facade->IsAppUpdateAvailable(), c.available);
        EXPECT_EQ(UpdateRig::GetString(kBase, "New Zarn Version"), c.latest);
    }
}

TEST(FacadeVersions, FirmwareUpdateIsAnyDifferenceAndRadioVersionsCountForTheDrOnly)
{
    struct Case {
        const char* model;
        const char* revision;
        const char* versionA;
        const char* versionB;
        std::vector<std::pair<std::string, std::string>> records;
        int available;
    };
    const Case cases[] = {
        {"T-520D", "12", "", "", {{"T-520D", "12.0"}}, 0},
        {"T-520D", "12", "", "", {{"T-520D", "11"}}, 1}, // older on the server still counts
        {"T-520D", "12", "", "", {{"T-520D", "13"}}, 1},
        {"T-520D", "12", "", "", {{"T-140D", "13"}}, 0}, // no record for the model
        {"T-520D", "", "", "", {{"T-520D", "13"}}, 0},
        {"T-140DR", "15", "01.1005", "02.1806", {{"T-140DR", "15"}, {"T-140RFL", "01.0A05"}, {"T-140RFA", "02.1206"}}, 0},
        {"T-140DR", "15", "01.1005", "02.0218", {{"T-140DR", "15"}, {"T-140RFL", "01.0A06"}}, 1},
        {"T-140DR", "15", "01.1005", "02.1806", {{"T-140DR", "15"}, {"T-140RFA", "02.1207"}}, 1},
        {"T-140DR", "15", "01.1005", "02.0218", {{"T-140DR", "16"}, {"T-140RFL", "01.0A05"}}, 1},
        // A radio record that converts to nothing is skipped: the main firmware decides.
        {"T-140DR", "15", "01.1005", "", {{"T-140DR", "15"}, {"T-140RFL", "1"}}, 0},
        // The other radio models are compared on their main firmware alone.
        {"T-140DR-EL", "15", "01.1005", "", {{"T-140DR-EL", "15"}, {"T-140RFL", "01.0A06"}}, 0},
    };
    UpdateRig rig;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.revision);
        rig.SetMeter(c.model, c.revision, c.versionA, c.versionB);
        rig.SetRecords(c.records);
        EXPECT_EQ(rig.facade->IsFirmwareUpdateAvailable(), c.available);
    }
}

TEST(FacadeVersions, DecimalCommaLocaleStillReadsTheFractionOfAVersion)
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.utf8") == nullptr) GTEST_SKIP() << "no decimal-comma locale";
    EXPECT_TRUE(CZarnManager::VersionsDiffer("12.5", "12.4"));
    EXPECT_FALSE(CZarnManager::VersionsDiffer("12.50", "12.5"));
    EXPECT_EQ(CZarnManager::CompareVersions("5.10", "5.9"), 1);
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(FacadeVersions, TextsThatAreNotNumbersCountAsZeroAndEqualThemselves)
{
    // The conversion reads "nan" and "inf"; as versions they are no number, so not an update.
    for (const char* text : {"nan", "NAN", "inf", "-infinity", "x"}) {
        EXPECT_FALSE(CZarnManager::VersionsDiffer(text, text)) << text;
        EXPECT_FALSE(CZarnManager::VersionsDiffer(text, "0")) << text;
    }
    EXPECT_TRUE(CZarnManager::VersionsDiffer("nan", "17"));
}

TEST(FacadeSettings, FirstStartFillsTheDefaultsAndTheBuiltInListAddresses)
{
    UpdateRig rig;
    UpdateRig::SetString(kBase, "Other", "x");
    UpdateRig::SetString(kDownload, "Other", "x");
    UpdateRig::SetString(kProxy, "Other", "x");
    rig.facade->LoadSettings();

    EXPECT_EQ(rig.facade->GetInstalledVersion(), "");
    EXPECT_EQ(rig.facade->GetLastUpdateDate(), "");
    std::string base, versionUrl;
    ZarnProxySettings proxy;
    proxy.server = "stale";
    rig.facade->GetLMCtrl()->GetUpdateRequest(&base, &versionUrl, &proxy);
    EXPECT_EQ(base, "");
    EXPECT_EQ(versionUrl, "/");
    EXPECT_EQ(proxy.useProxy, 0);
    EXPECT_EQ(proxy.server, "");
    EXPECT_EQ(UpdateRig::GetString(kDownload, "Download List Url"), "ver_info/Zarndesk5/%s/file_list.txt");
    EXPECT_EQ(UpdateRig::GetString(kDownload, "Download List Firm Url"), "ver_info/Zarndesk3/%s/file_list.txt");
    EXPECT_TRUE(UpdateRig::HasValue(kProxy, "Use Proxy"));
    EXPECT_EQ(rig.facade->IsAppUpdateAvailable(), 0);
}

TEST(FacadeSettings, ListAddressesAreRestoredAndNothingIsCreatedWithoutTheirKey)
{
    UpdateRig rig;
    UpdateRig::SetString(kBase, "Version", "5.0");
    rig.facade->LoadSettings();
    EXPECT_EQ(rig.facade->GetInstalledVersion(), "5.0");
    EXPECT_FALSE(UpdateRig::HasValue(kDownload, "Download List Url")); // no such key: not created

    UpdateRig::SetString(kDownload, "Download List Url", "ver_info/Zarndesk5/%s/file_list.txt ");
    UpdateRig::SetString(kDownload, "Download List Firm Url", "VER_INFO/Zarndesk3/%s/file_list.txt");
    rig.facade->LoadSettings();
    EXPECT_EQ(UpdateRig::GetString(kDownload, "Download List Url"), "ver_info/Zarndesk5/%s/file_list.txt");
    EXPECT_EQ(UpdateRig::GetString(kDownload, "Download List Firm Url"), "ver_info/Zarndesk3/%s/file_list.txt");
}

TEST(FacadeSettings, ProxyTextsAreReadOnlyWhenTheProxyIsOn)
{
    UpdateRig rig;
    UpdateRig::SetString(kDownload, "Base Url", "http://updates.example");
    UpdateRig::SetString(kDownload, "Version Confirm Url", "ver/version.txt");
    UpdateRig::SetString(kProxy, "Server Name", "proxy.example");
    UpdateRig::SetString(kProxy, "User Name", "me");
    {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
        registry.PushKey(kProxy);
        ASSERT_TRUE(registry.SetScrambledString("Password", "secret"));
    }
    for (const DWORD use : {2u, 1u}) {
        SCOPED_TRACE(use);
        UpdateRig::SetDword(kProxy, "Use Proxy", use);
        rig.facade->LoadSettings();
        std::string base, versionUrl;
        ZarnProxySettings proxy;
        rig.facade->GetLMCtrl()->GetUpdateRequest(&base, &versionUrl, &proxy);
        EXPECT_EQ(base, "http://updates.example");
        EXPECT_EQ(versionUrl, "http://updates.example/ver/version.txt");
        EXPECT_EQ(proxy.useProxy, static_cast<int>(use));
        EXPECT_EQ(proxy.server, use == 1 ? "proxy.example" : "");
        EXPECT_EQ(proxy.port, use == 1 ? "80" : "");
        EXPECT_EQ(proxy.user, use == 1 ? "me" : "");
        EXPECT_EQ(proxy.password, use == 1 ? "secret" : "");
    }
}

TEST(FacadeSettings, NotificationFollowsItsSwitchesAndSkipsTheApplicationWhenAsked)
{
    UpdateRig rig;
    UpdateRig::SetString(kBase, "Version", "5.0");
    rig.SetMeter("T-520D", "12");
    rig.SetRecords({{"APL", "5.1"}, {"T-520D", "12"}});
    EXPECT_EQ(rig.facade->ShouldNotifyUpdate(1), 0);
    EXPECT_EQ(rig.facade->ShouldNotifyUpdate(0), 1);
    EXPECT_TRUE(UpdateRig::HasValue(kBase, "Notify Zarn Update")); // the default was stored

    UpdateRig::SetDword(kBase, "Notify Zarn Update", 0);
    EXPECT_EQ(rig.facade->ShouldNotifyUpdate(0), 0);

    rig.SetRecords({{"APL", "5.1"}, {"T-520D", "13"}});
    EXPECT_EQ(rig.facade->ShouldNotifyUpdate(1), 1);
    UpdateRig::SetDword(kBase, "Notify Firmware Update", 0);
    EXPECT_EQ(rig.facade->ShouldNotifyUpdate(1), 0);
}

TEST(FacadeSettings, IdentityIsCopiedFromTheWorkerAndTheModelStored)
{
    UpdateRig rig;
    UpdateRig::SetString(kBase, "Other", "x");
    rig.facade->GetLMCtrl()->SetMeterInfo5(MeterFamilyT140, "15", "01.1005", "02.0218", "2024/03/15", "T-140DR", 2, 1);
    EXPECT_EQ(rig.facade->GetPhotometerType(), ""); // copied only when asked
    EXPECT_EQ(rig.facade->GetMeterState(), 999);
    rig.facade->RefreshMeterInfo();
    EXPECT_EQ(rig.facade->GetPhotometerType(), "T-140DR");
    EXPECT_EQ(rig.facade->GetMeterRevision(), "15");
    EXPECT_EQ(rig.facade->GetVersionA(), "01.1005");
    EXPECT_EQ(rig.facade->GetVersionB(), "02.0218");
    EXPECT_EQ(rig.facade->GetMeterDate(), "2024/03/15");
    EXPECT_EQ(rig.facade->GetMeterState(), 2);
    EXPECT_EQ(UpdateRig::GetString(kBase, "Photometer Type"), "T-140DR");

    rig.facade->SetT140State(1);
    rig.facade->ResetMeterStates();
    EXPECT_EQ(rig.facade->GetT140State(), 0);
    EXPECT_EQ(rig.facade->GetLMCtrl()->GetModelName(), "");
    EXPECT_EQ(rig.facade->GetPhotometerType(), "T-140DR"); // until the next refresh
}

TEST(FacadeLifetime, NamesWithoutAMeterGiveMinusOneWithoutADialog)
{
    UpdateRig rig;
    ProgressDialogWatcher watcher;
    std::vector<std::string> names{"kept"};
    EXPECT_EQ(rig.facade->ReceiveProfileNames(&names), -1);
    EXPECT_TRUE(watcher.Runs().empty());
    EXPECT_EQ(names, std::vector<std::string>{"kept"});
}

TEST(FacadeLifetime, DestroyTwiceIsHarmlessAndGetInstanceMakesANewFacade)
{
    {
        UpdateRig rig;
        EXPECT_EQ(CZarnManager::GetInstance(), rig.facade);
        rig.facade->SuspendPolling();
        EXPECT_EQ(rig.facade->IsSuspended(), 1);
        rig.facade->ResumePolling();
        EXPECT_EQ(rig.facade->IsSuspended(), 0);
        QWidget form;
        rig.facade->SetActiveForm(&form);
        EXPECT_EQ(rig.facade->GetActiveForm(), &form);
        rig.facade->ClearActiveForm();
        EXPECT_EQ(rig.facade->GetActiveForm(), nullptr);
        CZarnManager::DestroyInstance();
        CZarnManager::DestroyInstance();
    }
    CZarnManager* fresh = CZarnManager::GetInstance();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->GetLMCtrl()->IsRunning(), 0);
    EXPECT_EQ(fresh->GetMeterState(), 999);
    CZarnManager::DestroyInstance();
}

} // namespace
