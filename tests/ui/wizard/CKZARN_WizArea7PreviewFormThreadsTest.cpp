// The photographs page in the wizard with its real strip and view: which check marks it allows,
// the corners it confirms at the corner step, the refusal of crossed corners, and a photograph that
// cannot be opened in the view, which stays unconfirmed.
#include "tests/ui/wizard/ThumbnailWait.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"
#include "tests/ui/wizard/WizardRig.h"
#include "core/util/CLangTable.h"
#include "ui/wizard/CKZARN_ImageWnd.h"
#include "ui/wizard/CKZARN_ThumbnailWnd.h"
#include "ui/wizard/CKZARN_WizArea7PreviewForm.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <fstream>

using namespace wizardtest;

namespace {

// The wizard with its real photograph pages; the result pages stay stand-ins.
struct PageRig {
    PageRig()
    {
        WizardPageFactory::SetMaker([this](int templateId, QWidget* parent) -> CKZARN_WizAreaBaseForm* {
            switch (templateId) {
            case WizardPageFactory::kResultTable: return rig.table = new FakeResultPages(templateId, parent);
            case WizardPageFactory::kResultGraph: return rig.graph = new FakeResultPages(templateId, parent);
            default: return nullptr;
            }
        });
        rig.Open(0);
        page = dynamic_cast<CKZARN_WizArea7PreviewForm*>(rig.wizard->Page(WizardPageFactory::kPhotos));
        strip = page->Strip();
    }
    bool WaitForLoaded() { return wizardtest::WaitForThumbnails(strip); }
    // Step 3 of a Gradus II run over a folder of photographs at the exposures given.
    void ToPhotoStep(const std::vector<double>& exposures)
    {
        for (std::size_t i = 0; i < exposures.size(); ++i)
            ASSERT_TRUE(WritePhoto(rig.photoFolder.File("p" + std::to_string(i) + ".jpg"), 2, exposures[i], true));
        rig.wizard->Data().target = 1;
        rig.chosenFolder = rig.photoFolder.Path();
        rig.wizard->OnNext();
        rig.wizard->OnNext();
        ASSERT_EQ(rig.wizard->GetStep(), 3);
        ASSERT_EQ(strip->GetCount(), static_cast<int>(exposures.size()));
        ASSERT_TRUE(WaitForLoaded());
    }
    int IndexOf(const std::string& name)
    {
        int index = -1;
        strip->FindRecordByPath(rig.photoFolder.File(name), &index);
        return index;
    }

    WizardRig rig;
    CKZARN_WizArea7PreviewForm* page = nullptr;
    CKZARN_ThumbnailWnd* strip = nullptr;
};

} // namespace

TEST(CKZARN_WizArea7PreviewFormTest, ChecksAreRefusedBeyondTheChartsCountAndForAnotherIso)
{
    PageRig r;
    r.ToPhotoStep({-2, -1, 0, 1});
    for (int i = 0; i < 3; ++i)
        r.strip->ToggleCheck(r.IndexOf("p" + std::to_string(i) + ".jpg"));
    std::vector<std::string> checked;
    EXPECT_EQ(r.strip->GetCheckedPaths(&checked), 3);
    EXPECT_TRUE(r.rig.NextEnabled());
    EXPECT_TRUE(r.rig.prompts.Prompts().empty()) << "Exif values complete: no dialog";

    r.strip->ToggleCheck(r.IndexOf("p3.jpg"));
    EXPECT_EQ(r.strip->GetCheckedPaths(&checked), 3);
    ASSERT_EQ(r.rig.Texts(), std::vector<std::string>{GetLangString(3036)});

    // Unchecking one makes room and forgets what was typed for it; Exif values stay.
    ExifInputValues* p2 = r.strip->GetRecordAt(r.IndexOf("p2.jpg"));
    p2->Lock();
    p2->shutterFromExif = 0;
    p2->shutterIndex = 40;
    p2->Unlock();
    r.strip->ToggleCheck(r.IndexOf("p2.jpg"));
    EXPECT_EQ(p2->shutterIndex, -1);
    EXPECT_EQ(p2->iso, 100);
    // A photograph of another ISO is still refused.
    EXPECT_FALSE(r.rig.NextEnabled());
    r.rig.wizard->Data().isoSpeed = 200;
    r.strip->ToggleCheck(r.IndexOf("p3.jpg"));
    EXPECT_EQ(r.strip->GetCheckedPaths(&checked), 2);
    EXPECT_EQ(r.rig.Texts().back(), GetLangString(3037));

    // A photograph that cannot be decoded is refused without a message.
    r.rig.wizard->Data().isoSpeed = 100;
    std::ofstream(r.rig.photoFolder.File("p3.jpg")) << "broken";
    r.strip->GetRecordAt(r.IndexOf("p3.jpg"))->loadResult = -10004;
    const std::size_t before = r.rig.prompts.Prompts().size();
    r.strip->ToggleCheck(r.IndexOf("p3.jpg"));
    EXPECT_EQ(r.strip->GetCheckedPaths(&checked), 2);
    EXPECT_EQ(r.rig.prompts.Prompts().size(), before);
}

TEST(CKZARN_WizArea7PreviewFormTest, TheCornerStepConfirmsFoundCornersAndRefusesCrossedOnes)
{
    PageRig r;
    r.ToPhotoStep({-2, -1, 0});
    auto truth = WritePhoto(r.rig.photoFolder.File("truth.jpg.tmp"), 2, -2, true);
    for (int i = 0; i < 3; ++i)
        r.strip->ToggleCheck(i);
    r.rig.wizard->OnNext();
    ASSERT_EQ(r.rig.wizard->GetStep(), 4);
    ASSERT_EQ(r.page->View()->GetMode(), CKZARN_ImageWnd::kCornerMode);
    ASSERT_EQ(r.strip->GetCornerMode(), 1);
    ASSERT_TRUE(r.WaitForLoaded());

    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(r.strip->Select(i, 1), 1) << i;
    EXPECT_TRUE(r.rig.prompts.Prompts().empty()) << "the chart was found";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(r.strip->IsMarked(r.strip->GetRecordAt(i)->path), 1) << i;
    EXPECT_TRUE(r.rig.NextEnabled());
    ExifInputValues first;
    ASSERT_TRUE(r.strip->GetRecordByPath(r.strip->GetRecordAt(0)->path, &first));
    POINT corners[4];
    first.GetCornerPoints(corners);
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(corners[k].x, truth->values.corners[k].x, 6) << k;
        EXPECT_NEAR(corners[k].y, truth->values.corners[k].y, 6) << k;
    }

    // Dragging the bottom-right marker over to the left edge breaks the outline: leaving is refused.
    CKZARN_ImageWnd* view = r.page->View();
    const POINT tl = view->GetCorner(0), br = view->GetCorner(2), bl = view->GetCorner(3);
    const POINT moved{tl.x + 10, (tl.y + bl.y) / 2};
    auto mouse = [view](QEvent::Type type, POINT at) {
        QMouseEvent event(type, QPointF(at.x, at.y), view->mapToGlobal(QPointF(at.x, at.y)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton),
                          Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    mouse(QEvent::MouseButtonPress, br);
    mouse(QEvent::MouseMove, moved);
    mouse(QEvent::MouseButtonRelease, moved);
    EXPECT_EQ(r.strip->Select(0, 1), 0);
    EXPECT_EQ(r.strip->GetSelectedIndex(), 2);
    EXPECT_EQ(r.rig.Texts(), std::vector<std::string>{GetLangString(3043)});
    ExifInputValues crossed;
    r.strip->GetRecordByPath(r.strip->GetRecordAt(2)->path, &crossed);
    EXPECT_EQ(crossed.corners[2].x, moved.x - view->GetImageRectangle().left) << "the corners stay stored as they are";
}

TEST(CKZARN_WizArea7PreviewFormTest, APhotographTheViewCannotOpenStaysUnconfirmed)
{
    PageRig r;
    r.ToPhotoStep({-2, -1, 0});
    for (int i = 0; i < 3; ++i)
        r.strip->ToggleCheck(i);
    r.rig.wizard->OnNext();
    ASSERT_EQ(r.rig.wizard->GetStep(), 4);
    ASSERT_TRUE(r.WaitForLoaded());
    const std::string broken = r.strip->GetRecordAt(1)->path;
    std::ofstream(broken, std::ios::trunc) << "no longer a picture";
    ASSERT_EQ(r.strip->Select(1, 1), 1);
    EXPECT_EQ(r.strip->IsMarked(broken), 0);
    EXPECT_FALSE(r.page->View()->HasImageRect());
    EXPECT_EQ(r.rig.Texts(), std::vector<std::string>{GetLangString(3080)});
    EXPECT_FALSE(r.rig.NextEnabled());
}
