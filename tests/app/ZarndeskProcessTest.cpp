// Starts the built program itself, offscreen, in private folders. Its questions are written to its
// error stream (ZARN_PROMPT_ECHO), which is how these tests see what it showed.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

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

} // namespace
