// Whole runs of the wizard through its real pages over a folder of synthetic chart photographs:
// readings, folder, photographs checked, corners found and confirmed (one marker dragged), the
// calculation, the result table and graph, one point stepped and one typed, a refused edit that
// leaves everything as it was, and the save; the saved points lie on the photographs' tone curve.
#include "tests/ui/wizard/ThumbnailWait.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"
#include "tests/ui/wizard/WizardRig.h"
#include "tests/ui/wizard/CommaLocale.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "profilelib/ZarnLib_Vector2.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/views/CKZARN_GparhWindow.h"
#include "ui/wizard/CKZARN_ImageWnd.h"
#include "ui/wizard/CKZARN_ThumbnailWnd.h"
#include "ui/wizard/CKZARN_WizArea4GraphForm.h"
#include "ui/wizard/CKZARN_WizArea7GraphForm.h"
#include "ui/wizard/CKZARN_WizArea7PreviewForm.h"
#include "ui/wizard/WizardResultEditor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace wizardtest;

namespace {

// With ZARN_SCREENSHOT_DIR set, the wizard's window is kept as a picture at each step shown.
void KeepScreenshot(QWidget* window, const std::string& name)
{
    const QByteArray folder = qgetenv("ZARN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QCoreApplication::processEvents();
    window->grab().save(QString::fromUtf8(folder) + "/" + QString::fromStdString(name) + ".png");
}

struct Journey {
    explicit Journey(int mode)
    {
        // Every page is the real one.
        WizardPageFactory::SetMaker([](int, QWidget*) -> CKZARN_WizAreaBaseForm* { return nullptr; });
        rig.Open(mode);
        photos = dynamic_cast<CKZARN_WizArea7PreviewForm*>(rig.wizard->Page(WizardPageFactory::kPhotos));
        table = dynamic_cast<CKZARN_WizArea4GraphForm*>(rig.wizard->Page(WizardPageFactory::kResultTable));
        graph = dynamic_cast<CKZARN_WizArea7GraphForm*>(rig.wizard->Page(WizardPageFactory::kResultGraph));
    }
    bool WaitForLoaded() { return wizardtest::WaitForThumbnails(photos->Strip()); }
    // From step 0 to the result over three Gradus II photographs; the last one's top-left marker
    // is dragged a little before moving on.
    void ToResult()
    {
        CKZARN_WizardDlg& w = *rig.wizard;
        w.Data().target = 1;
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(WritePhoto(rig.photoFolder.File("p" + std::to_string(i) + ".jpg"), 2, i - 2.0, true));
        rig.chosenFolder = rig.photoFolder.Path();
        while (w.GetStep() < 3) {
            const int before = w.GetStep();
            KeepScreenshot(rig.wizard.get(), "wizard-step" + std::to_string(before) + "-mode" + std::to_string(w.GetMode()));
            w.OnNext();
            ASSERT_GT(w.GetStep(), before);
        }
        ASSERT_EQ(photos->Strip()->GetCount(), 3);
        ASSERT_TRUE(WaitForLoaded());
        for (int i = 0; i < 3; ++i)
            photos->Strip()->ToggleCheck(i);
        photos->Strip()->Select(1, 1);
        ASSERT_TRUE(rig.NextEnabled());
        KeepScreenshot(rig.wizard.get(), "wizard-step3-mode" + std::to_string(w.GetMode()));
        w.OnNext();
        ASSERT_EQ(w.GetStep(), 4);
        ASSERT_TRUE(WaitForLoaded());
        for (int i = 0; i < 3; ++i)
            ASSERT_EQ(photos->Strip()->Select(i, 1), 1);
        CKZARN_ImageWnd* view = photos->View();
        const POINT tl = view->GetCorner(0);
        auto mouse = [view](QEvent::Type type, int x, int y) {
            QMouseEvent event(type, QPointF(x, y), view->mapToGlobal(QPointF(x, y)),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton),
                              Qt::NoModifier);
            QApplication::sendEvent(view, &event);
        };
        mouse(QEvent::MouseButtonPress, tl.x + 3, tl.y + 3);
        mouse(QEvent::MouseMove, tl.x + 1, tl.y + 1);
        mouse(QEvent::MouseButtonRelease, tl.x + 1, tl.y + 1);
        ASSERT_TRUE(rig.NextEnabled());
        ASSERT_TRUE(rig.prompts.Prompts().empty()) << rig.prompts.Prompts()[0].text;
        KeepScreenshot(rig.wizard.get(), "wizard-step4-mode" + std::to_string(w.GetMode()));
        w.OnNext();
        ASSERT_EQ(w.GetStep(), 5);
        KeepScreenshot(rig.wizard.get(), "wizard-step5-mode" + std::to_string(w.GetMode()));
        ExifInputValues dragged;
        photos->Strip()->GetRecordByPath(photos->Strip()->GetRecordAt(2)->path, &dragged);
        EXPECT_EQ(dragged.corners[0].x, tl.x + 1 - view->GetImageRectangle().left) << "the dragged corner was taken";
    }
    std::string Field(int kind) const
    {
        std::string text = table->Field(kind)->text().toStdString();
        for (char& c : text)
            if (c == CCustomEdit::ApplicationDecimalChar())
                c = '.';
        return text;
    }
    void Type(int kind, double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, kind < 5 ? "%.1f" : "%.0f", value);
        std::string typed = text;
        for (char& c : typed)
            if (c == '.' && CCustomEdit::ApplicationDecimalChar() != 0)
                c = CCustomEdit::ApplicationDecimalChar();
        table->Field(kind)->setText(QString::fromStdString(typed));
    }
    // Both blocks of the run's table hold the result points.
    void ExpectBlocksHoldThePoints()
    {
        const CharacteristicPoints& p = rig.wizard->ResultPoints();
        constexpr int kScreenOf[5] = {0, 1, 3, 4, 2};
        for (int block = 0; block < 2; ++block) {
            _ZARNLIB_VECTOR2 five[5];
            double extra = 0;
            ASSERT_EQ(rig.wizard->Profile().GetTablePoints(Condition(100, 0), block, five, &extra), 0);
            for (int i = 0; i < 5; ++i) {
                EXPECT_NEAR(five[i].x, p.ev[kScreenOf[i]], 1e-9) << block << " " << i;
                EXPECT_NEAR(five[i].y, p.level[kScreenOf[i]], 1e-9) << block << " " << i;
            }
        }
    }

    WizardRig rig;
    CKZARN_WizArea7PreviewForm* photos = nullptr;
    CKZARN_WizArea4GraphForm* table = nullptr;
    CKZARN_WizArea7GraphForm* graph = nullptr;
};

void ExpectOnToneCurve(const CharacteristicPoints& p, int centreLevel)
{
    for (int i = 0; i < 5; ++i)
        EXPECT_LT(chartseries::OffToneCurve(p.ev[i], p.level[i], centreLevel), 0.15) << "point " << i;
}

} // namespace

TEST(WizardPagesJourney, AnAddedConditionIsAdjustedThroughTheTableAndSaved)
{
    Journey j(1);
    ASSERT_NO_FATAL_FAILURE(j.ToResult());
    CKZARN_WizardDlg& w = *j.rig.wizard;
    const CharacteristicPoints first = w.ResultPoints();
    ExpectOnToneCurve(first, 80);
    EXPECT_EQ(j.Field(7), "80");
    EXPECT_FALSE(j.Field(9).empty());
    EXPECT_FALSE(j.table->Field(3)->isReadOnly());
    ASSERT_EQ(j.graph->Graph()->m_graph.GetPoints().level[2], 80);
    EXPECT_EQ(j.graph->Graph()->m_bInteractive, 1);

    // A keyboard step on the DRP EV: Enter applies it (source 1) and keeps the focus.
    const double drp = WizardResultEditor::RoundTenths(first.ev[3]) - 0.2;
    j.Type(3, drp);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(j.table->Field(3), &enter);
    EXPECT_NEAR(w.ResultPoints().ev[3], drp, 1e-9);
    EXPECT_LT(w.ResultPoints().level[3], first.level[3]);
    EXPECT_EQ(j.graph->Graph()->m_graph.GetPoints().level[3], w.ResultPoints().level[3]) << "the marker follows";
    j.ExpectBlocksHoldThePoints();

    // A typed DRM level, applied when the field is left.
    j.Type(6, first.level[1] + 4);
    j.table->OnKillFocusEdit(6);
    EXPECT_EQ(w.ResultPoints().level[1], first.level[1] + 4);
    EXPECT_EQ(j.Field(6), std::to_string(first.level[1] + 4));
    j.ExpectBlocksHoldThePoints();

    // A CPM EV beyond the range reverts; nothing changes anywhere.
    const CharacteristicPoints before = w.ResultPoints();
    j.Type(0, -7.3);
    j.table->OnKillFocusEdit(0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(w.ResultPoints().ev[i], before.ev[i]);
        EXPECT_EQ(w.ResultPoints().level[i], before.level[i]);
    }
    j.ExpectBlocksHoldThePoints();
    ExpectOnToneCurve(w.ResultPoints(), 80);

    j.rig.savePath = j.rig.dataFolder.File("Journey.kpf");
    w.OnNext();
    EXPECT_FALSE(w.isVisible());
    ZarnLib_Profile saved;
    const ZarnLibString file(j.rig.savePath.c_str());
    ASSERT_EQ(LoadProfile(&file, &saved), 0);
    _ZARNLIB_VECTOR2 five[5];
    double extra = 0;
    ASSERT_EQ(saved.GetTablePoints(Condition(100, 0), 0, five, &extra), 0);
    EXPECT_NEAR(five[2].x, w.ResultPoints().ev[3], 1e-9) << "DRP as adjusted";
    EXPECT_NEAR(five[1].y, first.level[1] + 4, 1e-9) << "DRM as typed";
}

TEST(WizardPagesJourney, ANewProfileShowsItsResultReadOnly)
{
    Journey j(0);
    ASSERT_NO_FATAL_FAILURE(j.ToResult());
    CKZARN_WizardDlg& w = *j.rig.wizard;
    ExpectOnToneCurve(w.ResultPoints(), 80);
    EXPECT_TRUE(j.table->Field(3)->isReadOnly());
    j.table->SetEditable(0);
    EXPECT_TRUE(j.table->Field(3)->isReadOnly()) << "mode 0 stays read-only";
    EXPECT_EQ(j.graph->Graph()->m_bInteractive, 0);
    j.rig.savePath = j.rig.dataFolder.File("New.kpf");
    w.OnNext();
    ZarnLib_Profile saved;
    const ZarnLibString file(j.rig.savePath.c_str());
    ASSERT_EQ(LoadProfile(&file, &saved), 0);
    EXPECT_NE(saved.FindTable(Condition(100, 0)), nullptr);
}

TEST(WizardPagesJourney, ResultEditsKeepTheirRulesAndARefusedOneChangesNothing)
{
    Journey j(1);
    ASSERT_NO_FATAL_FAILURE(j.ToResult());
    CKZARN_WizardDlg& w = *j.rig.wizard;
    const CharacteristicPoints& p = w.ResultPoints();

    // A stepped DRP EV: the level comes from the curve, so its EV and level no longer match exactly.
    const double drp = WizardResultEditor::RoundTenths(p.ev[3]) - 0.2;
    w.SetResultValue(3, drp, 1);
    ASSERT_NEAR(p.ev[3], drp, 1e-9);
    const CharacteristicPoints stepped = p;

    struct Case {
        const char* what;
        int kind;
        double value;
        int source;
    } refused[] = {{"CPM EV beyond the limit", 0, -7.3, 2},
                   {"DRM EV typed past CNT", 1, 0.2, 2},
                   {"CPP level 256", 9, 256, 2},
                   {"CPM level -1", 5, -1, 2},
                   {"centre level below DRM", 7, stepped.level[1] - 1.0, 2}};
    for (const Case& c : refused) {
        SCOPED_TRACE(c.what);
        w.SetResultValue(c.kind, c.value, c.source);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(p.ev[i], stepped.ev[i]) << i;
            EXPECT_EQ(p.level[i], stepped.level[i]) << i;
        }
        j.ExpectBlocksHoldThePoints();
    }

    // A dragged DRM just past CNT snaps onto it.
    w.SetResultValue(1, p.ev[2] + 0.03, 0);
    EXPECT_EQ(p.ev[1], 0.0);
    EXPECT_EQ(p.level[1], p.level[2]);
    j.ExpectBlocksHoldThePoints();

    // A dragged CPP beyond the measured curve stops at the curve's end.
    const double cppBefore = p.ev[4];
    w.SetResultValue(4, 6.9, 0);
    EXPECT_GT(p.ev[4], cppBefore);
    EXPECT_LT(p.ev[4], 6.9);
    j.ExpectBlocksHoldThePoints();

    // A new centre level re-bases every EV on it.
    const int centre = p.level[2] + 5;
    const double shift = ToneInverse(centre) - ToneInverse(p.level[2]);
    const double cpmBefore = p.ev[0];
    w.SetResultValue(7, centre, 2);
    EXPECT_EQ(p.level[2], centre);
    EXPECT_NEAR(p.ev[2], 0.0, 1e-6);
    EXPECT_NEAR(p.ev[0], cpmBefore - shift, 0.15);
    j.ExpectBlocksHoldThePoints();
    EXPECT_EQ(j.Field(7), std::to_string(centre));
}

TEST(WizardPagesJourney, UnderACommaLocaleATypedResultKeepsItsFraction)
{
    CommaLocale locale;
    ZARN_REQUIRE_COMMA_LOCALE(locale);
    Journey j(1);
    ASSERT_NO_FATAL_FAILURE(j.ToResult());
    CKZARN_WizardDlg& w = *j.rig.wizard;
    const double drp = WizardResultEditor::RoundTenths(w.ResultPoints().ev[3]) - 0.2;
    char typed[32];
    std::snprintf(typed, sizeof typed, "%+.1f", drp);
    ASSERT_NE(std::string(typed).find(','), std::string::npos) << "the C library writes the comma";
    j.table->Field(3)->setText(QString::fromLatin1(typed));
    j.table->OnKillFocusEdit(3);
    EXPECT_NEAR(w.ResultPoints().ev[3], drp, 1e-9);
    j.ExpectBlocksHoldThePoints();

    // A text that is no number (the field lets a lone sign stand) is refused as a value out of
    // range is: nothing changes and the value comes back.
    const CharacteristicPoints before = w.ResultPoints();
    j.table->Field(3)->setText("-");
    ASSERT_EQ(j.table->Field(3)->text().toStdString(), "-");
    j.table->OnKillFocusEdit(3);
    EXPECT_EQ(w.ResultPoints().ev[3], before.ev[3]);
    EXPECT_EQ(j.table->Field(3)->text().toStdString(), typed);
}
