// Starts the built program itself, offscreen, in private folders. Its questions are written to its
// error stream (ZARN_PROMPT_ECHO), which is how these tests see what it showed.
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_KestrinPatchElement.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "profilelib/ZarnLib_Vector2.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestProfileFiles.h"
#include "core/util/CLangTable.h"
#include "tests/support/ZarnTest_ChartSeries.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
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

    // Writes a Gradus II photograph of the test series at exposure e (the Exif values of e), drawn
    // as `drawing` makes it, or a picture of grey `uniform` all over when that is 0 or more.
    static bool WriteShot(const std::string& path, double exposure, int width, int height, int uniform = -1,
                          const std::function<void(ZarnTest_ChartSpec&)>& drawing = {})
    {
        ZarnTest_ChartSpec chart = chartseries::Drawing(2, exposure, width, height);
        if (drawing)
            drawing(chart);
        ZarnTest_ChartPoint truth[4];
        auto bitmap = ZarnTest_ChartPhoto::Render(chart, truth);
        if (!bitmap)
            return false;
        if (uniform >= 0) {
            const auto c = static_cast<std::uint32_t>(uniform);
            for (std::uint32_t y = 0; y < bitmap->GetHeight(); ++y)
                std::fill(bitmap->Row(y), bitmap->Row(y) + bitmap->GetWidth(), 0xFF000000u | (c << 16) | (c << 8) | c);
        }
        ZarnTest_ExifWriter writer(false);
        writer.AddExposure(100, 100000, static_cast<std::uint32_t>(std::lround(100000 / std::pow(2.0, exposure - 4))), 56, 10);
        return writer.WriteJpeg(*bitmap, path, 92);
    }

    // Runs the program's simulated wizard session on the photographs in `photos` until it says
    // `line` (a refusal or the saved profile's listing) and the text after it up to the line's end.
    QByteArray RunWizard(const QString& photos, const QString& name, const QByteArray& line)
    {
        QProcessEnvironment env = env_;
        env.insert("ZARN_SIMULATED_METER", "T-520D");
        env.insert("ZARN_SIMULATED_WIZARD", photos);
        env.insert("ZARN_SIMULATED_WIZARD_NAME", name);
        QProcess process;
        process.setProcessEnvironment(env);
        process.setReadChannel(QProcess::StandardError);
        process.start(kProgram, {});
        if (!process.waitForStarted(30000))
            return "(not started)";
        QByteArray said;
        const bool seen = WaitForLine(process, &said, line);
        while (seen && said.indexOf('\n', said.indexOf(line)) < 0 && process.waitForReadyRead(30000))
            said += process.readAllStandardError();
        process.kill();
        process.waitForFinished(30000);
        return said;
    }

    // The text of the session's line starting `start`, up to its end; empty when it never came.
    static QByteArray LineAfter(const QByteArray& said, const QByteArray& start)
    {
        const int at = said.indexOf(start);
        if (at < 0)
            return {};
        const int from = at + static_cast<int>(start.size());
        return said.mid(from, said.indexOf('\n', from) - from);
    }

    // The five points of the saved profile `name`, in pass order CPM, DRM, DRP, CPP, CNT.
    bool SavedPoints(const QString& name, _ZARNLIB_VECTOR2 five[5])
    {
        ZarnLib_Profile saved;
        const ZarnLibString file(Path("data/Kestrin/Zarndesk/Profile/" + name + ".kpf").toStdString().c_str());
        if (LoadProfile(&file, &saved) != 0 || saved.TableCount() != 1)
            return false;
        double extra = 0;
        return saved.GetTablePoints(saved.GetTableAt(0)->Key(), 0, five, &extra) == 0;
    }

    static std::string Text(int id)
    {
        static const bool loaded = CLangTable::GetInstance()->Load(ZARN_SOURCE_DIR "/data/String.txt") == 1;
        return loaded ? GetLangString(id) : std::string("(no texts)");
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

// The program on a simulated meter makes a profile from a folder of chart photographs: NEW, the
// wizard's pages, the save through the profile chooser; the saved profile lies on the tone curve
// the photographs were drawn from and the page's PC list holds it. The session's screenshots are
// kept in the build folder.
TEST_F(ZarndeskProcessTest, MakesAProfileFromChartPhotographsAndListsIt)
{
    const QString photos = Path("photos");
    ASSERT_TRUE(QDir().mkpath(photos));
    const std::vector<double> exposures = {-2, -1, 0};
    for (std::size_t i = 0; i < exposures.size(); ++i) {
        ZarnTest_ChartPoint truth[4];
        const std::string file = (photos + "/p" + QString::number(i) + ".jpg").toStdString();
        ASSERT_TRUE(chartseries::WritePhoto(file, 2, exposures[i], true, truth));
    }
    const QString shots = QStringLiteral(ZARN_BINARY_DIR "/screenshots/zarndesk-wizard");
    QDir(shots).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(shots));
    ASSERT_TRUE(QDir().mkpath(Path("data/Kestrin/Zarndesk/Profile")));
    env_.insert("ZARN_SIMULATED_METER", "T-520D");
    env_.insert("ZARN_SIMULATED_WIZARD", photos);
    env_.insert("ZARN_SIMULATED_WIZARD_NAME", "Gradus");
    env_.insert("ZARN_SCREENSHOT_DIR", shots);

    QProcess process;
    process.setProcessEnvironment(env_);
    process.setReadChannel(QProcess::StandardError);
    process.start(kProgram, {});
    ASSERT_TRUE(process.waitForStarted(30000));
    QByteArray said;
    const QByteArray listed = "zarndesk: pc list after the wizard: ";
    const bool made = WaitForLine(process, &said, listed);
    const bool ended = made && process.waitForFinished(30000);
    said += process.readAllStandardError();
    if (!ended) {
        process.kill();
        process.waitForFinished(30000);
    }
    ASSERT_TRUE(made) << said.constData();
    EXPECT_TRUE(ended) << "the program did not end after its main window was closed";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << said.constData();
    EXPECT_FALSE(said.contains("wizard session failed")) << said.constData();

    const int at = said.indexOf(listed) + listed.size();
    const QList<QByteArray> pc = said.mid(at, said.indexOf('\n', at) - at).split(',');
    EXPECT_TRUE(pc.contains("Gradus")) << said.constData();

    ZarnLib_Profile saved;
    const ZarnLibString file(Path("data/Kestrin/Zarndesk/Profile/Gradus.kpf").toStdString().c_str());
    ASSERT_EQ(LoadProfile(&file, &saved), 0);
    ASSERT_EQ(saved.TableCount(), 1);
    const ZarnLib_PatchKey key = saved.GetTableAt(0)->Key();
    EXPECT_EQ(key.GetIso(), 100);
    _ZARNLIB_VECTOR2 five[5];
    double extra = 0;
    ASSERT_EQ(saved.GetTablePoints(key, 0, five, &extra), 0);
    // The table's fifth point is the centre (EV 0); the others lie on the curve around it.
    EXPECT_EQ(five[4].x, 0.0);
    for (int i = 0; i < 5; ++i)
        EXPECT_LT(chartseries::OffToneCurve(five[i].x, five[i].y, five[4].y), 0.15) << "point " << i;

    for (const char* shot : {"profile-page", "new-choice", "wizard-step0", "wizard-step2", "wizard-step3", "wizard-step4",
                             "wizard-step5", "save-chooser", "profile-page-after"}) {
        const QStringList found = QDir(shots).entryList({QStringLiteral("*-%1.png").arg(shot)}, QDir::Files);
        EXPECT_EQ(found.size(), 1) << shot;
        if (!found.isEmpty()) {
            EXPECT_GT(QFileInfo(shots + "/" + found[0]).size(), 1000) << shot;
        }
    }
}

// The wizard refuses photographs that cannot make a sound profile, says which rule refused and
// which photographs, and marks them in the strip (unchecked and selected, the others still
// checked): a uniform grey in the middle of a series the
// chart covers (EV steps of 4 on Gradus II), at greys the camera does not clip.
TEST_F(ZarndeskProcessTest, TheWizardRefusesAUniformPictureInTheSeriesNamingItAndTheRule)
{
    const QByteArray refused = "zarndesk: wizard refused the photographs: ";
    for (const int grey : {40, 128, 200}) {
        SCOPED_TRACE(grey);
        const QString photos = Path("uniform" + QString::number(grey));
        ASSERT_TRUE(QDir().mkpath(photos));
        const double exposures[3] = {-4, 0, 4};
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(WriteShot((photos + "/p" + QString::number(i) + ".jpg").toStdString(), exposures[i], 840, 560,
                                  i == 1 ? grey : -1));
        const QByteArray said = RunWizard(photos, "Uniform", refused);
        EXPECT_EQ("unchecked p1.jpg; selected p1.jpg", LineAfter(said, refused)) << said.constData();
        EXPECT_TRUE(said.contains(QByteArray::fromStdString("zarndesk: prompt: p1.jpg\n" + Text(3068) + "\n")))
            << said.constData();
        EXPECT_FALSE(said.contains("pc list after the wizard")) << "no profile was made";
    }
}

// Gradus II at EV steps of 8: the photographs' neighbours lie further apart than the chart's four
// stops, so no photograph measures between them; the first such pair is named with its rule.
TEST_F(ZarndeskProcessTest, TheWizardRefusesASeriesWiderThanTheChartNamingThePair)
{
    const QString photos = Path("wide");
    ASSERT_TRUE(QDir().mkpath(photos));
    const double exposures[3] = {-8, 0, 8};
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(WriteShot((photos + "/p" + QString::number(i) + ".jpg").toStdString(), exposures[i], 840, 560));
    const QByteArray refused = "zarndesk: wizard refused the photographs: ";
    const QByteArray said = RunWizard(photos, "Wide", refused);
    EXPECT_EQ("unchecked p0.jpg,p1.jpg; selected p0.jpg", LineAfter(said, refused)) << said.constData();
    EXPECT_TRUE(said.contains(QByteArray::fromStdString("zarndesk: prompt: p0.jpg, p1.jpg\n" + Text(3072) + "\n")))
        << said.constData();
}

// A light streak 8 pixels high across the centre patch of one photograph, inside the patch's
// middle but outside its measured square, neither refuses the photograph nor moves the profile.
TEST_F(ZarndeskProcessTest, TheWizardMakesTheSameProfileWithAStreakOutsideTheMeasuredSquare)
{
    const QByteArray listed = "zarndesk: pc list after the wizard: ";
    ASSERT_TRUE(QDir().mkpath(Path("data/Kestrin/Zarndesk/Profile")));
    _ZARNLIB_VECTOR2 points[2][5];
    for (int streaked = 0; streaked < 2; ++streaked) {
        const QString photos = Path(streaked ? "streaked" : "plain");
        const QString name = streaked ? "Streaked" : "Plain";
        ASSERT_TRUE(QDir().mkpath(photos));
        const double exposures[3] = {-2, -1, 0};
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(WriteShot((photos + "/p" + QString::number(i) + ".jpg").toStdString(), exposures[i],
                                  chartseries::kPhotoW, chartseries::kPhotoH, -1, [&](ZarnTest_ChartSpec& chart) {
                                      if (streaked && i == 1) {
                                          // Slot 12 is the centre patch; it is 178 pixels high here.
                                          chart.streakSlot = 12;
                                          chart.streakOffset = 26;
                                      }
                                  }));
        }
        const QByteArray said = RunWizard(photos, name, listed);
        ASSERT_TRUE(LineAfter(said, listed).split(',').contains(name.toUtf8())) << said.constData();
        ASSERT_TRUE(SavedPoints(name, points[streaked]));
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(points[0][i].x, points[1][i].x, 0.1) << "point " << i;
        EXPECT_NEAR(points[0][i].y, points[1][i].y, 1.0) << "point " << i;
    }
}

// Under a virtual display, the start-up update check meets a server that answers and then sends a
// byte every two seconds. The user closes the check's dialog and the main window: the program ends
// once its closing splash (two seconds, as designed) is over, not held by the transfer.
TEST_F(ZarndeskProcessTest, ClosedDuringAStalledUpdateCheckItEndsSoon)
{
    const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
    if (xvfbRun.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed (scripts/setup.sh installs it)";
    for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) env_.remove(v);
    LoopbackHttpServer server;
    server.SetRoute("/ver/version.txt", LoopbackHttpServer::Drip());
    QFile registry(Path("config/registry.reg"));
    ASSERT_TRUE(registry.open(QIODevice::WriteOnly));
    registry.write("ZARN REGISTRY 1\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\KESTRIN\\Zarndesk\\Download Setting]\n"
                   "\"Base Url\"=\"" + QByteArray::fromStdString(server.BaseUrl()) + "\"\n"
                   "\"Version Confirm Url\"=\"ver/version.txt\"\n");
    registry.close();
    env_.remove("QT_QPA_PLATFORM");
    env_.insert("ZARN_SIMULATED_METER", "T-520D");
    env_.insert("ZARN_SIMULATED_CLOSE_ON_INPUT", "1");
    // In sanitizer builds: the X11 platform's D-Bus connection is the system library's to keep.
    const QString lsan = env_.value("LSAN_OPTIONS");
    env_.insert("LSAN_OPTIONS", (lsan.isEmpty() ? "" : lsan + ":") + "suppressions=" ZARN_SOURCE_DIR "/tests/lsan.supp");

    QProcess process;
    process.setProcessEnvironment(env_);
    process.setProcessChannelMode(QProcess::MergedChannels); // xvfb-run passes the error stream on as output
    process.start(xvfbRun, {"-a", "-s", "-screen 0 1280x1024x24", kProgram});
    ASSERT_TRUE(process.waitForStarted(30000));
    const bool checking = server.WaitForRequests(1, 60000);
    QElapsedTimer closing;
    closing.start();
    process.write("close\n");
    const bool ended = checking && process.waitForFinished(30000);
    const qint64 tookMs = closing.elapsed();
    const QByteArray said = process.readAll();
    if (!ended) {
        process.kill();
        process.waitForFinished(30000);
    }
    server.Stop();
    ASSERT_TRUE(checking) << "the update check never reached the server: " << said.constData();
    ASSERT_TRUE(ended) << said.constData();
    EXPECT_TRUE(said.contains("zarndesk: closing")) << said.constData();
    EXPECT_EQ(process.exitCode(), 0) << said.constData();
    EXPECT_LT(tookMs, 2000 + 2000) << "closing splash and end";
}

} // namespace
