// The downloader's dialogs without a running job: the settings dialog's port list and checks, the
// stand-alone dialog's choice of files, and what the main dialog shows in its states.
#include "tests/flash/FlashTestKit.h"

#include "core/util/CLangTable.h"
#include "core/util/CRegistryHelper.h"
#include "core/util/ProgramMessageStream.h"
#include "core/util/ZarnProgramMessages.h"
#include "flash/FlashRefusalText.h"
#include "flash/ZarnflashCommandLine.h"
#include "flash/ui/CZarnflashDlg.h"
#include "flash/ui/CZarnflashFileselectDlg.h"
#include "platform/RegistryTypes.h"
#include "platform/SystemFolders.h"
#include "tests/flash/FlashSimLinks.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ScriptedPromptService.h"

#include <QAction>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLabel>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdlib>

#include <unistd.h>

namespace {

class FlashDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("ZARN_REGISTRY_FILE", (scratch.Path() + "/registry.reg").c_str(), 1);
        SystemFolders::SetLocalAppDataOverride(scratch.Path() + "/local");
    }
    void TearDown() override
    {
        SystemFolders::SetLocalAppDataOverride("");
        ::unsetenv("ZARN_REGISTRY_FILE");
    }
    void Store(const std::string& name, const std::string& value)
    {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
        registry.PushKey("SOFTWARE\\KESTRIN\\Zarndesk");
        registry.SetString(name, value);
    }
    std::string Stored(const std::string& name)
    {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 1);
        registry.PushKey("SOFTWARE\\KESTRIN\\Zarndesk");
        return registry.GetString(name, "");
    }

    ScratchFolder scratch;
    ScratchFolder sysfs;
    SimHidDeviceSystem hid;
    SimFlashLinks links{hid, sysfs.Path()};
};

TEST_F(FlashDialogs, StoredPortIsOfferedOnlyWhileTheMeterHasIt)
{
    const std::string automatic = GetLangString(50116);
    struct Case {
        std::vector<std::string> present;
        std::vector<std::string> listed;
        std::string stored; // what OK keeps
    } cases[] = {
        {{"ttyUSB0", "ttyUSB3"}, {"ttyUSB3", automatic, "ttyUSB0"}, "ttyUSB3"},
        {{"ttyUSB0"}, {automatic, "ttyUSB0"}, ""},
        {{}, {automatic}, ""},
    };
    Store("Last Update Port", "ttyUSB3");
    for (const Case& c : cases) {
        CZarnflashFileselectDlg dialog;
        dialog.portLister = [&c] { return c.present; };
        dialog.OnInitDialog();
        std::vector<std::string> listed;
        for (int i = 0; i < dialog.PortCombo()->count(); ++i) listed.push_back(dialog.PortCombo()->itemText(i).toStdString());
        EXPECT_EQ(c.listed, listed);
        dialog.OnOK();
        EXPECT_EQ(IDOK, dialog.Result());
        EXPECT_EQ(c.stored, dialog.port);
    }
}

TEST_F(FlashDialogs, RadioChoicesMustBeTheApplicationAloneOrAllThree)
{
    struct Case {
        const char* app;
        const char* loader;
        const char* updater;
        bool accepted;
    } cases[] = {
        {"", "", "", true},
        {"/f/QM630106A.dlf", "", "", true},
        {"/f/QM630106A.dlf", "/f/QM630106L.dlf", "/f/QM630001U.dlf", true},
        {"/f/QM630106A.dlf", "/f/QM630106L.dlf", "", false},
        {"", "", "/f/QM630001U.dlf", false},
    };
    {
        CZarnflashFileselectDlg dialog;
        EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowTitleHint));
        EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowSystemMenuHint));
        EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.app) + "|" + c.loader + "|" + c.updater);
        ScriptedPromptService prompts;
        CZarnflashFileselectDlg dialog;
        dialog.portLister = [] { return std::vector<std::string>(); };
        dialog.OnInitDialog();
        dialog.MainEdit()->setText("/f/QM630180.dlf");
        dialog.AppEdit()->setText(c.app);
        dialog.LoaderEdit()->setText(c.loader);
        dialog.UpdaterEdit()->setText(c.updater);
        dialog.OnOK();
        EXPECT_EQ(c.accepted ? IDOK : 0, dialog.Result());
        ASSERT_EQ(c.accepted ? 0u : 1u, prompts.Prompts().size());
        if (!c.accepted) {
            EXPECT_EQ(GetLangString(50123), prompts.Prompts()[0].text);
        } else {
            EXPECT_EQ("QM630180.dlf", dialog.mainName);
        }
    }
}

// Each browse button offers its file types with the descriptions as they stand; the file dialog
// reads the pattern from the brackets that end each one.
TEST_F(FlashDialogs, BrowseButtonsOfferTheFileTypesOfEachImage)
{
    const struct {
        int button;
        std::vector<std::string> filters;
    } cases[] = {
        {1000,
         {"T-520D Download File(QP52*.dlf)", "T-310D/DR Download File(QK85*.dlf)", "T-310CINE Download File(QN41*.dlf)",
          "T-140D/DR Download File(QM63*.dlf)"}},
        {1001, {"T-520D RF App Download File(QP52*A.dlf)", "T-140DR RF App Download File(QM63*A.dlf)"}},
        {1002, {"T-520D RF Loader Download File(QP52*L.dlf)", "T-140DR RF Loader Download File(QM63*L.dlf)"}},
        {1003,
         {"T-520D  RF Loader Updater Download File(QP52*U.dlf)", "T-140DR RF Loader Updater Download File(QM63*U.dlf)"}},
    };
    const QRegularExpression qtFilter(QStringLiteral("^(.*)\\(([a-zA-Z0-9_.,*? +;#\\-\\[\\]@{}/!<>$%&=^~:|]*)\\)$"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        const std::vector<std::string> filters = CZarnflashFileselectDlg::FileFilters(c.button);
        EXPECT_EQ(c.filters, filters);
        for (const std::string& f : filters) {
            const QRegularExpressionMatch m = qtFilter.match(QString::fromStdString(f));
            ASSERT_TRUE(m.hasMatch()) << f;
            EXPECT_TRUE(m.captured(2).endsWith(".dlf")) << f;
        }
    }
}

// The file dialog starts on the attached meter's type, so its files are listed at once.
TEST_F(FlashDialogs, BrowseStartsOnTheAttachedMetersFileType)
{
    const struct {
        int button;
        const char* model;
        const char* starts;
    } cases[] = {
        {1000, "T-140D", "T-140D/DR Download File(QM63*.dlf)"},
        {1000, "T-140DR-EL", "T-140D/DR Download File(QM63*.dlf)"},
        {1000, "T-310CINE", "T-310CINE Download File(QN41*.dlf)"},
        {1000, "T-310D/DR", "T-310D/DR Download File(QK85*.dlf)"},
        {1000, "", "T-520D Download File(QP52*.dlf)"},
        {1001, "T-140DR", "T-140DR RF App Download File(QM63*A.dlf)"},
        {1003, "T-520D", "T-520D  RF Loader Updater Download File(QP52*U.dlf)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.starts, CZarnflashFileselectDlg::InitialFilter(c.button, c.model)) << c.button << " " << c.model;
    }
}

// A poll whose thread cannot start reads nothing; the window stays and the next tick tries again.
TEST_F(FlashDialogs, APollThreadThatCannotStartIsAFailedReadOut)
{
    class NoPollThread final : public CZarnflashDlg {
    public:
        using CZarnflashDlg::CZarnflashDlg;

    protected:
        bool StartPollThread(std::function<void()>) override { return false; }
    };
    SimFlashHidMeter::Add(hid, true);
    NoPollThread dialog({"Zarnflash"});
    dialog.SetEnvironment(&links, &hid.Clock());
    dialog.OnInitDialog();
    ASSERT_EQ("T-520D", dialog.ModelName());
    dialog.OnTimer();
    EXPECT_EQ("", dialog.ModelName());
    EXPECT_FALSE(dialog.PollRunning());
    EXPECT_TRUE(dialog.TimerActive());
    EXPECT_FALSE(dialog.Ended());
    dialog.OnExit();
}

// Confirmed settings show on the version line at once, not at the next poll.
TEST_F(FlashDialogs, VersionLineShowsTheNewChoiceAtOnce)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, false, 0x10);
    sim.normal->GetIdentity().revision = "17";
    WriteFlashText(scratch.File("QM630180.ver"), "18\n\n20240102\n");
    CZarnflashDlg dialog({"Zarnflash"});
    dialog.SetEnvironment(&links, &hid.Clock());
    dialog.OnInitDialog();
    ASSERT_EQ("T-140D", dialog.ModelName());
    std::string model;
    dialog.SetSettingsRunner([&](CZarnflashFileselectDlg& settings) {
        model = settings.meterModel;
        settings.portLister = [] { return std::vector<std::string>(); };
        settings.OnInitDialog();
        settings.MainEdit()->setText(QString::fromStdString(scratch.File("QM630180.dlf")));
        settings.OnOK();
        return settings.Result();
    });
    dialog.OnSettings();
    EXPECT_EQ("T-140D", model);
    QString line = QString::fromStdString(GetLangString(50016));
    line.replace(line.indexOf("%s"), 2, "17");
    line.replace(line.indexOf("%s"), 2, "18");
    line.replace(line.indexOf("%s"), 2, "2024/01/02");
    EXPECT_EQ(line, dialog.VersionLabel()->text());
    dialog.OnExit();
}

// An image chosen in Settings that the attached meter cannot take is said at once, naming the file;
// the ready window then shows that in place of the versions and offers no Start until a fitting
// image is chosen.
TEST_F(FlashDialogs, SettingsSaysAtOnceWhenAnImageDoesNotFitTheMeter)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, false, 0x10);
    sim.normal->GetIdentity().revision = "17";
    WriteFlashFile(scratch.File("QP520210.dlf"), FlashScriptLines("P0000F", 2));
    WriteFlashText(scratch.File("QP520210.ver"), "21\n\n20240102\n");
    WriteFlashFile(scratch.File("QM630180.dlf"), FlashScriptLines("P0000F", 2));
    WriteFlashText(scratch.File("QM630180.ver"), "18\n\n20240102\n");
    ScriptedPromptService prompts;
    CZarnflashDlg dialog({"Zarnflash"});
    dialog.SetEnvironment(&links, &hid.Clock());
    dialog.OnInitDialog();
    ASSERT_EQ("T-140D", dialog.ModelName());
    std::string chosen;
    dialog.SetSettingsRunner([&](CZarnflashFileselectDlg& settings) {
        settings.portLister = [] { return std::vector<std::string>(); };
        settings.OnInitDialog();
        settings.MainEdit()->setText(QString::fromStdString(scratch.File(chosen)));
        settings.OnOK();
        return settings.Result();
    });
    chosen = "QP520210.dlf";
    dialog.OnSettings();
    const std::string named = FormatLangString(50133, {"QP520210.dlf"});
    ASSERT_EQ(1u, prompts.Prompts().size());
    EXPECT_EQ(named, prompts.Prompts()[0].text);
    EXPECT_EQ(QString::fromStdString(named), dialog.VersionLabel()->text());
    EXPECT_FALSE(dialog.StartButton()->isEnabled());
    EXPECT_TRUE(dialog.SettingsButton()->isEnabled());
    EXPECT_TRUE(dialog.TimerActive());

    chosen = "QM630180.dlf";
    dialog.OnSettings();
    EXPECT_EQ(1u, prompts.Prompts().size());
    EXPECT_EQ(QString::fromStdString(FormatLangString(50016, {"17", "18", "2024/01/02"})),
              dialog.VersionLabel()->text());
    EXPECT_TRUE(dialog.StartButton()->isEnabled());
    dialog.OnExit();
}

TEST_F(FlashDialogs, SettingsChoiceIsReadAndRemembered)
{
    const std::string folder = scratch.Path() + "/";
    WriteFlashText(scratch.File("QM630180.ver"), "18\n\n20240102\n");
    WriteFlashText(scratch.File("QM630106A.ver"), "12\n0106\n20231201\n");
    Store("Version", "1.0"); // the installed program's key; the downloader never creates it
    CZarnflashDlg dialog({"Zarnflash"});
    dialog.SetEnvironment(&links, &hid.Clock());
    dialog.OnInitDialog();
    ASSERT_TRUE(dialog.IsStandAlone());
    EXPECT_EQ(kUiIdle, dialog.UiState());
    EXPECT_EQ(QString::fromStdString(GetLangString(50000)).replace("%s", "*"), dialog.windowTitle());
    EXPECT_TRUE(dialog.VersionLabel()->text().isEmpty());
    EXPECT_TRUE(dialog.StartButton()->isEnabled());
    EXPECT_FALSE(dialog.CancelButton()->isVisibleTo(&dialog));
    dialog.SetSettingsRunner([&](CZarnflashFileselectDlg& settings) {
        settings.portLister = [] { return std::vector<std::string>{"ttyUSB1"}; };
        settings.OnInitDialog();
        settings.MainEdit()->setText(QString::fromStdString(folder + "QM630180.dlf"));
        settings.AppEdit()->setText(QString::fromStdString(folder + "QM630106A.dlf"));
        settings.PortCombo()->setCurrentIndex(settings.PortCombo()->findText("ttyUSB1"));
        settings.OnOK();
        return settings.Result();
    });
    dialog.OnSettings();
    EXPECT_TRUE(dialog.TimerActive());
    EXPECT_EQ(folder + "QM630180.dlf", Stored("Last Update Firmware File"));
    EXPECT_EQ(folder + "QM630106A.dlf", Stored("Last Update RF Application Firmware File"));
    EXPECT_EQ("", Stored("Last Update RF Loader Firmware File"));
    EXPECT_EQ("ttyUSB1", Stored("Last Update Port"));

    // No meter: Start finds nothing to do and keeps polling; Enter and Escape leave the dialog open.
    dialog.OnStart();
    EXPECT_EQ(kFlashNothingToDo, dialog.ResultCode());
    EXPECT_EQ(QString::fromStdString(GetLangString(50135)), dialog.StatusLabel()->text());
    EXPECT_TRUE(dialog.TimerActive());
    EXPECT_FALSE(dialog.StartButton()->isEnabled());
    EXPECT_TRUE(dialog.ExitButton()->isEnabled());
    dialog.reject();
    dialog.accept();
    EXPECT_FALSE(dialog.Ended());
    // The About item opens the About box with the program's version.
    std::string aboutText;
    dialog.aboutRunner = [&aboutText](QDialog& about) {
        aboutText = about.findChild<QLabel*>("version")->text().toStdString();
    };
    dialog.findChild<QAction*>("aboutItem")->trigger();
    EXPECT_NE(std::string::npos, aboutText.find("Zarnflash"));
    dialog.OnExit();
    EXPECT_TRUE(dialog.Ended());
}

TEST_F(FlashDialogs, LaunchedWithIncompleteSettingsShowsWhyAndOffersOk)
{
    CZarnflashDlg dialog(SplitArguments({"Zarnflash", "/Type", "T-140DR", "/Ver", "18", "/Date", "20240102"}));
    dialog.SetEnvironment(&links, &hid.Clock());
    std::vector<UINT> sent;
    dialog.SetOwnerMessenger([&sent](const std::string&, UINT m, WPARAM, LPARAM) { sent.push_back(m); });
    dialog.OnInitDialog();
    EXPECT_EQ(kFlashIncomplete, dialog.ResultCode());
    EXPECT_EQ(QString::fromStdString(GetLangString(50102)), dialog.StatusLabel()->text());
    EXPECT_EQ(QString::fromStdString(GetLangString(10)), dialog.CancelButton()->text());
    EXPECT_FALSE(dialog.StartButton()->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.TimerActive());
    // No " /Zarn " window: closing tells nobody.
    dialog.OnCancelButton();
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(dialog.Ended());

    // A base address alone: the list addresses made from it and an empty value are no addresses.
    {
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
        registry.PushKey("SOFTWARE\\KESTRIN\\Zarndesk\\Download Setting");
        registry.SetString("Base Url", "http://127.0.0.1:9");
        registry.SetString("Version Confirm Url", "v.txt");
    }
    CZarnflashDlg second(SplitArguments({"Zarnflash", "/Type", "T-140DR", "/Ver", "18", "/Date", "20240102"}));
    second.SetEnvironment(&links, &hid.Clock());
    second.OnInitDialog();
    EXPECT_EQ(kFlashIncomplete, second.ResultCode());
}

// The message to the main program goes over the window's local socket, once, before the dialog ends.
TEST_F(FlashDialogs, FinishedMessageReachesTheMainWindowsSocket)
{
    const std::string number = std::to_string(700000 + (::getpid() % 100000));
    const QString name = QString::fromStdString(ProgramMessageStream::SocketName(number));
    QLocalServer::removeServer(name);
    QLocalServer server;
    ASSERT_TRUE(server.listen(name));
    CZarnflashDlg dialog(SplitArguments({"Zarnflash", " /Zarn ", number, " /Type ", "T-140D", " /Ver ", "18"}));
    dialog.SetEnvironment(&links, &hid.Clock());
    dialog.OnInitDialog();
    ASSERT_EQ(kFlashIncomplete, dialog.ResultCode());
    dialog.OnCancelButton();
    ASSERT_TRUE(server.waitForNewConnection(5000));
    QLocalSocket* peer = server.nextPendingConnection();
    ASSERT_NE(nullptr, peer);
    QByteArray bytes = peer->readAll();
    while (bytes.size() < 16 && peer->waitForReadyRead(5000)) bytes += peer->readAll();
    ProgramMessageStream stream;
    std::vector<ProgramMessageStream::Message> messages;
    ASSERT_TRUE(stream.Feed(bytes.constData(), static_cast<std::size_t>(bytes.size()), &messages));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(WM_ZARN_FLASH_FINISHED, messages[0].message);
    EXPECT_EQ(0u, messages[0].wParam);
    EXPECT_EQ(0, messages[0].lParam);
}

} // namespace
