// The profile file commands over a scratch Profile folder: import and export with their questions
// and failures (no path loses or overwrites a profile), the preparation of version-2 copies, the
// selection dialog and the initial-levels dialog.
#include "tests/ui/main/ProfilePageRig.h"

#include "core/CKZARN_Common.h"
#include "core/ZarnAppSettings.h"
#include "core/util/CLangTable.h"
#include "platform/TemporaryFiles.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "tests/support/ScriptedPromptService.h"
#include "ui/controls/CKZARN_OpenProfileDlg.h"
#include "ui/main/CKZARN_ProfileCommands.h"
#include "ui/main/CKZARN_SelModeDlg.h"
#include "ui/main/CKZARN_SetInitvalDlg.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <fstream>



namespace {

namespace fs = std::filesystem;

// TRUE when no temporary file of a profile is left in the folder.
bool NoTemporaryFiles(const std::string& folder)
{
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (TemporaryFiles::IsTemporaryName(entry.path().filename().string())) return false;
    }
    return true;
}

struct CommandRig {
    ProfilePageRig page;
    ScriptedPromptService prompts;
    std::string outside;

    CommandRig()
    {
        page.rig.Start();
        outside = page.rig.scratch.File("outside");
        fs::create_directories(outside);
    }
    std::string Outside(const std::string& name) const { return outside + "/" + name; }
    static std::pair<short, short> Version(const std::string& path)
    {
        short version = -1;
        short sub = -1;
        CKZARN_Common::ReadProfileVersion(path, &version, &sub);
        return {version, sub};
    }
    // The chooser answers with these names (and format version, when it offers the choice).
    void ChooseProfiles(std::vector<std::string> names, int version = 3)
    {
        CKZARN_ProfileWindows::Current().runChooser = [names, version](CKZARN_OpenProfileDlg& dialog) {
            dialog.OnInitDialog();
            auto* combo = static_cast<QComboBox*>(dialog.FindControl(CKZARN_OpenProfileDlg::kVersionComboId));
            if (combo->count() > 0) {
                combo->setCurrentIndex(version == 2 ? 0 : 1);
                emit combo->activated(combo->currentIndex());
            }
            for (const std::string& name : names) {
                dialog.List()->SelectItem(ProfilePageRig::Row(dialog.List(), name), true, false);
            }
            dialog.OnOK();
            return dialog.result();
        };
    }
    void ImportFiles(std::vector<std::string> paths)
    {
        CKZARN_ProfileWindows::Current().openFiles = [paths](const std::string&, const CKZARN_ProfileWindows::Filters&,
                                                             bool multiple) {
            EXPECT_TRUE(multiple);
            return paths;
        };
    }
    void ExportTo(const std::string& folder)
    {
        CKZARN_ProfileWindows::Current().browseFolder = [folder](QWidget*, const std::string&) { return folder; };
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const auto& p : prompts.Prompts()) texts.push_back(p.fourButtons ? p.texts[1] : p.text);
        return texts;
    }
};

TEST(ProfileImportTest, AVersionTwoProfileIsStoredAsVersionThree)
{
    CommandRig r;
    ASSERT_TRUE(TestProfileFiles::Write(r.Outside("older.kpf"), 2, 0, {100}));
    r.ImportFiles({r.Outside("older.kpf")});
    CKZARN_ProfileCommands::Import(nullptr, r.page.Page());
    EXPECT_TRUE(r.prompts.Prompts().empty());
    EXPECT_EQ(CommandRig::Version(r.page.File("older")), (std::pair<short, short>{3, 0}));
    EXPECT_EQ(TestProfileFiles::Read(r.Outside("older.kpf")).empty(), false);
    EXPECT_NE(ProfilePageRig::Row(r.page.Page()->PcList(), "older"), -1);
    EXPECT_TRUE(NoTemporaryFiles(r.page.profiles));
}

struct ImportCase {
    const char* name;
    std::vector<int> answers;           // to the questions, in order
    std::vector<const char*> sources;   // files in the outside folder: alpha and beta exist already
    bool unreadableAlpha;               // the outside alpha is cut short
    bool blockedAlpha;                  // the copy beside the profile cannot be made
    std::vector<int> expectedTexts;     // texts shown (ids; 6024 names the profile first)
    bool alphaReplaced;
    bool betaReplaced;
    bool gammaImported;
};

class ProfileImportTableTest : public ::testing::TestWithParam<ImportCase> {};

TEST_P(ProfileImportTableTest, ExistingProfilesChangeOnlyWhenAFileWasImportedWhole)
{
    const ImportCase& c = GetParam();
    CommandRig r;
    // The outside files differ from the stored ones, so a replacement shows.
    ASSERT_TRUE(TestProfileFiles::Write(r.Outside("alpha.kpf"), 3, 0, {100, 200, 400}));
    ASSERT_TRUE(TestProfileFiles::Write(r.Outside("beta.kpf"), 3, 0, {100, 800}));
    ASSERT_TRUE(TestProfileFiles::Write(r.Outside("gamma.kpf"), 3, 0, {100}));
    ASSERT_TRUE(TestProfileFiles::Write(r.Outside("bad,name.kpf"), 3, 0, {100}));
    if (c.unreadableAlpha) {
        ASSERT_TRUE(TestProfileFiles::WriteBroken(r.Outside("alpha.kpf"), 3, 0));
    }
    if (c.blockedAlpha) {
        fs::create_directories(r.page.File("alpha") + ".part");
    }
    const std::string alpha = TestProfileFiles::Read(r.page.File("alpha"));
    const std::string beta = TestProfileFiles::Read(r.page.File("beta"));
    std::vector<std::string> paths;
    for (const char* source : c.sources) paths.push_back(r.Outside(source));
    r.ImportFiles(paths);
    for (int answer : c.answers) r.prompts.Answer(answer);

    CKZARN_ProfileCommands::Import(nullptr, r.page.Page());

    std::vector<std::string> expected;
    for (int id : c.expectedTexts) {
        expected.push_back(id == 6024   ? std::string("alpha") + GetLangString(6024)
                           : id == 6025 ? std::string("beta") + GetLangString(6024)
                           : id == 10015 ? r.Outside("alpha.kpf") + "\n" + GetLangString(id)
                                        : GetLangString(id));
    }
    EXPECT_EQ(r.Texts(), expected);
    EXPECT_EQ(TestProfileFiles::Read(r.page.File("alpha")) != alpha, c.alphaReplaced);
    EXPECT_EQ(TestProfileFiles::Read(r.page.File("beta")) != beta, c.betaReplaced);
    EXPECT_EQ(fs::exists(r.page.File("gamma")), c.gammaImported);
    if (c.alphaReplaced) {
        EXPECT_EQ(TestProfileFiles::Read(r.page.File("alpha")), TestProfileFiles::Read(r.Outside("alpha.kpf")));
    }
    EXPECT_TRUE(NoTemporaryFiles(r.page.profiles));
    EXPECT_FALSE(fs::exists(r.page.File("bad,name")));
    for (const auto& p : r.prompts.Prompts()) {
        if (p.fourButtons) {
            EXPECT_EQ(p.texts.size(), 6u);
            EXPECT_EQ(p.texts[2], GetLangString(143));
            EXPECT_EQ(p.texts[3], GetLangString(145));
            EXPECT_EQ(p.texts[4], GetLangString(144));
            EXPECT_EQ(p.texts[5], GetLangString(11));
            EXPECT_EQ(p.defaultResult, 257);
        }
    }
}

// 6025 in the expectations stands for "beta" + text 6024.
INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileImportTableTest,
    ::testing::Values(
        ImportCase{"ReplaceOne", {257}, {"alpha.kpf", "gamma.kpf"}, false, false, {6024}, true, false, true},
        ImportCase{"SkipOne", {259}, {"alpha.kpf", "gamma.kpf"}, false, false, {6024}, false, false, true},
        ImportCase{"CancelStops", {256}, {"alpha.kpf", "gamma.kpf"}, false, false, {6024}, false, false, false},
        ImportCase{"AllAtOnce", {258}, {"alpha.kpf", "beta.kpf", "gamma.kpf"}, false, false, {6024}, true, true, true},
        ImportCase{"BadName", {}, {"bad,name.kpf", "gamma.kpf"}, false, false, {10016}, false, false, false},
        ImportCase{"Unreadable", {257}, {"alpha.kpf", "gamma.kpf"}, true, false, {6024, 10015}, false, false, false}),
    [](const ::testing::TestParamInfo<ImportCase>& param) { return std::string(param.param.name); });

// Version 3 copies the files unchanged; version 2 drops the tables above ISO 8000 and keeps CPM and
// CPP within -7..+7 EV in the exported copy only.
TEST(ProfileExportTest, ExportsCopiesInTheChosenVersion)
{
    CommandRig r;
    ASSERT_TRUE(TestProfileFiles::WriteMeasured(r.page.File("wide"), {100, 8000, 12800, 409600}, -8.5, 8.0));
    const std::string wide = TestProfileFiles::Read(r.page.File("wide"));
    fs::copy_file(r.page.File("wide"), r.Outside("probe.kpf"));
    EXPECT_EQ(CKZARN_MainDlg::PrepareProfileForV2(r.Outside("probe.kpf")), 0);
    fs::remove(r.Outside("probe.kpf"));
    r.ExportTo(r.outside);
    r.ChooseProfiles({"alpha", "beta"});
    CKZARN_ProfileCommands::Export(nullptr);
    EXPECT_TRUE(r.prompts.Prompts().empty());
    EXPECT_EQ(TestProfileFiles::Read(r.Outside("alpha.kpf")), TestProfileFiles::Read(r.page.File("alpha")));
    EXPECT_EQ(TestProfileFiles::Read(r.Outside("beta.kpf")), TestProfileFiles::Read(r.page.File("beta")));

    r.ChooseProfiles({"wide"}, 2);
    CKZARN_ProfileCommands::Export(nullptr);
    EXPECT_EQ(r.Texts(), std::vector<std::string>{});
    EXPECT_EQ(TestProfileFiles::Read(r.page.File("wide")), wide);
    EXPECT_EQ(CommandRig::Version(r.Outside("wide.kpf")), (std::pair<short, short>{2, 0}));
    ZarnLib_Profile exported;
    const ZarnLibString file(r.Outside("wide.kpf").c_str());
    ASSERT_EQ(LoadProfile(&file, &exported), 0);
    EXPECT_EQ(exported.TableCount(), 2);
    for (int iso : {100, 8000}) {
        ZarnLib_PatchKey key;
        key.SetIso(iso);
        for (int block = 0; block < 2; ++block) {
            _ZARNLIB_VECTOR2 five[5];
            double offset = 0.0;
            ASSERT_EQ(exported.GetTablePoints(key, block, five, &offset), 0);
            EXPECT_GE(five[0].x, -7.000001) << iso;
            EXPECT_LE(five[3].x, 7.000001) << iso;
            EXPECT_LE(five[0].x, five[1].x);
            EXPECT_LE(five[2].x, five[3].x);
        }
    }
}

struct ExportFailure {
    const char* name;
    int version;
    const char* profile;
    int textId;
};

class ProfileExportFailureTest : public ::testing::TestWithParam<ExportFailure> {};

// Every refused export leaves the source as it was and nothing behind in the folder.
TEST_P(ProfileExportFailureTest, RefusalsLeaveEverythingAsItWas)
{
    const ExportFailure& c = GetParam();
    CommandRig r;
    ASSERT_TRUE(TestProfileFiles::WriteMeasured(r.page.File("high"), {12800, 25600}, -3.5, 3.5));
    const std::string before = TestProfileFiles::Read(r.page.File(c.profile));
    std::string folder = r.outside;
    if (std::string(c.name).rfind("IntoTheProfileFolder", 0) == 0) folder = r.page.profiles;
    if (std::string(c.name) == "MissingFolder") folder = r.Outside("missing");
    r.ExportTo(folder);
    r.ChooseProfiles({c.profile}, c.version);
    r.prompts.Answer(257);
    CKZARN_ProfileCommands::Export(nullptr);
    ASSERT_FALSE(r.Texts().empty());
    EXPECT_EQ(r.Texts().back(), GetLangString(c.textId));
    EXPECT_EQ(TestProfileFiles::Read(r.page.File(c.profile)), before);
    if (folder == r.outside) {
        EXPECT_TRUE(fs::is_empty(r.outside));
    }
    EXPECT_TRUE(NoTemporaryFiles(r.page.profiles));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileExportFailureTest,
    ::testing::Values(ExportFailure{"OnlyHighIso", 2, "high", 6026},
                      ExportFailure{"IntoTheProfileFolder", 2, "alpha", 6026},
                      ExportFailure{"IntoTheProfileFolderV3", 3, "alpha", 6026},
                      ExportFailure{"MissingFolder", 3, "alpha", 20010}),
    [](const ::testing::TestParamInfo<ExportFailure>& param) { return std::string(param.param.name); });

// Delete moves the chosen profile to the Trash without a question; rename to another letter case
// renames the file, to the same name does nothing.
TEST(ProfileDeleteRenameTest, DeleteAndRename)
{
    CommandRig r;
    r.ChooseProfiles({"beta"});
    CKZARN_ProfileCommands::Delete(nullptr, r.page.Page());
    EXPECT_FALSE(fs::exists(r.page.File("beta")));
    EXPECT_TRUE(fs::exists(r.page.rig.scratch.File("data/Trash/files/beta.kpf")));
    EXPECT_EQ(ProfilePageRig::Row(r.page.Page()->PcList(), "beta"), -1);

    int runs = 0;
    CKZARN_ProfileWindows::Current().runChooser = [&runs](CKZARN_OpenProfileDlg& dialog) {
        dialog.OnInitDialog();
        if (runs++ == 0) {
            dialog.List()->SelectItem(ProfilePageRig::Row(dialog.List(), "alpha"), true, false);
        } else {
            dialog.findChild<QLineEdit*>()->setText("Alpha");
        }
        dialog.OnOK();
        return dialog.result();
    };
    const std::string alpha = TestProfileFiles::Read(r.page.File("alpha"));
    CKZARN_ProfileCommands::Rename(nullptr, r.page.Page());
    EXPECT_EQ(runs, 2);
    EXPECT_FALSE(fs::exists(r.page.File("alpha")));
    EXPECT_EQ(TestProfileFiles::Read(r.page.File("Alpha")), alpha);
    EXPECT_NE(ProfilePageRig::Row(r.page.Page()->PcList(), "Alpha"), -1);
    EXPECT_TRUE(r.prompts.Prompts().empty());
}

// The guide: missing, or without a program for its type.
TEST(ProfileGuideTest, MissingGuideAndUnknownType)
{
    CommandRig r;
    bool opened = false;
    CKZARN_ProfileWindows::Current().openDocument = [&opened](const std::string&) { return opened = true; };
    CKZARN_ProfileCommands::OpenGuide(r.page.rig.scratch.File("program/Zarndesk_Guide.pdf"));
    const std::string guide = r.page.rig.scratch.File("program/Zarndesk_Guide.zqx");
    std::ofstream(guide) << "guide";
    CKZARN_ProfileCommands::OpenGuide(guide);
    ASSERT_EQ(r.Texts().size(), 2u);
    EXPECT_EQ(r.Texts()[0], GetLangString(10009));
    std::string unknown = GetLangString(10010);
    unknown.replace(unknown.find("%s"), 2, "ZQX");
    EXPECT_EQ(r.Texts()[1], unknown);
    EXPECT_FALSE(opened);
}

// The selection dialog: the reference choice has two ways and is 300 pixels high, the others three
// and 420; Esc gives -1.
TEST(SelModeDlgTest, ChoicesFollowTheTable)
{
    const struct {
        int type;
        bool third;
        int height;
        int caption;
    } cases[] = {{0, true, 420, 2000}, {1, false, 300, 2010}, {2, true, 420, 2020}};
    for (const auto& c : cases) {
        CKZARN_SelModeDlg dialog(nullptr);
        ASSERT_TRUE(dialog.SetType(c.type));
        dialog.OnInitDialog();
        EXPECT_FALSE(dialog.SetType(c.type));
        EXPECT_EQ(dialog.windowTitle().toStdString(), GetLangString(c.caption));
        EXPECT_EQ(dialog.height(), c.height);
        EXPECT_EQ(dialog.width(), 290);
        EXPECT_EQ(!dialog.FindControl(1040)->isHidden(), c.third);
        EXPECT_EQ(!dialog.FindControl(1159)->isHidden(), c.third);
        static_cast<QPushButton*>(dialog.FindControl(1039))->click();
        EXPECT_EQ(dialog.result(), 1);
        dialog.reject();
        EXPECT_EQ(dialog.result(), -1);
    }
    CKZARN_SelModeDlg other(nullptr);
    EXPECT_FALSE(other.SetType(3));
}

struct LevelCase {
    const char* cpm;
    const char* drm;
    const char* cnt;
    const char* drp;
    const char* cpp;
    int textId; // 0: stored
};

class SetInitvalDlgTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(SetInitvalDlgTest, LevelsAreWholeNumbersInOrder)
{
    const LevelCase& c = GetParam();
    ScriptedPromptService prompts;
    ZarnAppSettings settings;
    CKZARN_SetInitvalDlg dialog(nullptr, &settings);
    dialog.OnInitDialog();
    const std::pair<int, const char*> typed[] = {{CKZARN_SetInitvalDlg::kCpmEditId, c.cpm},
                                                 {CKZARN_SetInitvalDlg::kDrmEditId, c.drm},
                                                 {CKZARN_SetInitvalDlg::kCntEditId, c.cnt},
                                                 {CKZARN_SetInitvalDlg::kDrpEditId, c.drp},
                                                 {CKZARN_SetInitvalDlg::kCppEditId, c.cpp}};
    for (const auto& [id, text] : typed) static_cast<QLineEdit*>(dialog.FindControl(id))->setText(text);
    dialog.setResult(0);
    dialog.OnOK();
    if (c.textId == 0) {
        EXPECT_TRUE(prompts.Prompts().empty());
        EXPECT_EQ(dialog.result(), IDOK);
        EXPECT_EQ(settings.userCPM, std::atoi(c.cpm));
        EXPECT_EQ(settings.userDRM, std::atoi(c.drm));
        EXPECT_EQ(settings.userCNT, std::atoi(c.cnt));
        EXPECT_EQ(settings.userDRP, std::atoi(c.drp));
        EXPECT_EQ(settings.userCPP, std::atoi(c.cpp));
        return;
    }
    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_EQ(prompts.Prompts()[0].text, GetLangString(c.textId));
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(settings.userCPM, 20);
    EXPECT_EQ(settings.userCPP, 245);
}

INSTANTIATE_TEST_SUITE_P(Levels, SetInitvalDlgTest,
                         ::testing::Values(LevelCase{"20", "35", "118", "230", "245", 0},
                                           LevelCase{"30", "30", "30", "30", "30", 0},
                                           LevelCase{"0", "0", "0", "0", "255", 0},
                                           LevelCase{"40", "35", "118", "230", "245", 8004},
                                           LevelCase{"20", "35", "118", "230", "256", 8003},
                                           LevelCase{"", "35", "118", "230", "245", 8003}));

// Letters and signs are no level; the factory defaults followed by Cancel change nothing.
TEST(SetInitvalDlgDefaultsTest, ParsingAndDefaults)
{
    EXPECT_EQ(CKZARN_SetInitvalDlg::ParseLevel("abc"), std::nullopt);
    EXPECT_EQ(CKZARN_SetInitvalDlg::ParseLevel("-1"), std::nullopt);
    EXPECT_EQ(CKZARN_SetInitvalDlg::ParseLevel("1000"), std::nullopt);
    EXPECT_EQ(CKZARN_SetInitvalDlg::ParseLevel("007"), 7);
    ZarnAppSettings settings;
    settings.userCPM = 1;
    settings.programCPM = 12;
    CKZARN_SetInitvalDlg dialog(nullptr, &settings);
    dialog.OnInitDialog();
    auto* cpm = static_cast<QLineEdit*>(dialog.FindControl(CKZARN_SetInitvalDlg::kCpmEditId));
    EXPECT_EQ(cpm->text().toStdString(), "1");
    dialog.OnDefaults();
    EXPECT_EQ(cpm->text().toStdString(), "12");
    dialog.reject();
    EXPECT_EQ(settings.userCPM, 1);
}

} // namespace
