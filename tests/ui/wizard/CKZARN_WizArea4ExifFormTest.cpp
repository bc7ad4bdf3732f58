// The photograph-data page: the values it shows for a record, the typed brightness adjustment with
// its rounding and bounds, and the slider's brightness levels.
#include "tests/ui/wizard/WizardRig.h"
#include "tests/ui/wizard/CommaLocale.h"
#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/wizard/CKZARN_WizArea4ExifForm.h"

#include <QLineEdit>

#include <fstream>
#include <QSlider>

#include <gtest/gtest.h>

using namespace wizardtest;

namespace {

struct ExifRig {
    ExifRig()
    {
        WizardPageFactory::SetMaker([this](int templateId, QWidget* parent) -> CKZARN_WizAreaBaseForm* {
            if (templateId == WizardPageFactory::kPhotos)
                return rig.photos = new FakePhotoPage(parent);
            return nullptr;
        });
        rig.Open(0);
        page = dynamic_cast<CKZARN_WizArea4ExifForm*>(rig.wizard->Page(WizardPageFactory::kPhotoData));
    }
    QString Text(int id) const { return qobject_cast<QLineEdit*>(page->FindControl(id))->text(); }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(page->FindControl(id)); }
    // From step 0 (Gradus II) to the photograph step.
    void ToPhotographs()
    {
        rig.wizard->Data().target = 1;
        rig.chosenFolder = rig.photoFolder.Path();
        rig.wizard->OnNext();
        rig.wizard->OnNext();
        ASSERT_EQ(rig.wizard->GetStep(), 3);
    }

    WizardRig rig;
    CKZARN_WizArea4ExifForm* page = nullptr;
};

} // namespace

TEST(CKZARN_WizArea4ExifFormTest, ShowsTheRecordsValuesOrThePlaceholder)
{
    ExifRig r;
    ASSERT_NE(r.page, nullptr);
    ExifInputValues record;
    record.path = "/photos/IMG_0001.JPG";
    record.isoFromExif = 1;
    record.iso = 100;
    record.shutterIndex = 54;
    record.apertureIndex = -1;
    record.brightnessAdjust = 1.25;
    record.typedFrameRate = 23.976;
    r.page->ShowPhoto(record.path, &record);
    EXPECT_EQ(r.Text(CKZARN_WizArea4ExifForm::kFileNameId).toStdString(), "IMG_0001.JPG");
    EXPECT_EQ(r.Text(CKZARN_WizArea4ExifForm::kIsoId).toStdString(), CKZARN_Common::IsoToText(100));
    EXPECT_EQ(r.Text(CKZARN_WizArea4ExifForm::kShutterId).toStdString(), CKZARN_Common::ShutterTimeToText(54));
    EXPECT_EQ(r.Text(CKZARN_WizArea4ExifForm::kApertureId).toStdString(), GetLangString(132));
    EXPECT_EQ(r.Text(CKZARN_WizArea4ExifForm::kFrameRateId).toStdString(), "23.976");
    EXPECT_EQ(r.Text(CKZARN_WizArea4ExifForm::kAdjustId).toStdString(), "+1.3");
    EXPECT_DOUBLE_EQ(r.page->GetBrightnessAdjust(), 1.25);
    EXPECT_TRUE(r.Edit(CKZARN_WizArea4ExifForm::kAdjustId)->isReadOnly()) << "editable only at step 3";
    EXPECT_FALSE(r.Edit(CKZARN_WizArea4ExifForm::kShutterId)->isHidden());
    EXPECT_TRUE(r.Edit(CKZARN_WizArea4ExifForm::kFrameRateId)->isHidden());

    r.page->ShowPhoto(std::string(), nullptr);
    EXPECT_TRUE(r.Text(CKZARN_WizArea4ExifForm::kIsoId).isEmpty());
    EXPECT_FALSE(r.page->FindControl(CKZARN_WizArea4ExifForm::kSliderId)->isEnabled());
}

TEST(CKZARN_WizArea4ExifFormTest, TypedBrightnessIsRoundedToTenthsAndBounded)
{
    ExifRig r;
    ASSERT_NO_FATAL_FAILURE(r.ToPhotographs());
    ExifInputValues record;
    record.path = "/photos/a.jpg";
    r.page->ShowPhoto(record.path, &record);
    QLineEdit* edit = r.Edit(CKZARN_WizArea4ExifForm::kAdjustId);
    ASSERT_FALSE(edit->isReadOnly());
    const char decimal = CCustomEdit::ApplicationDecimalChar();
    struct Case {
        const char* typed;
        double stored;
        const char* shown;
        bool refused;
    } cases[] = {{"2.5", 2.5, "+2.5", false}, {"12.5", 2.5, "+2.5", true}, {"-0", 0.0, "0.0", false},
                 {"-9.9", -9.9, "-9.9", false}, {"-10", -9.9, "-9.9", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::size_t before = r.rig.prompts.Prompts().size();
        QString typed = QString::fromLatin1(c.typed);
        QString shown = QString::fromLatin1(c.shown);
        if (decimal != 0) {
            typed.replace('.', QChar(decimal));
            shown.replace('.', QChar(decimal));
        }
        edit->setText(typed);
        r.page->OnKillFocusBrightness();
        EXPECT_NEAR(r.page->GetBrightnessAdjust(), c.stored, 1e-9);
        EXPECT_EQ(edit->text(), shown);
        ASSERT_EQ(r.rig.prompts.Prompts().size(), before + (c.refused ? 1 : 0));
        if (c.refused) {
            EXPECT_EQ(r.rig.prompts.Prompts().back().text, GetLangString(10008));
        }
    }
}

TEST(CKZARN_WizArea4ExifFormTest, AdjustmentsAreRoundedHalfAwayFromZeroToTenths)
{
    struct Case {
        double value, rounded;
        const char* text;
    } cases[] = {{1.25, 1.3, "+1.3"}, {-0.04, 0.0, "0.0"}, {9.96, 10.0, "+10.0"}, {-1.25, -1.3, "-1.3"}, {0.05, 0.1, "+0.1"}};
    const char decimal = CCustomEdit::ApplicationDecimalChar();
    for (const Case& c : cases) {
        EXPECT_NEAR(CKZARN_WizArea4ExifForm::RoundTenths(c.value), c.rounded, 1e-12) << c.value;
        std::string text = c.text;
        if (decimal != 0)
            std::replace(text.begin(), text.end(), '.', decimal);
        EXPECT_EQ(CKZARN_WizArea4ExifForm::BrightnessText(c.value), text) << c.value;
    }
}

TEST(CKZARN_WizArea4ExifFormTest, SliderPositionsAndLevelsRoundTrip)
{
    const std::pair<int, int> positions[] = {{-5, 0}, {-15, -1}, {-20, -1}, {-1000, -99}, {-1, 0}, {0, 0}, {1000, 1000}};
    for (const auto& [position, level] : positions)
        EXPECT_EQ(CKZARN_WizArea4ExifForm::LevelOfPosition(position), level) << position;
    for (int level : {-99, -1, 0, 5, 1000})
        EXPECT_EQ(CKZARN_WizArea4ExifForm::LevelOfPosition(CKZARN_WizArea4ExifForm::PositionOfLevel(level)), level);
    EXPECT_EQ(CKZARN_WizArea4ExifForm::PositionOfLevel(-1), -20);
}

TEST(CKZARN_WizArea4ExifFormTest, UnderACommaLocaleATypedAdjustmentReachesTheRecordWithItsFraction)
{
    CommaLocale locale;
    ZARN_REQUIRE_COMMA_LOCALE(locale);
    ExifRig r;
    ASSERT_NO_FATAL_FAILURE(r.ToPhotographs());
    ExifInputValues record;
    record.path = r.rig.photoFolder.File("a.jpg");
    std::ofstream(record.path) << "x";
    r.rig.photos->Put(record);
    r.rig.wizard->OnPhotoSelected(record.path, record);
    QLineEdit* edit = r.Edit(CKZARN_WizArea4ExifForm::kAdjustId);
    ASSERT_FALSE(edit->isReadOnly());

    edit->setText("-1,5");
    r.page->OnKillFocusBrightness();
    EXPECT_DOUBLE_EQ(r.page->GetBrightnessAdjust(), -1.5);
    EXPECT_EQ(edit->text().toStdString(), "-1,5");
    // A text that is no number (the edit lets a lone sign stand) is refused as a value out of range is.
    for (const char* typed : {"-", "+"}) {
        SCOPED_TRACE(typed);
        const std::size_t before = r.rig.prompts.Prompts().size();
        edit->setText(QString::fromLatin1(typed));
        ASSERT_EQ(edit->text().toStdString(), typed);
        r.page->OnKillFocusBrightness();
        EXPECT_DOUBLE_EQ(r.page->GetBrightnessAdjust(), -1.5);
        ASSERT_EQ(r.rig.prompts.Prompts().size(), before + 1);
        EXPECT_EQ(r.rig.prompts.Prompts().back().text, GetLangString(10008));
    }
    // Moving on stores the adjustment into the photograph's record.
    r.rig.wizard->OnNext();
    EXPECT_DOUBLE_EQ(r.rig.photos->records[record.path]->brightnessAdjust, -1.5);
}
