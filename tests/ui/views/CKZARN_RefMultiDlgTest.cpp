#include "ui/views/CKZARN_RefMultiDlg.h"

#include "core/util/CLangTable.h"
#include "tests/support/ScriptedPromptService.h"
#include "tests/ui/views/EndViewSoon.h"
#include "tests/ui/views/ProfileFolderRig.h"
#include "ui/controls/CStaticHLine.h"
#include "ui/views/CKZARN_RefCameraForm.h"
#include "ui/views/CKZARN_RefIsoForm.h"
#include "ui/views/CKZARN_GraphPreviewDialog.h"
#include "ui/views/CET_GraphDraw.h"

#include <QApplication>
#include <QTimer>

#include <QComboBox>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

struct MultiRig {
    ProfileFolderRig folder;
    ScriptedPromptService prompts;
    std::unique_ptr<CKZARN_RefMultiDlg> dialog;

    MultiRig()
    {
        folder.WriteProfile("Alpha", {100, 400});
        folder.WriteProfile("Beta", {200});
        folder.WriteProfile("Typed", {100}, 1);
        dialog = std::make_unique<CKZARN_RefMultiDlg>();
        dialog->OnInitDialog();
    }

    void ChooseCamera(int slot, const std::string& name)
    {
        QComboBox* combo = dialog->CameraForm()->ProfileCombo(slot);
        const int index = combo->findText(QString::fromStdString(name));
        ASSERT_GE(index, 0) << name;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
};

} // namespace

TEST(RefMultiDlg, OpensEmptyOnTheCameraPage)
{
    MultiRig rig;
    EXPECT_EQ(rig.dialog->windowTitle().toStdString(), GetLangString(4001));
    EXPECT_EQ(rig.dialog->Tab()->count(), 2);
    EXPECT_EQ(rig.dialog->Tab()->tabText(0).toStdString(), GetLangString(4011));
    EXPECT_EQ(rig.dialog->Tab()->tabText(1).toStdString(), GetLangString(4010));
    EXPECT_EQ(rig.dialog->Tab()->currentIndex(), 0);
    EXPECT_TRUE(rig.dialog->Curves().empty());
    EXPECT_EQ(rig.dialog->CameraForm()->GetIso(), 100);
    // Profiles typed in by hand are not offered.
    EXPECT_LT(rig.dialog->CameraForm()->ProfileCombo(1)->findText("Typed"), 0);
    EXPECT_LT(rig.dialog->IsoForm()->ProfileCombo()->findText("Typed"), 0);
    EXPECT_GE(rig.dialog->CameraForm()->ProfileCombo(1)->findText("Alpha"), 0);
    ASSERT_EQ(rig.dialog->ListedLines().size(), 2u);
    EXPECT_EQ(rig.dialog->ListedLines()[0]->dashed, 0);
    EXPECT_EQ(rig.dialog->ListedLines()[1]->dashed, 1);
}

TEST(RefMultiDlg, CameraSlotsDrawInTheirColoursSolidOrDashed)
{
    MultiRig rig;
    rig.ChooseCamera(3, "Alpha");
    ASSERT_EQ(rig.dialog->Curves().size(), 1u);
    EXPECT_EQ(rig.dialog->Curves()[0]->colour, 0x00FFFFu);
    EXPECT_EQ(rig.dialog->Curves()[0]->dashed, 0);
    EXPECT_EQ(rig.dialog->Curves()[0]->name, "Alpha");

    for (int slot = 1; slot <= 5; ++slot) {
        rig.ChooseCamera(slot, slot == 2 ? "Beta" : "Alpha");
    }
    const COLORREF colours[5] = {0x800000, 0xFF00FF, 0x00FFFF, 0xFFFF00, 0x008000};
    ASSERT_EQ(rig.dialog->Curves().size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(rig.dialog->Curves()[static_cast<std::size_t>(i)]->colour, colours[i]) << i;
        // Beta has no table at ISO 100: its curve is interpolated, dashed, its sample dotted.
        EXPECT_EQ(rig.dialog->Curves()[static_cast<std::size_t>(i)]->dashed, i == 1 ? 1 : 0) << i;
        EXPECT_EQ(rig.dialog->CameraForm()->Sample(i + 1)->lineStyle, i == 1 ? 1 : 0) << i;
    }
    // The same profile in two slots gives two identical curves.
    EXPECT_EQ(rig.dialog->Curves()[0]->points.size(), rig.dialog->Curves()[2]->points.size());
    EXPECT_FALSE(rig.dialog->Curves()[0]->points.empty());
    // Every chosen file is held under its slot number.
    EXPECT_EQ(CFileLockManager::GetInstance()->Slots().size(), 5u);

    // The placeholder removes the slot's curve and leaves its sample as it was.
    rig.ChooseCamera(2, GetLangString(132));
    EXPECT_EQ(rig.dialog->Curves().size(), 4u);
    EXPECT_EQ(rig.dialog->CameraForm()->Sample(2)->lineStyle, 1);
}

TEST(RefMultiDlg, IsoPageMarksIsosWithTablesAndKeepsThemOnIsoChanges)
{
    MultiRig rig;
    rig.dialog->Tab()->setCurrentIndex(1);
    CKZARN_RefIsoForm* form = rig.dialog->IsoForm();
    EXPECT_EQ(form->IsoCombo(1)->currentText().toStdString(), GetLangString(132));
    QComboBox* profiles = form->ProfileCombo();
    profiles->setCurrentIndex(profiles->findText("Alpha"));
    emit profiles->activated(profiles->currentIndex());
    EXPECT_TRUE(form->IsoMarked(400));
    EXPECT_TRUE(form->IsoMarked(100));
    EXPECT_FALSE(form->IsoMarked(200));
    for (int slot = 2; slot <= 5; ++slot) {
        EXPECT_FALSE(form->IsoCombo(slot)->itemIcon(form->IsoCombo(slot)->findText("400")).isNull()) << slot;
    }
    // Two ISO speeds: a measured one (solid) and one between the tables (dashed).
    QComboBox* first = form->IsoCombo(1);
    first->setCurrentIndex(first->findText("400"));
    emit first->activated(first->currentIndex());
    QComboBox* second = form->IsoCombo(2);
    second->setCurrentIndex(second->findText("200"));
    emit second->activated(second->currentIndex());
    ASSERT_EQ(rig.dialog->Curves().size(), 2u);
    EXPECT_EQ(rig.dialog->Curves()[0]->name, GetLangString(114) + " 400");
    EXPECT_EQ(rig.dialog->Curves()[0]->dashed, 0);
    EXPECT_EQ(rig.dialog->Curves()[1]->dashed, 1);
    EXPECT_EQ(rig.dialog->Curves()[1]->colour, 0xFF00FFu);
    EXPECT_EQ(rig.dialog->Title(0), GetLangString(4010));
    ASSERT_FALSE(rig.dialog->Infos().empty());
    EXPECT_EQ(rig.dialog->Infos()[0]->value, "Alpha");
}

TEST(RefMultiDlg, AProfileThatStopsLoadingClearsTheIsoMarks)
{
    MultiRig rig;
    rig.dialog->Tab()->setCurrentIndex(1);
    CKZARN_RefIsoForm* form = rig.dialog->IsoForm();
    QComboBox* profiles = form->ProfileCombo();
    profiles->setCurrentIndex(profiles->findText("Alpha"));
    emit profiles->activated(profiles->currentIndex());
    ASSERT_TRUE(form->IsoMarked(400));
    // The file is cut short behind the dialog's back; the next build fails to load it.
    CFileLockManager::GetInstance()->RemoveAll();
    const std::string path = CKZARN_Common::GetProfilePath("Alpha");
    const std::string whole = ProfileFolderRig::ReadAll(path);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << whole.substr(0, whole.size() * 3 / 4);
    emit rig.dialog->LightCombo()->activated(0);
    EXPECT_FALSE(form->IsoMarked(400));
    EXPECT_FALSE(form->IsoMarked(100));
    EXPECT_TRUE(rig.dialog->Curves().empty());
}

TEST(RefMultiDlg, AProfileThatCannotBeLoadedIsRefusedWhenChosen)
{
    MultiRig rig;
    const std::string path = CKZARN_Common::GetProfilePath("Beta");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "not a profile";
    rig.prompts.Answer(IDOK);
    rig.ChooseCamera(1, "Beta");
    ASSERT_EQ(rig.prompts.Prompts().size(), 1u);
    EXPECT_EQ(rig.prompts.Prompts()[0].text, "Beta\n" + GetLangString(10015));
    EXPECT_EQ(rig.dialog->CameraForm()->ProfileCombo(1)->currentText().toStdString(), GetLangString(132));
    EXPECT_TRUE(rig.dialog->Curves().empty());
}

TEST(RefMultiDlg, PreviewIsShapedAsThePrintedPage)
{
    MultiRig rig;
    rig.ChooseCamera(1, "Alpha");
    const auto plotFor = [&rig](int aspectHeight) {
        CET_GraphDraw graph;
        graph.SetGraph(0, rig.dialog->Title(0), rig.dialog->Title(1), rig.dialog->Title(2), &rig.dialog->Curves(),
                       nullptr, 3, nullptr, 30, aspectHeight);
        return graph.CalcPlotRect(RECT{0, 0, 3000, 3000});
    };
    RECT previewed{};
    bool seen = false;
    QTimer::singleShot(0, [&]() {
        if (auto* preview = qobject_cast<CKZARN_GraphPreviewDialog*>(QApplication::activeModalWidget())) {
            previewed = preview->m_wndGraph.m_graph.CalcPlotRect(RECT{0, 0, 3000, 3000});
            seen = true;
            preview->reject();
        }
    });
    rig.dialog->OnPreview();
    ASSERT_TRUE(seen);
    const RECT printed = plotFor(15);
    const RECT other = plotFor(18);
    ASSERT_NE(printed.bottom - printed.top, other.bottom - other.top); // the shape matters here
    EXPECT_EQ(previewed.left, printed.left);
    EXPECT_EQ(previewed.right, printed.right);
    EXPECT_EQ(previewed.top, printed.top);
    EXPECT_EQ(previewed.bottom, printed.bottom);
}

TEST(RefMultiDlg, BackEndsWithOkAndTheCloseBoxWithCancel)
{
    const struct {
        bool back;
        int result;
    } cases[] = {{true, IDOK}, {false, IDCANCEL}};
    for (const auto& c : cases) {
        MultiRig rig;
        CKZARN_RefMultiDlg* dialog = rig.dialog.get();
        EndViewSoon(dialog, c.back);
        EXPECT_EQ(dialog->exec(), c.result) << (c.back ? "back" : "close box");
    }
}
