// Profile names compare without regard to letter case in every rename and import: a rename never
// replaces another profile's file, a change of letter case alone renames, an import of another
// spelling replaces the one profile of that name (after the question), and a failed move is told.
// On every refusal each file of the Profile folder stays byte for byte as it was.
#include "tests/ui/main/ProfilePageRig.h"

#include "core/util/CLangTable.h"
#include "tests/support/ScriptedPromptService.h"
#include "ui/controls/CKZARN_OpenProfileDlg.h"
#include "ui/main/CKZARN_ProfileCommands.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>

#include <map>

namespace {

namespace fs = std::filesystem;

enum class Path { PageRename, ChooserRename, Import };

struct NameCase {
    std::string name;
    Path path;
    std::vector<const char*> extra; // profiles added beside alpha and beta, each with contents of its own
    const char* from;               // the profile renamed, or the file imported from outside
    const char* to;                 // the new name (rename)
    bool blockTarget;               // a folder holds the target's file name: the move itself fails
    int answer;                     // import: the answer to the replace question (0: none asked)
    int textId;                     // the refusal told (0: none)
    // What the folder holds afterwards when something changed: file name -> the file it came from
    // (a file name of the folder before, or "outside").
    std::map<std::string, std::string> after;
};

// Every regular file of the folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[entry.path().filename().string()] = TestProfileFiles::Read(entry.path().string());
        }
    }
    return files;
}

void PrintTo(const NameCase& c, std::ostream* os)
{
    *os << c.name;
}

class ProfileNameCaseTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ProfileNameCaseTest, NoProfileIsEverReplacedByAnother)
{
    const NameCase& c = GetParam();
    ProfilePageRig page;
    int iso = 200;
    for (const char* name : c.extra) {
        ASSERT_TRUE(TestProfileFiles::Write(page.File(name), 3, 0, {100, iso}));
        iso *= 2;
    }
    if (c.blockTarget) fs::create_directories(page.File(c.to));
    const std::string outside = page.rig.scratch.File("outside");
    fs::create_directories(outside);
    const std::string source = outside + "/" + c.from + ".kpf";
    ASSERT_TRUE(TestProfileFiles::Write(source, 3, 0, {100, 6400}));
    page.rig.Start();
    CKZARN_MainProfileForm* form = page.Page();
    const std::map<std::string, std::string> before = Snapshot(page.profiles);

    ScriptedPromptService prompts;
    if (c.answer != 0) prompts.Answer(c.answer);
    if (c.path == Path::PageRename) {
        const int row = ProfilePageRig::Row(form->PcList(), c.from);
        ASSERT_NE(row, -1);
        form->PcList()->SelectItem(row, true, true);
        form->OnRenameProfile();
        form->OnEndLabelEdit(row, std::string(c.to));
        QCoreApplication::processEvents();
    } else if (c.path == Path::ChooserRename) {
        int runs = 0;
        CKZARN_ProfileWindows::Current().runChooser = [&](CKZARN_OpenProfileDlg& dialog) {
            dialog.OnInitDialog();
            if (runs++ == 0) {
                dialog.List()->SelectItem(ProfilePageRig::Row(dialog.List(), c.from), true, false);
            } else {
                dialog.findChild<QLineEdit*>()->setText(c.to);
            }
            dialog.OnOK();
            return dialog.result();
        };
        CKZARN_ProfileCommands::Rename(nullptr, form);
    } else {
        CKZARN_ProfileWindows::Current().openFiles = [source](const std::string&, const CKZARN_ProfileWindows::Filters&,
                                                              bool) { return std::vector<std::string>{source}; };
        CKZARN_ProfileCommands::Import(nullptr, form);
    }

    std::vector<std::string> told;
    for (const auto& p : prompts.Prompts()) told.push_back(p.fourButtons ? p.texts[1] : p.text);
    const std::map<std::string, std::string> now = Snapshot(page.profiles);
    if (c.textId != 0) {
        ASSERT_FALSE(told.empty());
        EXPECT_NE(told.back().find(GetLangString(c.textId)), std::string::npos) << told.back();
        EXPECT_EQ(now, before) << "a refusal changes no profile";
        if (c.blockTarget) {
            EXPECT_TRUE(fs::is_directory(page.File(c.to)));
        }
        return;
    }
    if (c.answer != 0) {
        ASSERT_EQ(told.size(), 1u);
        EXPECT_EQ(told[0], std::string(c.from) + GetLangString(6024));
    } else {
        EXPECT_TRUE(told.empty()) << told.front();
    }
    std::map<std::string, std::string> expected;
    for (const auto& [file, origin] : c.after) {
        expected[file] = origin == "outside" ? TestProfileFiles::Read(source) : before.at(origin);
    }
    EXPECT_EQ(now, expected);
    for (const auto& [file, origin] : c.after) {
        const std::string name = file.substr(0, file.size() - 4);
        if (name != "old") { // the PC list shows version-3 profiles only
            EXPECT_NE(ProfilePageRig::Row(form->PcList(), name), -1) << name;
        }
    }
}

const std::map<std::string, std::string> kUntouched = {
    {"alpha.kpf", "alpha.kpf"}, {"beta.kpf", "beta.kpf"}, {"old.kpf", "old.kpf"}};

std::map<std::string, std::string> With(std::map<std::string, std::string> files,
                                        std::initializer_list<std::pair<const std::string, std::string>> changes,
                                        std::initializer_list<std::string> gone = {})
{
    for (const std::string& file : gone) files.erase(file);
    for (const auto& change : changes) files[change.first] = change.second;
    return files;
}

std::vector<NameCase> Cases()
{
    std::vector<NameCase> cases;
    for (const Path path : {Path::PageRename, Path::ChooserRename}) {
        const std::string p = path == Path::PageRename ? "Page" : "Chooser";
        const auto name = [&p](const char* what) { return p + what; };
        cases.push_back({name("CaseOnly"), path, {}, "alpha", "ALPHA", false, 0, 0,
                         With(kUntouched, {{"ALPHA.kpf", "alpha.kpf"}}, {"alpha.kpf"})});
        cases.push_back({name("CaseOnlyOntoOtherSpelling"), path, {"foo", "FOO"}, "foo", "FOO", false, 0, 10003, {}});
        cases.push_back({name("CaseOnlyThirdSpelling"), path, {"foo", "FOO"}, "foo", "Foo", false, 0, 10003, {}});
        cases.push_back({name("OtherProfileInOtherCase"), path, {}, "alpha", "BETA", false, 0, 10003, {}});
        cases.push_back({name("FailedMove"), path, {}, "alpha", "gamma", true, 0, 6009, {}});
        cases.push_back({name("NewName"), path, {}, "alpha", "gamma", false, 0, 0,
                         With(kUntouched, {{"gamma.kpf", "alpha.kpf"}}, {"alpha.kpf"})});
    }
    cases.push_back({"ImportOtherSpellingReplaces", Path::Import, {}, "ALPHA", "", false, 257, 0,
                     With(kUntouched, {{"alpha.kpf", "outside"}})});
    cases.push_back({"ImportOtherSpellingSkipped", Path::Import, {}, "ALPHA", "", false, 259, 0, kUntouched});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileNameCaseTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<NameCase>& param) { return param.param.name; });

} // namespace
