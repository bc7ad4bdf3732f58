// Starts the built Zarnflash under a virtual display (xvfb-run) on a simulated meter, through the
// program's test switch, and lets the switch press Start as a user would: a valid script is
// written, a broken one is refused with nothing sent and the refused file named, an image of
// another meter is named on the ready window with no Start on offer, and after a run without a
// meter Settings and Start work again. Each step's window is kept as a PNG in the build folder
// (screenshots/zarnflash).
#include "core/util/CLangTable.h"
#include "core/util/CRegistryHelper.h"
#include "platform/RegistryTypes.h"
#include "tests/flash/FlashTestKit.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const QString kProgram = QStringLiteral(ZARN_BINARY_DIR "/bin/Zarnflash");
const QString kScreenshots = QStringLiteral(ZARN_BINARY_DIR "/screenshots/zarnflash");

class ZarnflashProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("xvfb-run").isEmpty()) {
            GTEST_SKIP() << "xvfb-run is not installed (scripts/setup.sh installs it): the program is not started";
        }
        ASSERT_TRUE(folder_.isValid());
        for (const char* sub : {"run", "data", "config", "images"}) ASSERT_TRUE(QDir(folder_.path()).mkpath(sub));
        QFile::setPermissions(Path("run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env_ = QProcessEnvironment::systemEnvironment();
        env_.remove("QT_QPA_PLATFORM");
        env_.insert("XDG_RUNTIME_DIR", Path("run"));
        env_.insert("XDG_DATA_HOME", Path("data"));
        env_.insert("XDG_CONFIG_HOME", Path("config"));
        env_.insert("ZARN_REGISTRY_FILE", Path("config/registry.reg"));
        env_.insert("ZARN_SIMULATED_START", "1");
        // Sanitizer builds: what Qt's X11 platform keeps in system libraries is no leak of ours.
        env_.insert("LSAN_OPTIONS", "print_suppressions=0:suppressions=" ZARN_SOURCE_DIR "/tests/lsan.supp");
    }

    QString Path(const QString& sub) const { return folder_.path() + "/" + sub; }

    // Chooses the main image as the settings dialog would, its version companion beside it.
    void ChooseMain(const std::string& name, const std::string& script, const char* ver)
    {
        const std::string folder = Path("images").toStdString() + "/";
        WriteFlashText(folder + name, script);
        if (ver != nullptr) WriteFlashText(folder + name.substr(0, name.rfind('.')) + ".ver", ver);
        ::setenv("ZARN_REGISTRY_FILE", Path("config/registry.reg").toStdString().c_str(), 1);
        {
            CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
            registry.PushKey("SOFTWARE\\KESTRIN\\Zarndesk");
            registry.SetString("Last Update Firmware File", folder + name);
        }
        ::unsetenv("ZARN_REGISTRY_FILE");
    }

    // Runs the program on the meter family (or "none") to the end of its run; returns what it said.
    // shotNames: the windows the run keeps.
    QByteArray Run(const QString& meter, const QString& shots,
                   std::vector<const char*> shotNames = {"1-ready.png", "2-finished.png", "3-after.png"})
    {
        const QString dir = kScreenshots + "/" + shots;
        QDir(dir).removeRecursively();
        EXPECT_TRUE(QDir().mkpath(dir));
        env_.insert("ZARN_SIMULATED_METER", meter);
        env_.insert("ZARN_SCREENSHOT_DIR", dir);
        QProcess process;
        process.setProcessEnvironment(env_);
        process.start("xvfb-run", {"-a", "-s", "-screen 0 1280x1024x24", kProgram});
        EXPECT_TRUE(process.waitForStarted(30000));
        const bool ended = process.waitForFinished(60000);
        if (!ended) process.kill();
        EXPECT_TRUE(ended) << "the program did not end";
        const QByteArray said = process.readAllStandardError();
        EXPECT_EQ(0, process.exitCode()) << said.constData();
        for (const char* shot : shotNames) {
            EXPECT_TRUE(QFileInfo(dir + "/" + shot).size() > 0) << shot << " missing\n" << said.constData();
        }
        return said;
    }

    static std::string Script(const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        return text;
    }

    // The program's text of id with its "%s" conversions filled in, in order.
    static std::string Said(int id, const std::vector<std::string>& args)
    {
        CLangTable::GetInstance()->Load(ZARN_SOURCE_DIR "/data/String.txt");
        std::string text = GetLangString(id);
        CLangTable::Free();
        for (const std::string& arg : args) {
            const std::size_t at = text.find("%s");
            if (at != std::string::npos) text.replace(at, 2, arg);
        }
        return text;
    }

    QTemporaryDir folder_;
    QProcessEnvironment env_;
};

TEST_F(ZarnflashProcessTest, AValidScriptIsWritten)
{
    ChooseMain("QM630180.dlf", Script(FlashScriptLines("P0000F", 4)), "18\n\n20240102\n");
    const QByteArray said = Run("T-140", "valid");
    EXPECT_TRUE(said.contains("zarnflash: ready: meter T-140D, start enabled\n")) << said.constData();
    EXPECT_TRUE(said.contains("zarnflash: finished: result 0x00000000")) << said.constData();
    EXPECT_TRUE(said.contains("images written 1, update mode off\n")) << said.constData();
    EXPECT_TRUE(said.contains("zarnflash: settings and start enabled again: yes\n")) << said.constData();
}

TEST_F(ZarnflashProcessTest, ABrokenScriptIsRefusedWithNothingSent)
{
    std::vector<std::string> lines = FlashScriptLines("P0000F", 4);
    lines.insert(lines.begin() + 3, ""); // an empty line inside the script
    ChooseMain("QM630190.dlf", Script(lines), "19\n\n20240102\n");
    const QByteArray said = Run("T-140", "broken");
    EXPECT_TRUE(said.contains("zarnflash: finished: result 0x20000103")) << said.constData();
    EXPECT_TRUE(said.contains("zarnflash: meter: firmware commands 0, images written 0")) << said.constData();
    EXPECT_TRUE(said.contains("zarnflash: progress: 0 of")) << said.constData();
}

// A script cut off in the middle of a record is refused before any byte, and the refusal names it.
TEST_F(ZarnflashProcessTest, ATruncatedScriptIsRefusedAndNamed)
{
    const std::string whole = Script(FlashScriptLines("P0000F", 4));
    ChooseMain("QM630200.dlf", whole.substr(0, whole.size() / 2), "20\n\n20240102\n");
    const QByteArray said = Run("T-140", "truncated");
    EXPECT_TRUE(said.contains("zarnflash: ready: meter T-140D, start enabled\n")) << said.constData();
    EXPECT_TRUE(said.contains("zarnflash: finished: result 0x20000103")) << said.constData();
    const std::string named = "zarnflash: version line: " + Said(50142, {"QM630200.dlf"}) + "\n";
    EXPECT_TRUE(said.contains(named.c_str())) << said.constData();
    EXPECT_TRUE(said.contains("zarnflash: meter: firmware commands 0, images written 0")) << said.constData();
}

// A T-520D image chosen for a T-140: the ready window names the file and why, and offers no Start.
TEST_F(ZarnflashProcessTest, AnImageOfAnotherMeterIsNamedAndNotOffered)
{
    ChooseMain("QP520210.dlf", Script(FlashScriptLines("P0000F", 4)), "21\n\n20240102\n");
    const QByteArray said = Run("T-140", "another-meter", {"1-ready.png"});
    EXPECT_TRUE(said.contains("zarnflash: ready: meter T-140D, start disabled\n")) << said.constData();
    const std::string named = "zarnflash: ready version line: " + Said(50133, {"QP520210.dlf"}) + "\n";
    EXPECT_TRUE(said.contains(named.c_str())) << said.constData();
    EXPECT_FALSE(said.contains("Offered")) << said.constData();
    EXPECT_TRUE(said.contains("zarnflash: meter: firmware commands 0\n")) << said.constData();
}

TEST_F(ZarnflashProcessTest, WithoutAMeterStartSaysSoAndIsNoDeadEnd)
{
    const QByteArray said = Run("none", "no-meter");
    EXPECT_TRUE(said.contains("zarnflash: ready: meter none, start enabled\n")) << said.constData();
    EXPECT_TRUE(said.contains("zarnflash: finished: result 0x20000101, status: No meter is connected"))
        << said.constData();
    EXPECT_TRUE(said.contains("zarnflash: settings and start enabled again: yes\n")) << said.constData();
}

} // namespace
