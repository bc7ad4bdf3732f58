// The wizard's pages at the default font: no caption cut off or wrapped, every row of the step
// list inside its area, nothing on a group box's frame, no picture larger than its control, and on
// the result graph every text in a place of its own. The pictures of a whole session are kept by the
// test switch (tests/app); this test pins the rules.
#include "tests/ui/views/DrawnTextProbe.h"
#include "tests/ui/wizard/WizardRig.h"
#include "ui/controls/CStaticIcon.h"
#include "ui/views/CKZARN_GparhWindow.h"
#include "ui/wizard/CKZARN_WizArea3Form.h"
#include "ui/wizard/CKZARN_WizArea7GraphForm.h"
#include "ui/wizard/WizardGroupBox.h"

#include <QAbstractButton>
#include <QLabel>

#include <gtest/gtest.h>

using namespace wizardtest;

namespace {

constexpr int kPages[] = {WizardPageFactory::kStepList, WizardPageFactory::kPhotoData, WizardPageFactory::kResultTable,
                          WizardPageFactory::kSummary,  WizardPageFactory::kLight,     WizardPageFactory::kChart,
                          WizardPageFactory::kReadings, WizardPageFactory::kRange,     WizardPageFactory::kCine};

// The controls laid out on a page; with `shownOnly`, those shown with the page at this step.
std::vector<QWidget*> Controls(QWidget* page, bool shownOnly)
{
    std::vector<QWidget*> controls;
    for (QWidget* child : page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if ((!shownOnly || child->isVisibleTo(page)) && !child->geometry().isEmpty())
            controls.push_back(child);
    return controls;
}

void ExpectNothingClipped(CKZARN_WizardDlg& wizard, const std::string& where)
{
    for (const int id : kPages) {
        QWidget* page = wizard.Page(id);
        ASSERT_NE(page, nullptr) << id;
        // Captions are checked also where another step shows them; frames hold what shows now.
        const std::vector<QWidget*> controls = Controls(page, true);
        for (QWidget* control : Controls(page, false)) {
            const std::string name = where + " page " + std::to_string(id) + " " + control->metaObject()->className() +
                                     " at " + std::to_string(control->x()) + "," + std::to_string(control->y());
            if (auto* label = qobject_cast<QLabel*>(control); label != nullptr && !label->text().isEmpty()) {
                const QFontMetrics metrics = label->fontMetrics();
                if (!label->wordWrap()) {
                    EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width()) << name << " " << label->text().toStdString();
                } else {
                    EXPECT_LE(metrics.boundingRect(QRect(0, 0, label->width(), 1000), Qt::TextWordWrap, label->text()).height(),
                              label->height()) << name << " " << label->text().toStdString();
                }
                EXPECT_GE(label->height(), metrics.height()) << name << " " << label->text().toStdString();
            }
            if (auto* icon = qobject_cast<CStaticIcon*>(control); icon != nullptr && !icon->icon.isNull()) {
                EXPECT_LE(icon->iconWidth, icon->width()) << name;
                EXPECT_LE(icon->iconHeight, icon->height()) << name;
            }
            if (auto* box = qobject_cast<WizardGroupBox*>(control); box != nullptr && box->isVisibleTo(page)) {
                // The frame's lines: a control either lies inside them or clear of the box.
                const QRect inner = box->geometry().adjusted(1, box->FrameTop() + 1, -1, -1);
                for (QWidget* other : controls) {
                    if (other == box || !other->geometry().intersects(box->geometry()))
                        continue;
                    EXPECT_TRUE(inner.contains(other->geometry()))
                        << name << " holds " << other->metaObject()->className() << " at " << other->x() << ","
                        << other->y() << " " << other->width() << "x" << other->height();
                }
            }
        }
    }
    // Every row of the step list lies inside the area the list shows in.
    QWidget* list = wizard.Page(WizardPageFactory::kStepList);
    for (QAbstractButton* row : list->findChildren<QAbstractButton*>()) {
        if (row->isVisibleTo(list)) {
            EXPECT_LE(row->geometry().bottom(), list->parentWidget()->height() - 1) << where << " " << row->text().toStdString();
        }
    }
}

// The wizard's own pages, with a stand-in only for the photograph strip.
void UseRealPagesButThePhotographs(WizardRig& rig)
{
    WizardPageFactory::SetMaker([&rig](int templateId, QWidget* parent) -> CKZARN_WizAreaBaseForm* {
        if (templateId == WizardPageFactory::kPhotos)
            return rig.photos = new FakePhotoPage(parent);
        return nullptr;
    });
}

TEST(WizardLayout, NothingIsClippedAtTheDefaultFont)
{
    for (const int mode : {0, 1}) {
        WizardRig rig;
        UseRealPagesButThePhotographs(rig);
        CKZARN_WizardDlg& w = rig.Open(mode);
        w.Data().target = 2;
        w.GoToStep(0);
        ExpectNothingClipped(w, "mode " + std::to_string(mode) + " step 0");
        w.Data().target = 5;
        rig.chosenFolder = rig.photoFolder.Path();
        while (w.GetStep() < 3) {
            const int before = w.GetStep();
            w.OnNext();
            ASSERT_GT(w.GetStep(), before);
            ExpectNothingClipped(w, "mode " + std::to_string(mode) + " step " + std::to_string(w.GetStep()));
        }
    }
}

TEST(WizardLayout, TheResultGraphKeepsItsTextsApartAtTheDefaultFont)
{
    // Step 5's graph as the wizard draws it after a run, in both modes: the tick labels, the axis
    // captions (the turned "Output level" among them) and the EV strip never share a pixel.
    for (const int mode : {0, 1}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        WizardRig rig;
        UseRealPagesButThePhotographs(rig);
        CKZARN_WizardDlg& w = rig.Open(mode);
        auto* page = dynamic_cast<CKZARN_WizArea7GraphForm*>(w.Page(WizardPageFactory::kResultGraph));
        ASSERT_NE(page, nullptr);
        CharacteristicPoints points;
        const double ev[5] = {-2.1, -1.54, 0.0, 2.15, 3.04};
        std::copy(std::begin(ev), std::end(ev), points.ev);
        page->DrawResult(nullptr, &points);
        CKZARN_GparhWindow* graph = page->Graph();
        ASSERT_EQ(graph->m_bInteractive, mode);
        ExpectGraphTextsApart(PaintGraphWindow(*graph), RECT{0, 0, graph->width(), graph->height()});
    }
}

} // namespace
