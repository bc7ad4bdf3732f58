#include "ui/views/CKZARN_RefSingleDlg.h"

#include "core/util/CLangTable.h"
#include "meter/CKZARN_TransferData.h"
#include "tests/support/ScriptedPromptService.h"
#include "tests/ui/views/EndViewSoon.h"
#include "tests/ui/views/ProfileFolderRig.h"
#include "ui/controls/CNoContextEdit.h"
#include "ui/views/CKZARN_DataListCtrl.h"
#include "ui/views/CKZARN_GparhWindow.h"
#include "ui/views/CKZARN_RefDataForm.h"
#include "ui/views/CKZARN_RefGraphForm.h"
#include "ui/views/ZarnPrintHost.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QDialog>
#include <QProcess>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>

namespace {

struct SingleRig {
    ProfileFolderRig folder;
    ScriptedPromptService prompts;
    std::unique_ptr<CKZARN_RefSingleDlg> dialog;

    SingleRig() { folder.WriteProfile("Studio", {100, 400}); }

    void OpenProfiles()
    {
        dialog = std::make_unique<CKZARN_RefSingleDlg>();
        dialog->OnInitDialog();
    }

    void Choose(const std::string& name)
    {
        QComboBox* combo = dialog->ProfileCombo();
        combo->setCurrentIndex(combo->findText(QString::fromStdString(name)));
        dialog->OnProfileChange();
    }

    // A backup file of the family with slot 2 named and the others empty.
    std::string WriteBackup(int family)
    {
        CKZARN_TransferData data;
        data.SetFamily(family);
        data.SetProfileName(1, "Portraits");
        for (int r = 0; r < 67; ++r) {
            data.GetProfileRows(1)[r].group[0] = {0.5, -3.0, -2.0, 2.0, 3.0};
        }
        const std::string path = folder.Folder().File("backup" + std::to_string(family) + ".csv");
        std::ofstream file(path, std::ios::binary);
        data.WriteText(file);
        return path;
    }

    void OpenBackup(const std::string& path, int family)
    {
        std::vector<std::string> names;
        for (int i = 0; i < CKZARN_TransferData::GetProfileCount(family); ++i) {
            names.push_back(i == 1 ? "Portraits" : "");
        }
        dialog = std::make_unique<CKZARN_RefSingleDlg>();
        dialog->SetBackupProfiles(path, names, static_cast<int>(names.size()));
        dialog->OnInitDialog();
    }
};

// Answers the next modal dialog that opens with reject (the print dialog, a preview).
void RejectNextModal()
{
    QTimer::singleShot(0, []() {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            modal->reject();
        }
    });
}

} // namespace

TEST(RefSingleDlg, OpensOnThePlaceholderWithAnEmptyTableAndGraph)
{
    SingleRig rig;
    rig.OpenProfiles();
    EXPECT_EQ(rig.dialog->windowTitle().toStdString(), GetLangString(4000));
    EXPECT_EQ(rig.dialog->ProfileCombo()->currentText().toStdString(), GetLangString(132));
    EXPECT_FALSE(rig.dialog->FileEdit()->isVisibleTo(rig.dialog.get()));
    ASSERT_EQ(rig.dialog->Tab()->count(), 2);
    EXPECT_EQ(rig.dialog->Tab()->tabText(0).toStdString(), GetLangString(4008));
    EXPECT_EQ(rig.dialog->Tab()->tabText(1).toStdString(), GetLangString(4009));
    CKZARN_DataListCtrl* grid = rig.dialog->DataForm()->Grid();
    ASSERT_EQ(grid->rowCount(), 67);
    EXPECT_EQ(grid->GetItemText(0, 0), "3");
    EXPECT_EQ(grid->GetItemText(66, 0), "13107200");
    EXPECT_EQ(grid->GetItemText(10, 2), "");
    EXPECT_TRUE(rig.dialog->DataForm()->Rows().empty());
    EXPECT_TRUE(rig.dialog->GraphForm()->Curves().empty());
    EXPECT_EQ(rig.dialog->GraphForm()->Points().hidden, 1);
    EXPECT_FALSE(rig.dialog->GraphForm()->PointEdit(1066)->isEnabled());
}

TEST(RefSingleDlg, BackupOfEachFamilyShowsAndPrintsTheMetersRows)
{
    const struct {
        int family;
        int rows;
        const char* lastIso;
    } cases[] = {{0, 35, "8000"}, {1, 52, "409600"}, {2, 67, "13107200"}};
    for (const auto& c : cases) {
        SingleRig rig;
        rig.OpenBackup(rig.WriteBackup(c.family), c.family);
        EXPECT_EQ(rig.dialog->windowTitle().toStdString(), GetLangString(1173));
        EXPECT_EQ(rig.dialog->Tab()->count(), 1) << c.family;
        EXPECT_EQ(rig.dialog->SlotCombo()->itemText(0).toStdString(), "CAMERA1_DEFAULT");
        EXPECT_EQ(rig.dialog->SlotCombo()->itemText(2).toStdString(), "CAMERA3_DEFAULT");
        EXPECT_EQ(rig.dialog->FileEdit()->text().toStdString(), "backup" + std::to_string(c.family) + ".csv");
        CKZARN_DataListCtrl* grid = rig.dialog->DataForm()->Grid();
        EXPECT_EQ(grid->rowCount(), c.rows) << c.family;
        EXPECT_EQ(grid->GetItemText(c.rows - 1, 0), c.lastIso) << c.family;
        // What the preview and the page get: the same rows as the grid.
        EXPECT_EQ(rig.dialog->DataForm()->Rows().size(), static_cast<std::size_t>(c.rows)) << c.family;
        rig.dialog->SlotCombo()->setCurrentIndex(1);
        rig.dialog->OnSlotChange();
        EXPECT_EQ(grid->GetItemText(0, 1), "+0.5") << c.family;
        EXPECT_EQ(grid->GetItemText(0, 2), "-3.0") << c.family;
        EXPECT_EQ(rig.dialog->DataForm()->Titles()[3], "Portraits");
        // The printed table has as many rows as the grid.
        RejectNextModal();
        rig.dialog->DataForm()->Preview();
        EXPECT_EQ(rig.dialog->DataForm()->Rows().size(), static_cast<std::size_t>(c.rows)) << c.family;
    }
}

TEST(RefSingleDlg, UnreadableBackupIsReportedAndEndsTheView)
{
    SingleRig rig;
    const std::string path = rig.folder.Folder().File("broken.csv");
    std::ofstream(path) << "nothing a meter wrote\n";
    rig.prompts.Answer(IDOK);
    rig.OpenBackup(path, 2);
    ASSERT_EQ(rig.prompts.Prompts().size(), 1u);
    EXPECT_EQ(rig.prompts.Prompts()[0].text, GetLangString(6044));
    EXPECT_EQ(rig.dialog->exec(), IDOK); // ends at once
    EXPECT_TRUE(rig.dialog->DataForm()->Rows().empty());
}

TEST(RefSingleDlg, ProfileTableMarksMeasuredIsosAndLocksTheFile)
{
    SingleRig rig;
    rig.OpenProfiles();
    rig.Choose("Studio");
    CKZARN_DataListCtrl* grid = rig.dialog->DataForm()->Grid();
    const auto& rows = rig.dialog->DataForm()->Rows();
    ASSERT_EQ(rows.size(), 67u);
    const int iso100 = 15;
    const int iso200 = 18;
    const int iso400 = 21;
    EXPECT_EQ(rows[iso100]->iso, 100);
    EXPECT_EQ(rows[iso100]->rowMark, 1);
    EXPECT_EQ(rows[iso400]->rowMark, 1);
    EXPECT_EQ(rows[iso200]->rowMark, 0);
    EXPECT_EQ(rows[iso200]->hasValues, 1);
    EXPECT_EQ(grid->GetRowMark(iso100), 1);
    EXPECT_NE(grid->GetItemText(iso200, 2), "");
    const auto& paths = CFileLockManager::GetInstance()->Paths();
    const std::string path = CKZARN_Common::GetProfilePath("Studio");
    ASSERT_TRUE(paths.count(path));
    EXPECT_NE(paths.at(path), CFileLockManager::kInvalidHandle);
}

TEST(RefSingleDlg, GraphIsSolidForMeasuredIsosAndDashedBetween)
{
    SingleRig rig;
    rig.OpenProfiles();
    rig.Choose("Studio");
    rig.dialog->Tab()->setCurrentIndex(1);
    CKZARN_RefGraphForm* graph = rig.dialog->GraphForm();
    ASSERT_EQ(graph->Curves().size(), 1u);
    EXPECT_EQ(graph->Curves()[0]->dashed, 0);
    EXPECT_EQ(graph->Points().hidden, 0);
    EXPECT_TRUE(graph->IsoMarked(100));
    EXPECT_TRUE(graph->IsoMarked(400));
    EXPECT_FALSE(graph->IsoMarked(200));
    EXPECT_EQ(graph->PointEdit(1066)->text().toStdString(), "230");
    EXPECT_EQ(graph->GraphWindow()->m_graph.GetCurves().size(), 1u);

    // An ISO between the tables: dashed, its points as the interpolation gives them, not moved
    // along the curve of the ISO shown before.
    QComboBox* iso = graph->IsoCombo();
    iso->setCurrentIndex(iso->findText("200"));
    graph->OnIsoChange();
    ASSERT_EQ(graph->Curves().size(), 1u);
    EXPECT_EQ(graph->Curves()[0]->dashed, 1);
    ZarnLib_Profile profile;
    const ZarnLibString kpf(CKZARN_Common::GetProfilePath("Studio").c_str());
    ASSERT_EQ(LoadProfile(&kpf, &profile), 0);
    _ZARNLIB_VECTOR2 five[5];
    double extra = 0;
    ASSERT_EQ(profile.GetPointsForSettings(ProfileFolderRig::Key(200), 0, five, &extra), 0);
    EXPECT_DOUBLE_EQ(graph->Points().ev[CharacteristicPoints::kCPP], five[3].x);
    EXPECT_DOUBLE_EQ(graph->Points().ev[CharacteristicPoints::kDRM], five[1].x);
    // Changing the ISO leaves the marks; changing the light recomputes them (no flash tables).
    EXPECT_TRUE(graph->IsoMarked(400));
    rig.dialog->LightCombo()->setCurrentIndex(1);
    rig.dialog->OnLightOrPhotoChange();
    EXPECT_FALSE(graph->IsoMarked(400));
}

TEST(RefSingleDlg, PrintedPageHoldsTheTable)
{
    SingleRig rig;
    rig.OpenProfiles();
    rig.Choose("Studio");
    CKZARN_RefDataForm* data = rig.dialog->DataForm();
    // A cancelled print dialog prints nothing.
    RejectNextModal();
    EXPECT_EQ(data->Print(), 0);

    ZarnPrintHost host;
    const std::string pdf = rig.folder.Folder().File("table.pdf");
    host.SetOutputFile(QString::fromStdString(pdf));
    ASSERT_EQ(host.PrintChartPage(data->Titles(), data->Headers(), data->Rows(), 0xFFFFFF, 0xE1E1E1), TRUE);
    QProcess text;
    text.start("pdftotext", {QString::fromStdString(pdf), "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const std::string page = text.readAllStandardOutput().toStdString();
    EXPECT_NE(page.find("Studio"), std::string::npos);
    EXPECT_NE(page.find("13107200"), std::string::npos);
    EXPECT_NE(page.find(GetLangString(113)), std::string::npos);
    EXPECT_NE(page.find("+0.4"), std::string::npos) << page.substr(0, 400);
}

TEST(RefSingleDlg, BackEndsWithOkAndTheCloseBoxWithCancel)
{
    const struct {
        bool back;
        int result;
    } cases[] = {{true, IDOK}, {false, IDCANCEL}};
    for (const auto& c : cases) {
        SingleRig rig;
        rig.OpenProfiles();
        CKZARN_RefSingleDlg* dialog = rig.dialog.get();
        EndViewSoon(dialog, c.back);
        EXPECT_EQ(dialog->exec(), c.result) << (c.back ? "back" : "close box");
    }
}

TEST(RefSingleDlg, TabLeavesTheGridInsteadOfSteppingThroughItsCells)
{
    SingleRig rig;
    rig.OpenProfiles();
    rig.dialog->show(); // the grid steps with Tab only while it is on screen
    CKZARN_DataListCtrl* grid = rig.dialog->DataForm()->Grid();
    grid->setCurrentCell(3, 5);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(grid, &press);
    EXPECT_EQ(grid->currentRow(), 3);
    EXPECT_EQ(grid->currentColumn(), 5);
}
