// The wizard's calculation run as the step machine drives it (the calculation thread under its
// modal progress dialog): the result, discarding it, a failed run, storing, saving and cancelling
// with a result. These run in the plain test program: the modal dialogs start Qt's own threads,
// which ThreadSanitizer cannot follow inside the uninstrumented Qt libraries; the calculation's
// threads are checked under it by WizardCalculationThreadsTest, without windows.
#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"
#include "tests/ui/wizard/WizardRig.h"
#include "ui/wizard/CKZARN_WizFileData.h"

#include <QApplication>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>

using namespace wizardtest;

namespace {

TEST(WizardRun, CalculatesAndDiscardingGivesTheEarlierTableBack)
{
    WizardRig rig;
    CKZARN_WizardDlg& w = rig.Open(1);
    // The profile already holds a table for the condition (an earlier result, kept by Extra).
    ZarnLib_PatchKey key = Condition(100, 0);
    key.SetChartKind(2);
    ZarnLib_CnvPolyLine curve;
    const _ZARNLIB_VECTOR2 points[2] = {{0, 10}, {1, 200}};
    curve.SetPoints(points, 2, false);
    ASSERT_EQ(0, w.Profile().AddEntry(key, ZarnLib_EntryKey(), curve));
    ZarnLib_Profile before;
    ASSERT_EQ(0, WizardProfileSnapshot::CopyProfile(w.Profile(), &before));

    rig.settings.calculationLog = 1;
    WalkToResult(rig);
    ASSERT_EQ(5, w.GetStep());
    EXPECT_TRUE(rig.prompts.Prompts().empty()) << (rig.prompts.Prompts().empty() ? "" : rig.prompts.Prompts()[0].text);
    // One log block with a file-name and a corner line per chosen photograph.
    std::ifstream logFile(CKZARN_Common::GetFolderPath(7) + "/KZARN_Calc.log", std::ios::binary);
    const std::string log((std::istreambuf_iterator<char>(logFile)), std::istreambuf_iterator<char>());
    int names = 0, corners = 0;
    for (std::size_t at = log.find("FileName : "); at != std::string::npos; at = log.find("FileName : ", at + 1))
        ++names;
    for (std::size_t at = log.find("Corner   : "); at != std::string::npos; at = log.find("Corner   : ", at + 1))
        ++corners;
    EXPECT_EQ(3, names);
    EXPECT_EQ(3, corners);
    EXPECT_EQ(0u, log.find("---------- "));
    EXPECT_EQ(1, w.ResultPending());
    EXPECT_EQ(0.0, w.ResultPoints().ev[2]);
    EXPECT_EQ(80, w.ResultPoints().level[2]);
    EXPECT_EQ(0, w.ResultPoints().hidden);
    EXPECT_EQ(3, w.Profile().FindTable(key)->GetEntryCount());
    EXPECT_EQ((std::vector<bool>{false, true}), rig.table->filled);
    EXPECT_EQ((std::vector<int>{1, 0}), rig.table->readOnlyCalls) << "editable in mode 1";
    EXPECT_EQ(1, rig.graph->draws);

    w.OnBack();
    EXPECT_EQ(4, w.GetStep());
    EXPECT_EQ(0, w.ResultPending());
    EXPECT_EQ(1, w.ResultPoints().hidden);
    EXPECT_TRUE(w.Profile().IsEqual(&before)) << "the earlier table of the condition is back";
}

TEST(WizardRun, FailedRunReportsAndKeepsTheEarlierTable)
{
    WizardRig rig;
    CKZARN_WizardDlg& w = rig.Open(1);
    ZarnLib_PatchKey key = Condition(100, 0);
    ZarnLib_CnvPolyLine curve;
    const _ZARNLIB_VECTOR2 points[2] = {{0, 10}, {1, 200}};
    curve.SetPoints(points, 2, false);
    ASSERT_EQ(0, w.Profile().AddEntry(key, ZarnLib_EntryKey(), curve));
    ZarnLib_Profile before;
    ASSERT_EQ(0, WizardProfileSnapshot::CopyProfile(w.Profile(), &before));

    ASSERT_NO_FATAL_FAILURE(WalkToCorners(rig));
    // The middle photograph breaks after it was chosen.
    std::ofstream(w.Data().chosenPhotos[1]->path, std::ios::trunc) << "broken";
    w.OnNext();
    EXPECT_EQ(2, w.GetStep());
    ASSERT_EQ(1u, rig.prompts.Prompts().size());
    EXPECT_EQ(T(3040), rig.prompts.Prompts()[0].text);
    EXPECT_TRUE(w.Profile().IsEqual(&before));
}

TEST(WizardRun, APictureThatIsNotTheChartIsNamedAndTheChoiceComesBack)
{
    // The middle photograph is not the chart: a gradient light at the top, as the chart's rows
    // grow lighter, so only the patches' flatness gives it away; or a uniform grey, which only its
    // neighbours in the series give away (the whole series has joined the run's table by then).
    const struct {
        std::function<bool(const std::string&)> write;
        int text; // the rule that refuses it
    } pictures[] = {
        {[](const std::string& path) { return WriteGradient(path, 2, -1, true, 270); }, 3067},
        {[](const std::string& path) { return WriteUniform(path, 80, -1, true); }, 3068},
    };
    for (const auto& picture : pictures) {
        WizardRig rig;
        CKZARN_WizardDlg& w = rig.Open(1);
        ZarnLib_Profile before;
        ASSERT_EQ(0, WizardProfileSnapshot::CopyProfile(w.Profile(), &before));
        WalkToCorners(rig);
        const std::string refused = w.Data().chosenPhotos[1]->path;
        ASSERT_TRUE(picture.write(refused));
        w.OnNext();
        EXPECT_EQ(3, w.GetStep()) << "back at the photographs, where the choice can be mended";
        ASSERT_EQ(1u, rig.prompts.Prompts().size());
        EXPECT_EQ("p1.jpg\n" + T(picture.text), rig.prompts.Prompts()[0].text);
        // The picture to replace is marked in the strip; the others stay checked.
        EXPECT_EQ((std::vector<std::vector<std::string>>{{refused}}), rig.photos->refusedMarks);
        std::vector<std::string> checked;
        rig.photos->GetCheckedPaths(&checked, 1);
        EXPECT_EQ((std::vector<std::string>{w.Data().allPhotos[0]->path, w.Data().allPhotos[2]->path}), checked);
        EXPECT_TRUE(w.Profile().IsEqual(&before)) << "no profile was made";
        EXPECT_EQ(rig.photoFolder.Path(), rig.photos->loadedFolders.back()) << "the same folder, without a chooser";
    }
}

TEST(WizardSave, SavesUnderTheChosenNameAndClosing)
{
    WizardRig rig;
    CKZARN_WizardDlg& w = rig.Open(1);
    WalkToResult(rig);
    ASSERT_EQ(5, w.GetStep());
    // Cancelling the chooser returns to the result.
    w.OnNext();
    EXPECT_EQ(5, w.GetStep());
    EXPECT_EQ(1, w.ResultPending());
    rig.savePath = rig.dataFolder.File("Mine.kpf");
    w.OnNext();
    EXPECT_FALSE(w.isVisible()) << "the wizard closed";
    EXPECT_EQ(IDCANCEL, w.result()) << "closed through the cancel handling";
    ZarnLib_Profile saved;
    const ZarnLibString file(rig.savePath.c_str());
    ASSERT_EQ(0, LoadProfile(&file, &saved));
    EXPECT_EQ(3, saved.GetVersion());
    EXPECT_EQ(0, saved.GetSubVersion());
    EXPECT_EQ(2, saved.GetChartKind());
    EXPECT_NE(nullptr, saved.FindTable(Condition(100, 0)));
    EXPECT_TRUE(rig.prompts.Prompts().empty());
}

TEST(WizardSave, FailedSaveIsReportedAndKeepsTheResult)
{
    WizardRig rig;
    CKZARN_WizardDlg& w = rig.Open(1);
    WalkToResult(rig);
    ASSERT_EQ(5, w.GetStep());
    w.OnExtra(); // stores the result in the temporary file, goes to step 1
    ASSERT_EQ(1, w.GetStep());
    ASSERT_TRUE(std::filesystem::exists(w.TemporaryPath()));
    rig.savePath = rig.dataFolder.File("no/such/folder/Mine.kpf");
    rig.prompts.Answer(IDYES);
    w.OnCancel();
    EXPECT_TRUE(w.isVisible()) << "nothing was saved, so the wizard stays";
    ASSERT_EQ((std::vector<std::string>{T(3041), T(3062)}), rig.Texts());
    EXPECT_EQ(1, w.ResultRetained());
    EXPECT_TRUE(std::filesystem::exists(w.TemporaryPath()));
}

TEST(WizardSave, ExtraThatCannotStoreTheResultStaysAtTheResult)
{
    WizardRig rig;
    CKZARN_WizardDlg& w = rig.Open(1);
    WalkToResult(rig);
    ASSERT_EQ(5, w.GetStep());
    // A folder where the temporary file belongs: nothing can be written there.
    std::filesystem::create_directories(w.TemporaryPath() + "/blocked");
    w.OnExtra();
    EXPECT_EQ(5, w.GetStep());
    EXPECT_EQ(std::vector<std::string>{T(3062)}, rig.Texts());
    EXPECT_EQ(1, w.ResultPending());
    EXPECT_EQ(0, w.ResultRetained());
    std::filesystem::remove_all(w.TemporaryPath());
}

TEST(WizardSave, CancelAfterExtraSavesTheStoredResultWithItsOffsets)
{
    WizardRig rig;
    CKZARN_WizardDlg& w = rig.Open(1);
    WalkToResult(rig);
    w.OnExtra();
    ASSERT_EQ(1, w.GetStep());
    EXPECT_EQ(0, w.ResultPending());
    EXPECT_EQ(1, w.ResultRetained());
    // Cancel first keeps the wizard open, No closes it without saving.
    rig.prompts.Answer(IDCANCEL);
    w.OnCancel();
    EXPECT_TRUE(w.isVisible());
    rig.savePath = rig.dataFolder.File("Kept.kpf");
    rig.prompts.Answer(IDYES);
    w.OnCancel();
    EXPECT_FALSE(w.isVisible());
    ZarnLib_Profile saved;
    const ZarnLibString file(rig.savePath.c_str());
    ASSERT_EQ(0, LoadProfile(&file, &saved));
    EXPECT_NE(nullptr, saved.FindTable(Condition(100, 0)));
    EXPECT_EQ(2, saved.GetChartKind());
    const std::string temporary = w.TemporaryPath();
    rig.wizard.reset();
    EXPECT_FALSE(std::filesystem::exists(temporary)) << "closing deletes the temporary result";
}

TEST(WizardSave, StoredResultThatCannotBeReadBackIsNotSaved)
{
    WizardRig rig;
    CKZARN_WizardDlg& w = rig.Open(1);
    WalkToResult(rig);
    w.OnExtra();
    ASSERT_EQ(1, w.GetStep());
    std::ofstream(w.TemporaryPath(), std::ios::trunc) << "damaged";
    rig.savePath = rig.dataFolder.File("Kept.kpf");
    rig.prompts.Answer(IDYES);
    w.OnCancel();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ((std::vector<std::string>{T(3041), T(3064)}), rig.Texts());
    EXPECT_FALSE(std::filesystem::exists(rig.savePath));
    EXPECT_NE(nullptr, w.Profile().FindTable(Condition(100, 0))) << "the profile in memory is untouched";
}

TEST(WizardSave, CancelAtTheResultAsksAndNoClosesWithoutSaving)
{
    WizardRig rig;
    CKZARN_WizardDlg& w = rig.Open(0);
    w.Data().target = 1;
    rig.chosenFolder = rig.photoFolder.Path();
    PutSeries(rig);
    w.OnNext();
    w.OnNext();
    w.OnNext();
    w.OnNext();
    ASSERT_EQ(5, w.GetStep());
    EXPECT_FALSE(rig.Button(CKZARN_WizardDlg::kExtraId)->isVisibleTo(&w)) << "no Extra in mode 0";
    EXPECT_EQ((std::vector<int>{1, 1}), rig.table->readOnlyCalls) << "read-only in mode 0";
    rig.prompts.Answer(IDNO);
    w.OnCancel();
    EXPECT_EQ(std::vector<std::string>{T(3041)}, rig.Texts());
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(rig.presets.empty());
}

} // namespace
