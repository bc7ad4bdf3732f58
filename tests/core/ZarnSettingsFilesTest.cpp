#include "core/ZarnSettingsFiles.h"

#include "core/util/CIniFile.h"

#include <clocale>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Levels {
    int cpm, drm, drp, cpp, cnt;
    friend bool operator==(const Levels&, const Levels&) = default;
};

Levels ProgramLevels(const ZarnAppSettings& s)
{
    return {s.programCPM, s.programDRM, s.programDRP, s.programCPP, s.programCNT};
}

Levels UserLevels(const ZarnAppSettings& s)
{
    return {s.userCPM, s.userDRM, s.userDRP, s.userCPP, s.userCNT};
}

std::ostream& operator<<(std::ostream& out, const Levels& l)
{
    return out << l.cpm << ',' << l.drm << ',' << l.drp << ',' << l.cpp << ',' << l.cnt;
}

ZarnAppSettings LoadProgramText(const std::string& text, char decimal = '.')
{
    CIniFile file;
    file.Parse(text);
    ZarnAppSettings settings;
    ZarnSettingsFiles::LoadProgram(file, decimal, &settings);
    return settings;
}

ZarnAppSettings LoadUserText(const std::string& text, const Levels& program = {20, 35, 230, 245, 118})
{
    CIniFile file;
    file.Parse(text);
    ZarnAppSettings settings;
    settings.programCPM = program.cpm;
    settings.programDRM = program.drm;
    settings.programDRP = program.drp;
    settings.programCPP = program.cpp;
    settings.programCNT = program.cnt;
    ZarnSettingsFiles::LoadUser(file, &settings);
    return settings;
}

constexpr Levels kDefaults{20, 35, 230, 245, 118};

TEST(ZarnSettingsFilesTest, ProgramLevelsAreTakenOnlyAsAWholeGoodSet)
{
    const struct {
        const char* name;
        const char* text;
        Levels expected;
    } cases[] = {
        {"absent", "", kDefaults},
        {"good", "[Level]\nCPM=10\nDRM=30\nDRP=200\nCPP=250\nCNT=100\n", {10, 30, 200, 250, 100}},
        {"partly given", "[Level]\nCPM=0\nCPP=255\n", {0, 35, 230, 255, 118}},
        {"equal neighbours", "[Level]\nCPM=100\nDRM=100\nDRP=100\nCPP=100\nCNT=100\n", {100, 100, 100, 100, 100}},
        {"DRM above 255", "[Level]\nDRM=300\n", kDefaults},
        {"negative", "[Level]\nCPM=-1\n", kDefaults},
        {"CNT above DRP", "[Level]\nCNT=240\nDRP=230\n", kDefaults},
        {"CPP below DRP", "[Level]\nCPP=200\n", kDefaults},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgramLevels(LoadProgramText(c.text)), c.expected) << c.name;
    }
}

TEST(ZarnSettingsFilesTest, UserLevelsFallBackToTheProgramLevelsAsAWhole)
{
    const Levels program{10, 30, 200, 250, 100};
    EXPECT_EQ(UserLevels(LoadUserText("", program)), program);
    EXPECT_EQ(UserLevels(LoadUserText("[Level]\nCPM=15\nCNT=120\n", program)), (Levels{15, 30, 200, 250, 120}));
    // CPM 5 and CPP 255 are good values, but the set as a whole is broken by CNT.
    EXPECT_EQ(UserLevels(LoadUserText("[Level]\nCPM=5\nCPP=255\nCNT=999\n", program)), program);
}

TEST(ZarnSettingsFilesTest, CornersAreAllDefaultsUnlessAllFourAreGood)
{
    const double defaults[8] = {0.4, 0.4, 0.6, 0.4, 0.6, 0.6, 0.4, 0.6};
    const struct {
        const char* name;
        const char* wizard;
        bool taken;
    } cases[] = {
        {"absent", "", false},
        {"good", "LT=0.1,0.2\nRT=0.9,0.1\nRB=0.8,0.9\nLB=0.2,0.8\n", true},
        {"edges 0 and 1", "LT=0,0\nRT=1,0\nRB=1,1\nLB=0,1\n", true},
        {"semicolon", "LT=0.1;0.2\nRT=0.9,0.1\nRB=0.8,0.9\nLB=0.2,0.8\n", false},
        {"x above 1", "LT=1.2,0.2\nRT=0.9,0.1\nRB=0.8,0.9\nLB=0.2,0.8\n", false},
        {"one number", "LT=0.1\nRT=0.9,0.1\nRB=0.8,0.9\nLB=0.2,0.8\n", false},
        {"not a number", "LT=nan,0.2\nRT=0.9,0.1\nRB=0.8,0.9\nLB=0.2,0.8\n", false},
        {"crossed", "LT=0.9,0.1\nRT=0.1,0.2\nRB=0.8,0.9\nLB=0.2,0.8\n", false},
        {"last corner bad", "LT=0.1,0.2\nRT=0.9,0.1\nRB=0.8,0.9\nLB=-0.2,0.8\n", false},
    };
    const double good[8] = {0.1, 0.2, 0.9, 0.1, 0.8, 0.9, 0.2, 0.8};
    const double edges[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    for (const auto& c : cases) {
        const ZarnAppSettings s = LoadProgramText(std::string("[Wizard]\n") + c.wizard);
        const double* expected = !c.taken ? defaults : std::string(c.name) == "good" ? good : edges;
        for (int i = 0; i < 8; ++i) {
            EXPECT_DOUBLE_EQ(s.corners[i], expected[i]) << c.name << " coordinate " << i;
        }
    }
}

TEST(ZarnSettingsFilesTest, CornerTextsWithPointsReadUnderACommaLocale)
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr && std::setlocale(LC_NUMERIC, "de_DE.utf8") == nullptr) {
        GTEST_SKIP() << "no German locale installed";
    }
    // Points read on every system; the user's decimal character as well where points give no corner.
    const struct {
        const char* text;
        bool parsed;
        double x, y;
    } cases[] = {
        {"0.4,0.45", true, 0.4, 0.45}, {" 0.4, 0.45x", true, 0.4, 0.45}, {"1,0", true, 1, 0},
        {"0,4,0,45", true, 0.4, 0.45}, {"0,5,0", true, 0.5, 0},          {"0.4;0.4", false, 0, 0},
        {"0.4 ,0.4", false, 0, 0},     {"nan,0.2", false, 0, 0},        {"0.4,", false, 0, 0},
    };
    std::vector<bool> parsed;
    std::vector<std::pair<double, double>> values;
    for (const auto& c : cases) {
        double x = -1;
        double y = -1;
        parsed.push_back(ZarnSettingsFiles::ParseCorner(c.text, ',', &x, &y));
        values.emplace_back(x, y);
    }
    const ZarnAppSettings s = LoadProgramText("[Wizard]\nLT=0.1,0.2\nRT=0.9,0.1\nRB=0.8,0.9\nLB=0.2,0.8\n", ',');
    std::setlocale(LC_NUMERIC, previous.c_str());

    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(parsed[i], cases[i].parsed) << cases[i].text;
        if (cases[i].parsed) {
            EXPECT_EQ(values[i].first, cases[i].x) << cases[i].text;
            EXPECT_EQ(values[i].second, cases[i].y) << cases[i].text;
        }
    }
    EXPECT_DOUBLE_EQ(s.corners[0], 0.1);
    EXPECT_DOUBLE_EQ(s.corners[7], 0.8);
}

TEST(ZarnSettingsFilesTest, OnlyDumpOneTurnsTheLogOn)
{
    EXPECT_FALSE(LoadProgramText("").calculationLog);
    EXPECT_TRUE(LoadProgramText("[Wizard]\nDUMP=1\n").calculationLog);
    EXPECT_FALSE(LoadProgramText("[Wizard]\nDUMP=2\n").calculationLog);
    EXPECT_FALSE(LoadProgramText("[Wizard]\nDUMP=-1\n").calculationLog);
}

TEST(ZarnSettingsFilesTest, WizardChoicesAreCheckedWhenRead)
{
    const struct {
        const char* key;
        int stored;
        int expected;
        int ZarnAppSettings::*field;
    } cases[] = {
        // Every chart the wizard offers survives; the ColorChecker (2) and SpyderCHECKR (5) were
        // once forgotten at each start.
        {"Target", 0, 0, &ZarnAppSettings::Target},
        {"Target", 1, 1, &ZarnAppSettings::Target},
        {"Target", 2, 2, &ZarnAppSettings::Target},
        {"Target", 5, 5, &ZarnAppSettings::Target},
        {"Target", 3, 0, &ZarnAppSettings::Target},
        {"Target", 6, 0, &ZarnAppSettings::Target},
        {"Target", -1, 0, &ZarnAppSettings::Target},
        {"LightSource", 1, 1, &ZarnAppSettings::LightSource},
        {"LightSource", 2, 0, &ZarnAppSettings::LightSource},
        {"IsoSpeed", 13107200, 13107200, &ZarnAppSettings::IsoSpeed},
        {"IsoSpeed", 3, 3, &ZarnAppSettings::IsoSpeed},
        {"IsoSpeed", 120, 100, &ZarnAppSettings::IsoSpeed},
        {"ShutterSpeedIL", 81, 81, &ZarnAppSettings::ShutterSpeedIL},
        {"ShutterSpeedIL", 55, 54, &ZarnAppSettings::ShutterSpeedIL},
        {"ShutterSpeedRL", 84, 54, &ZarnAppSettings::ShutterSpeedRL},
        {"ApertureIL", 8, 8, &ZarnAppSettings::ApertureIL},
        {"ApertureIL", 9, 20, &ZarnAppSettings::ApertureIL},
        {"ApertureRL", 50, 20, &ZarnAppSettings::ApertureRL},
        {"1/10IL", 9, 9, &ZarnAppSettings::TenthsIL},
        {"1/10IL", 10, 0, &ZarnAppSettings::TenthsIL},
        {"1/10RL", -1, 0, &ZarnAppSettings::TenthsRL},
    };
    for (const auto& c : cases) {
        const ZarnAppSettings s =
            LoadUserText(std::string("[Wizard]\n") + c.key + "=" + std::to_string(c.stored) + "\n");
        EXPECT_EQ(s.*c.field, c.expected) << c.key << '=' << c.stored;
    }
    const ZarnAppSettings absent = LoadUserText("");
    EXPECT_EQ(absent.Target, 0);
    EXPECT_EQ(absent.IsoSpeed, 100);
    EXPECT_EQ(absent.ShutterSpeedIL, 54);
    EXPECT_EQ(absent.ApertureRL, 20);
    EXPECT_EQ(absent.ImgDir, "");
}

TEST(ZarnSettingsFilesTest, UserSettingsRoundTripAndAreWrittenWithoutChecks)
{
    ZarnAppSettings s;
    s.userCPM = 11;
    s.userDRM = 22;
    s.userDRP = 222;
    s.userCPP = 233;
    s.userCNT = 111;
    s.Target = 5;
    s.LightSource = 1;
    s.IsoSpeed = 400;
    s.ShutterSpeedIL = 60;
    s.ApertureIL = 26;
    s.TenthsIL = 3;
    s.ShutterSpeedRL = 33;
    s.ApertureRL = 8;
    s.TenthsRL = 9;
    s.FrameRateIL = 24; // held in memory only
    s.ImgDir = "/home/user/Pictures/chart shots";
    CIniFile file;
    ZarnSettingsFiles::StoreUser(s, &file);

    CIniFile reread;
    reread.Parse(file.Text());
    const ZarnAppSettings back = LoadUserText(reread.Text());
    EXPECT_EQ(UserLevels(back), (Levels{11, 22, 222, 233, 111}));
    EXPECT_EQ(back.Target, 5);
    EXPECT_EQ(back.LightSource, 1);
    EXPECT_EQ(back.IsoSpeed, 400);
    EXPECT_EQ(back.ShutterSpeedIL, 60);
    EXPECT_EQ(back.ApertureIL, 26);
    EXPECT_EQ(back.TenthsIL, 3);
    EXPECT_EQ(back.ShutterSpeedRL, 33);
    EXPECT_EQ(back.ApertureRL, 8);
    EXPECT_EQ(back.TenthsRL, 9);
    EXPECT_EQ(back.ImgDir, s.ImgDir);
    EXPECT_EQ(back.FrameRateIL, 0);
    EXPECT_FALSE(reread.HasKey("Wizard", "LT")) << "corners stay in the program file";

    // Memory is written as it is; the checks apply when it is read again.
    s.IsoSpeed = 120;
    s.userCNT = 999;
    ZarnSettingsFiles::StoreUser(s, &file);
    EXPECT_EQ(file.GetInt("Wizard", "IsoSpeed", 0), 120);
    EXPECT_EQ(file.GetInt("Level", "CNT", 0), 999);
}

} // namespace
