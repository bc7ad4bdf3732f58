// The download-settings command: its dialog, the proxy dialog under it, and the registry values
// the main window reads and writes around them.
#include "core/util/CRegistryHelper.h"
#include "meter/CKZARN_LMCtrl.h"
#include "platform/PromptService.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScratchFolder.h"
#include "tests/ui/meter/OfflineFacade.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/main/CKZARN_MainDlg.h"
#include "ui/main/CKZARN_SetDownloadConfigDlg.h"
#include "ui/main/CKZARN_SetProxyConfigDlg.h"
#include "ui/meter/CZarnManager.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr const char* kBaseKey = "SOFTWARE\\KESTRIN\\Zarndesk";
constexpr const char* kProxyKey = "SOFTWARE\\KESTRIN\\Zarndesk\\Download Setting\\Proxy";

using RegistryRig = OfflineFacade;

template <typename T>
T* Control(QWidget* dialog, int id)
{
    return static_cast<T*>(dynamic_cast<ControlHost*>(dialog)->FindControl(id));
}

class ScriptedDownloadDlg final : public CKZARN_SetDownloadConfigDlg {
public:
    using CKZARN_SetDownloadConfigDlg::CKZARN_SetDownloadConfigDlg;
    std::function<int(ZarnProxySettings*)> proxyRun;

protected:
    int RunProxyDialog(ZarnProxySettings* settings) override { return proxyRun(settings); }
};

class DownloadSettingsMainDlg final : public CKZARN_MainDlg {
public:
    std::function<int(CKZARN_SetDownloadConfigDlg&)> run;
    using CKZARN_MainDlg::OnDownloadSettings;

protected:
    int RunDownloadSettings(CKZARN_SetDownloadConfigDlg& dialog) override { return run(dialog); }
};

} // namespace

TEST(ProxyDialog, OkIsEnabledUnlessProxyUseLacksAnAddressOrAPort)
{
    struct Case {
        int use;
        const char* server;
        const char* port;
        bool ok;
    };
    const Case cases[] = {
        {0, "", "", true},          {1, "", "", false},          {1, "proxy", "", false},
        {1, "", "8080", false},     {1, "proxy", "8080", true},  {0, "proxy", "8080", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.server) + ":" + c.port + " use " + std::to_string(c.use));
        ZarnProxySettings settings;
        settings.useProxy = c.use;
        settings.server = c.server;
        settings.port = c.port;
        settings.password = "secret";
        CKZARN_SetProxyConfigDlg dialog(&settings);
        dialog.OnInitDialog();
        EXPECT_EQ(Control<QPushButton>(&dialog, CKZARN_SetProxyConfigDlg::kOkId)->isEnabled(), c.ok);
        for (const int id : {CKZARN_SetProxyConfigDlg::kServerId, CKZARN_SetProxyConfigDlg::kPortId,
                             CKZARN_SetProxyConfigDlg::kUserId, CKZARN_SetProxyConfigDlg::kPasswordId}) {
            EXPECT_EQ(Control<QWidget>(&dialog, id)->isEnabled(), c.use == 1) << id;
        }
    }
}

TEST(ProxyDialog, TickingTypingAndTheRecordOnOkAndCancel)
{
    ZarnProxySettings settings;
    settings.port = "80";
    settings.password = "pw";
    CKZARN_SetProxyConfigDlg dialog(&settings);
    dialog.OnInitDialog();
    auto* use = Control<QCheckBox>(&dialog, CKZARN_SetProxyConfigDlg::kUseProxyId);
    auto* ok = Control<QPushButton>(&dialog, CKZARN_SetProxyConfigDlg::kOkId);
    auto* server = Control<QLineEdit>(&dialog, CKZARN_SetProxyConfigDlg::kServerId);
    auto* port = Control<CCustomEdit>(&dialog, CKZARN_SetProxyConfigDlg::kPortId);
    auto* password = Control<QLineEdit>(&dialog, CKZARN_SetProxyConfigDlg::kPasswordId);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(password->displayText(), QStringLiteral("**")) << "every character an asterisk";
    EXPECT_EQ(port->inputMode, 11);
    EXPECT_EQ(port->maxLength(), 5);

    QTest::mouseClick(use, Qt::LeftButton);
    EXPECT_TRUE(server->isEnabled());
    EXPECT_FALSE(ok->isEnabled()) << "ticked without an address";
    QTest::keyClicks(server, QStringLiteral("proxy.local"));
    EXPECT_TRUE(ok->isEnabled());
    port->selectAll();
    QTest::keyClicks(port, QStringLiteral("31x28123"));
    EXPECT_EQ(port->text(), QStringLiteral("31281")) << "digits only, at most five";
    port->clear();
    EXPECT_FALSE(ok->isEnabled()) << "the port's changes reach the OK rule";
    QTest::keyClicks(port, QStringLiteral("3128"));

    dialog.reject();
    EXPECT_EQ(settings.useProxy, 0) << "Cancel leaves the record";
    EXPECT_EQ(settings.server, "");
    EXPECT_EQ(dialog.result(), IDCANCEL);

    dialog.OnOK();
    EXPECT_EQ(dialog.result(), IDOK);
    EXPECT_EQ(settings.useProxy, 1);
    EXPECT_EQ(settings.server, "proxy.local");
    EXPECT_EQ(settings.port, "3128");
    EXPECT_EQ(settings.password, "pw");
}

TEST(DownloadDialog, NoticeChoicesAndTheProxyCopy)
{
    ZarnProxySettings proxy;
    proxy.server = "before";
    ScriptedDownloadDlg dialog(0, 1, &proxy);
    dialog.OnInitDialog();
    auto* firmware = Control<QComboBox>(&dialog, CKZARN_SetDownloadConfigDlg::kFirmwareNoticeId);
    auto* zarn = Control<QComboBox>(&dialog, CKZARN_SetDownloadConfigDlg::kZarnNoticeId);
    ASSERT_EQ(firmware->count(), 2);
    EXPECT_LT(QString::compare(firmware->itemText(0), firmware->itemText(1)), 0) << "entries sorted by text";
    EXPECT_EQ(firmware->currentData().toInt(), 0);
    EXPECT_EQ(zarn->currentData().toInt(), 1);

    // The proxy dialog's Cancel keeps the copy; its OK changes it; the caller's record never changes.
    dialog.proxyRun = [](ZarnProxySettings* s) {
        s->server = "cancelled";
        return IDCANCEL;
    };
    dialog.OnAdvanced();
    EXPECT_EQ(dialog.GetProxySettings().server, "before");
    dialog.proxyRun = [](ZarnProxySettings* s) {
        s->server = "after";
        return IDOK;
    };
    dialog.OnAdvanced();
    EXPECT_EQ(dialog.GetProxySettings().server, "after");
    EXPECT_EQ(proxy.server, "before");

    firmware->setCurrentIndex(firmware->findData(1));
    zarn->setCurrentIndex(-1); // no selection counts as off
    dialog.OnOK();
    EXPECT_EQ(dialog.result(), IDOK);
    EXPECT_EQ(dialog.GetNotifyFirmware(), 1);
    EXPECT_EQ(dialog.GetNotifyZarn(), 0);
}

TEST(DownloadSettingsCommand, ReadsDefaultsWritesOnOkAndNothingOnCancel)
{
    RegistryRig rig;
    DownloadSettingsMainDlg main;
    main.run = [](CKZARN_SetDownloadConfigDlg& dialog) {
        EXPECT_EQ(dialog.GetNotifyFirmware(), 1);
        EXPECT_EQ(dialog.GetNotifyZarn(), 1);
        EXPECT_EQ(dialog.GetProxySettings().port, "80");
        EXPECT_EQ(dialog.GetProxySettings().useProxy, 0);
        EXPECT_EQ(CZarnManager::GetInstance()->GetActiveForm(), &dialog);
        return IDCANCEL;
    };
    main.OnDownloadSettings();
    {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 1);
        registry.PushKey(kProxyKey);
        EXPECT_EQ(registry.GetString("Server Name", "<none>"), "<none>") << "Cancel writes nothing";
    }
    EXPECT_EQ(CZarnManager::GetInstance()->GetActiveForm(), nullptr);

    main.run = [](CKZARN_SetDownloadConfigDlg& dialog) {
        dialog.notifyFirmware = 0;
        dialog.proxy.useProxy = 1;
        dialog.proxy.server = "proxy.local";
        dialog.proxy.port = "3128";
        dialog.proxy.user = "me";
        dialog.proxy.password = "secret";
        return IDOK;
    };
    main.OnDownloadSettings();
    CRegistryHelper registry(HKEY_LOCAL_MACHINE, 1);
    registry.PushKey(kBaseKey);
    EXPECT_EQ(registry.GetDword("Notify Firmware Update", -1), 0);
    EXPECT_EQ(registry.GetDword("Notify Zarn Update", -1), 1);
    registry.PopKey();
    registry.PushKey(kProxyKey);
    EXPECT_EQ(registry.GetDword("Use Proxy", -1), 1);
    EXPECT_EQ(registry.GetString("Server Name", ""), "proxy.local");
    EXPECT_EQ(registry.GetString("Port Number", ""), "3128");
    EXPECT_EQ(registry.GetString("User Name", ""), "me");
    EXPECT_NE(registry.GetString("Password", ""), "secret") << "stored scrambled";
    EXPECT_EQ(registry.GetScrambledString("Password", ""), "secret");

    // Read back on the next run.
    main.run = [](CKZARN_SetDownloadConfigDlg& dialog) {
        EXPECT_EQ(dialog.GetNotifyFirmware(), 0);
        EXPECT_EQ(dialog.GetProxySettings().server, "proxy.local");
        EXPECT_EQ(dialog.GetProxySettings().password, "secret");
        return IDCANCEL;
    };
    main.OnDownloadSettings();
}
