// Starts the built program itself, offscreen, in private folders. Its questions are written to its
// error stream (ZARN_PROMPT_ECHO), which is how these tests see what it showed.
#include "tests/support/TestProfileFiles.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

const QString kProgram = QStringLiteral(ZARN_BINARY_DIR "/bin/Zarndesk");

class ZarndeskProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        for (const char* sub : {"run", "data", "config"}) {
            ASSERT_TRUE(QDir(folder_.path()).mkpath(sub));
        }
        QFile::setPermissions(Path("run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("QT_QPA_PLATFORM", "offscreen");
        env_.insert("XDG_RUNTIME_DIR", Path("run"));
        env_.insert("XDG_DATA_HOME", Path("data"));
        env_.insert("XDG_CONFIG_HOME", Path("config"));
        env_.insert("ZARN_REGISTRY_FILE", Path("config/registry.reg"));
        env_.insert("ZARN_PROMPT_ECHO", "1");
    }

    QString Path(const QString& sub) const { return folder_.path() + "/" + sub; }

    // Reads the process's error stream until it holds the line, or the process ends, or 30 s pass.
    static bool WaitForLine(QProcess& process, QByteArray* seen, const QByteArray& line)
    {
        while (!seen->contains(line)) {
            if (!process.waitForReadyRead(30000)) {
                *seen += process.readAllStandardError();
                return seen->contains(line);
            }
            *seen += process.readAllStandardError();
        }
        return true;
    }

    QTemporaryDir folder_;
    QProcessEnvironment env_;
};

TEST_F(ZarndeskProcessTest, SecondStartShowsTheMessageEndsAndBringsTheFirstWindowForward)
{
    QProcess first;
    first.setProcessEnvironment(env_);
    first.setProcessChannelMode(QProcess::SeparateChannels);
    first.setReadChannel(QProcess::StandardError);
    first.start(kProgram, {});
    ASSERT_TRUE(first.waitForStarted(30000));
    QByteArray firstSaid;
    ASSERT_TRUE(WaitForLine(first, &firstSaid, "zarndesk: main window running\n")) << firstSaid.constData();

    QProcess second;
    second.setProcessEnvironment(env_);
    second.start(kProgram, {});
    ASSERT_TRUE(second.waitForFinished(30000));
    const QByteArray secondSaid = second.readAllStandardError();
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(secondSaid.count("zarndesk: prompt: Zarndesk is already running.\n"), 1) << secondSaid.constData();
    EXPECT_FALSE(secondSaid.contains("main window running"));
    EXPECT_FALSE(std::filesystem::exists(Path("data/Kestrin/Zarndesk/KZARN_User.ini").toStdString()))
        << "the instance that gave up wrote the user settings";

    EXPECT_TRUE(WaitForLine(first, &firstSaid, "zarndesk: main window brought to the front\n"))
        << firstSaid.constData();
    first.kill();
    first.waitForFinished(30000);
}

TEST_F(ZarndeskProcessTest, WithoutADisplayItSaysSoAndEnds)
{
    env_.remove("QT_QPA_PLATFORM");
    env_.remove("DISPLAY");
    env_.remove("WAYLAND_DISPLAY");
    QProcess process;
    process.setProcessEnvironment(env_);
    process.start(kProgram, {});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardError().contains("needs a graphical display"));
}

// The program on a simulated T-520D (the test switch): it lists the PC profiles, sends one into
// slot 1 after asking, and reads the meter's names back.
TEST_F(ZarndeskProcessTest, OnASimulatedMeterItListsSendsAndReadsTheNamesBack)
{
    const QString profiles = Path("data/Kestrin/Zarndesk/Profile");
    ASSERT_TRUE(QDir().mkpath(profiles));
    ASSERT_TRUE(TestProfileFiles::Write((profiles + "/alpha.kpf").toStdString(), 3, 0, {100, 400}));
    ASSERT_TRUE(TestProfileFiles::Write((profiles + "/beta.kpf").toStdString(), 3, 0, {100}));
    ASSERT_TRUE(TestProfileFiles::Write((profiles + "/old.kpf").toStdString(), 2, 0, {100}));
    env_.insert("ZARN_SIMULATED_METER", "T-520D");
    env_.insert("ZARN_SIMULATED_SEND", "alpha");

    QProcess process;
    process.setProcessEnvironment(env_);
    process.setReadChannel(QProcess::StandardError);
    process.start(kProgram, {});
    ASSERT_TRUE(process.waitForStarted(30000));
    QByteArray said;
    const bool sent = WaitForLine(process, &said, "zarndesk: meter list after sending: ");
    const QByteArray afterSending = "zarndesk: meter list after sending: ";
    while (sent && said.indexOf('\n', said.indexOf(afterSending)) < 0 && process.waitForReadyRead(30000)) {
        said += process.readAllStandardError();
    }
    process.kill();
    process.waitForFinished(30000);
    ASSERT_TRUE(sent) << said.constData();

    const QList<QByteArray> lines = said.split('\n');
    auto lineStarting = [&](const QByteArray& start) {
        for (const QByteArray& line : lines) {
            if (line.startsWith(start)) return line.mid(start.size());
        }
        return QByteArray("(missing)");
    };
    // The version-3 profiles, sorted as the folder lists them; the version-2 file is not offered.
    QList<QByteArray> pc = lineStarting("zarndesk: pc list: ").split(',');
    std::sort(pc.begin(), pc.end());
    EXPECT_EQ(pc, (QList<QByteArray>{"alpha", "beta"}));
    EXPECT_EQ(lineStarting("zarndesk: meter list: ").count(','), 9);
    EXPECT_TRUE(said.contains("zarndesk: prompt: Send the chosen profiles to the meter?")) << said.constData();
    const QByteArray after = lineStarting("zarndesk: meter list after sending: ");
    EXPECT_TRUE(after.startsWith("alpha,")) << after.constData();
    EXPECT_EQ(after.count(','), 9);
}

} // namespace
