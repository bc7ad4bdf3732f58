// The wizard's step machine: which step each button and notice leads to, the questions it asks,
// the calculation run and its discarding, the temporary result file and saving.
#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"
#include "tests/ui/wizard/WizardRig.h"
#include "ui/wizard/CKZARN_WizArea3Form.h"
#include "ui/wizard/CKZARN_WizArea6Form.h"
#include "ui/wizard/CKZARN_WizFileData.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace wizardtest;

namespace {

TEST(WizardSteps, NextAndBackByMode)
{
    struct Row {
        int mode;
        int from;
        const char* action;
        int to;
    };
    const Row rows[] = {
        {0, 0, "next", 2}, {0, 2, "back", 0}, {1, 0, "next", 1}, {1, 1, "next", 2}, {1, 2, "back", 1},
        {0, 0, "go1", 0},  {1, 0, "go1", 1},  {0, 0, "back", 0}, {1, 2, "go7", 2},  {1, 2, "go-1", 2},
    };
    for (const Row& row : rows) {
        WizardRig rig;
        CKZARN_WizardDlg& w = rig.Open(row.mode);
        w.GoToStep(row.from);
        ASSERT_EQ(row.from, w.GetStep());
        const std::string action = row.action;
        if (action == "next")
            w.OnNext();
        else if (action == "back")
            w.OnBack();
        else
            w.GoToStep(std::stoi(action.substr(2)));
        EXPECT_EQ(row.to, w.GetStep()) << "mode " << row.mode << " from " << row.from << " " << action;
        EXPECT_EQ(row.to != 0, rig.Button(CKZARN_WizardDlg::kBackId)->isEnabled());
    }
}

TEST(WizardSteps, LeavingTheReadingsStepAsksAboutAStoredResult)
{
    struct Row {
        bool stored;
        int answer;
        int step;
        bool asked;
    };
    const Row rows[] = {{false, 0, 3, false}, {true, IDNO, 2, true}, {true, IDYES, 3, true}};
    for (const Row& row : rows) {
        WizardRig rig;
        rig.chosenFolder = rig.photoFolder.Path();
        CKZARN_WizardDlg& w = rig.Open(1);
        w.GoToStep(2);
        if (row.stored) {
            ZarnLib_Profile stored;
            stored.SetVersion(3);
            stored.SetSubVersion(0);
            ZarnLib_PatchKey key = Condition(w.Data().isoSpeed, w.Data().lightSource);
            stored.AddEntry(key, ZarnLib_EntryKey(), ZarnLib_CnvPolyLine());
            const ZarnLibString file(w.TemporaryPath().c_str());
            ASSERT_EQ(0, SaveProfile(&file, &stored));
            rig.prompts.Answer(row.answer);
        }
        w.OnNext();
        EXPECT_EQ(row.step, w.GetStep());
        ASSERT_EQ(row.asked ? 1u : 0u, rig.prompts.Prompts().size());
        if (row.asked) {
            EXPECT_EQ(T(3042), rig.prompts.Prompts()[0].text);
            EXPECT_EQ(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2, rig.prompts.Prompts()[0].type);
        }
        EXPECT_EQ(w.Data().isoSpeed, rig.settings.IsoSpeed);
    }
}

TEST(WizardSteps, NoFolderChosenGoesBackToTheReadings)
{
    WizardRig rig;
    rig.settings.ImgDir = "/photos/last";
    CKZARN_WizardDlg& w = rig.Open(0);
    w.GoToStep(2);
    w.OnNext();
    EXPECT_EQ(std::vector<std::string>{"/photos/last"}, rig.startFolders) << "the chooser starts at the last folder";
    EXPECT_EQ(2, w.GetStep());
}

TEST(WizardSteps, PhotographChecksEnableNextOnlyAtTheRequiredCount)
{
    WizardRig rig;
    rig.chosenFolder = rig.photoFolder.Path();
    CKZARN_WizardDlg& w = rig.Open(0);
    w.Data().target = 0; // 11 photographs
    w.GoToStep(2);
    w.OnNext();
    ASSERT_EQ(3, w.GetStep());
    EXPECT_EQ(rig.photoFolder.Path(), rig.settings.ImgDir);
    EXPECT_FALSE(rig.NextEnabled());
    const std::string path = rig.photoFolder.File("a.jpg");
    std::ofstream(path) << "x";
    ExifInputValues record;
    record.path = path;
    record.checked = 1;
    for (const auto& [count, enabled] : std::vector<std::pair<int, bool>>{{10, false}, {11, true}, {12, false}}) {
        w.OnPhotoChecked(path, record, count);
        EXPECT_EQ(enabled, rig.NextEnabled()) << count;
    }
    record.checked = 0;
    w.OnPhotoChecked(path, record, 11);
    EXPECT_FALSE(rig.NextEnabled());
    // A photograph that has gone sends the wizard back to the readings.
    w.OnPhotoSelected(rig.photoFolder.File("gone.jpg"), record);
    EXPECT_EQ(2, w.GetStep());
}

TEST(WizardSteps, CornerStepRefusesAQuadrilateralThatIsNotConvex)
{
    WizardRig rig;
    CKZARN_WizardDlg& w = rig.Open(1);
    w.Data().target = 1;
    rig.chosenFolder = rig.photoFolder.Path();
    PutSeries(rig);
    w.GoToStep(2);
    w.OnNext();
    w.OnNext();
    ASSERT_EQ(4, w.GetStep());
    ASSERT_EQ(3u, w.Data().chosenPhotos.size());
    const std::string first = w.Data().chosenPhotos[0]->path;
    ExifInputValues record;
    rig.photos->GetRecordByPath(first, &record);
    w.OnPhotoSelected(first, record);
    EXPECT_TRUE(rig.NextEnabled()) << "the other photographs have confirmed corners";
    // Crossed: top-right and bottom-right swapped.
    rig.photos->viewCorners[0] = {10, 10};
    rig.photos->viewCorners[1] = {100, 100};
    rig.photos->viewCorners[2] = {100, 10};
    rig.photos->viewCorners[3] = {10, 100};
    w.OnNext();
    EXPECT_EQ(4, w.GetStep());
    ASSERT_EQ(1u, rig.prompts.Prompts().size());
    EXPECT_EQ(T(3043), rig.prompts.Prompts()[0].text);
    EXPECT_EQ(100, rig.photos->records[first]->corners[1].x) << "the corners stay stored";
}

TEST(WizardOpen, StaleTemporaryResultIsClearedAndAnUnreadableProfileIsNotEdited)
{
    WizardRig rig;
    const std::string temporary = CKZARN_Common::GetFolderPath(0) + "/WizTemporary.kpf";
    std::ofstream(temporary) << "left over";
    rig.Open(1);
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_EQ(0, rig.wizard->HasStoredResult(100, 0));

    WizardRig second;
    std::ofstream(CKZARN_Common::GetProfilePath("Broken")) << "not a profile";
    second.Open(1, "Broken");
    EXPECT_FALSE(second.opened);
    EXPECT_EQ(std::vector<std::string>{T(3063)}, second.Texts());
}

TEST(WizardOpen, EditedProfileIsOfferedAsStoredResults)
{
    WizardRig rig;
    ZarnLib_Profile stored;
    stored.SetVersion(2);
    stored.SetSubVersion(1);
    ZarnLib_PatchKey key = Condition(200, 1);
    ASSERT_EQ(0, stored.AddEntry(key, ZarnLib_EntryKey(), ZarnLib_CnvPolyLine()));
    const std::string path = CKZARN_Common::GetProfilePath("Camera");
    const ZarnLibString file(path.c_str());
    ASSERT_EQ(0, SaveProfile(&file, &stored));
    CKZARN_WizardDlg& w = rig.Open(1, "Camera");
    ASSERT_TRUE(rig.opened);
    EXPECT_TRUE(w.windowTitle().endsWith(QStringLiteral("   Camera")));
    const int isos[3] = {100, 200, 400};
    int flags[3] = {-1, -1, -1};
    w.LoadStoredResult(isos, 1, flags, 3);
    EXPECT_EQ(0, flags[0]);
    EXPECT_EQ(1, flags[1]) << "a table without points still counts";
    EXPECT_EQ(0, flags[2]);
    EXPECT_EQ(0, w.HasStoredResult(200, 0));
}

TEST(WizardPages, StepListRowsByModeAndStep)
{
    for (int mode : {0, 1}) {
        WizardRig rig;
        CKZARN_WizardDlg& w = rig.Open(mode);
        auto* list = static_cast<CKZARN_WizArea3Form*>(w.Page(WizardPageFactory::kStepList));
        int shown = 0;
        for (int row = 0; row < CKZARN_WizArea3Form::kRowCount; ++row)
            shown += list->RowButton(row)->isVisibleTo(&w) ? 1 : 0;
        EXPECT_EQ(mode == 0 ? 6 : 7, shown);
        EXPECT_EQ(T(3002) + T(3011), list->RowButton(0)->text().toStdString());
        EXPECT_EQ(T(3003) + T(mode == 0 ? 3013 : 3012), list->RowButton(1)->text().toStdString());
        w.GoToStep(2);
        const int currentRow = mode == 0 ? 1 : 2;
        EXPECT_EQ(165, list->RowMark(currentRow));
        EXPECT_EQ(167, list->RowMark(0));
        EXPECT_FALSE(list->RowButton(currentRow + 1)->isEnabled());
        // Clicking an earlier row goes back to it.
        list->OnRowClicked(0);
        EXPECT_EQ(0, w.GetStep());
    }
}

TEST(WizardPages, SummaryShowsWhatTheStepHasAskedFor)
{
    WizardRig rig;
    rig.chosenFolder = rig.photoFolder.Path();
    CKZARN_WizardDlg& w = rig.Open(0);
    auto* summary = static_cast<CKZARN_WizArea6Form*>(w.Page(WizardPageFactory::kSummary));
    w.Data().cineMode = 1;
    w.GoToStep(2);
    EXPECT_TRUE(summary->Label(1073)->isVisibleTo(&w));
    EXPECT_FALSE(summary->Label(1074)->isVisibleTo(&w)) << "no light source in mode 0";
    EXPECT_FALSE(summary->Label(1055)->isVisibleTo(&w));
    w.OnNext();
    ASSERT_EQ(3, w.GetStep());
    EXPECT_TRUE(summary->Label(1055)->isVisibleTo(&w));
    EXPECT_EQ("24.000", summary->Label(1093)->text().toStdString());
    EXPECT_EQ("180.000", summary->Label(1092)->text().toStdString());
    EXPECT_TRUE(summary->Label(1093)->isVisibleTo(&w));
    EXPECT_FALSE(summary->Label(1082)->isVisibleTo(&w)) << "cine readings hide the shutter speeds";
    EXPECT_EQ("25.500", CKZARN_WizArea6Form::FrameRateText(25.5, 24));
}

TEST(WizardPages, StoredChartOutsideTheChoicesShowsAsGradusI)
{
    WizardRig rig;
    rig.settings.Target = 3;
    CKZARN_WizardDlg& w = rig.Open(1);
    EXPECT_EQ(0, w.Data().target);
    w.OnNext();
    EXPECT_EQ(0, rig.settings.Target);
}

TEST(WizardPages, EnterOnAPageDoesNotPressNextAndEscCancels)
{
    WizardRig rig;
    CKZARN_WizardDlg& w = rig.Open(1);
    CKZARN_WizAreaBaseForm* chart = w.Page(WizardPageFactory::kChart);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(chart, &enter);
    EXPECT_EQ(0, w.GetStep());
    EXPECT_TRUE(w.isVisible());
    // The page declines Esc, so it goes on to the wizard, whose cancel closes it (nothing to save).
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(chart, &escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(IDCANCEL, w.result());
}

} // namespace
