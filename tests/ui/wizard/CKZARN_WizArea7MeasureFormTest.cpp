// The meter-readings page: choices stored into the settings block, typed frame rates and shutter
// angles committed within their bounds, notifications ignored while the page is hidden, the cine
// rows hidden for normal readings, and the ISO list's marks of stored results.
#include "tests/ui/wizard/WizardRig.h"
#include "tests/ui/wizard/CommaLocale.h"
#include "core/CKZARN_Common.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/wizard/CKZARN_WizArea7MeasureForm.h"
#include "ui/wizard/WizardData.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace wizardtest;

namespace {

struct MeasureRig {
    MeasureRig()
    {
        rig.Open(0);
        page = dynamic_cast<CKZARN_WizArea7MeasureForm*>(rig.wizard->Page(WizardPageFactory::kReadings));
    }
    QComboBox* Combo(int id) const { return page->Combo(id); }
    void Choose(int id, int data)
    {
        QComboBox* combo = Combo(id);
        combo->setCurrentIndex(combo->findData(data));
        emit combo->activated(combo->currentIndex());
    }
    // Types a text as the user would (each change checked) and leaves the field.
    void Type(int id, const std::string& text, void (CKZARN_WizArea7MeasureForm::*update)(),
              void (CKZARN_WizArea7MeasureForm::*leave)())
    {
        QLineEdit* edit = Combo(id)->lineEdit();
        edit->clear();
        (page->*update)();
        std::string typed;
        const char decimal = CCustomEdit::ApplicationDecimalChar();
        for (char c : text) {
            typed = edit->text().toStdString() + (c == '.' && decimal != 0 ? decimal : c);
            edit->setText(QString::fromStdString(typed));
            (page->*update)();
        }
        (page->*leave)();
    }
    // From step 0 (mode 0) to the readings.
    void ToReadings()
    {
        rig.wizard->OnNext();
        ASSERT_EQ(rig.wizard->GetStep(), 2);
    }
    std::string Shown(int id) const
    {
        std::string text = Combo(id)->currentText().toStdString();
        const char decimal = CCustomEdit::ApplicationDecimalChar();
        for (char& c : text)
            if (c == decimal)
                c = '.';
        return text;
    }

    WizardRig rig;
    CKZARN_WizArea7MeasureForm* page = nullptr;
};

} // namespace

TEST(CKZARN_WizArea7MeasureFormTest, ChoicesGoIntoTheSettingsOnlyWhileThePageIsShown)
{
    MeasureRig r;
    ASSERT_NE(r.page, nullptr);
    WizardData& d = r.rig.wizard->Data();
    ASSERT_EQ(r.rig.wizard->GetStep(), 0);
    r.Choose(CKZARN_WizArea7MeasureForm::kIsoId, 400);
    EXPECT_EQ(d.isoSpeed, 100) << "hidden at step 0";
    r.rig.wizard->OnNext();
    ASSERT_EQ(r.rig.wizard->GetStep(), 2);
    EXPECT_TRUE(r.Combo(CKZARN_WizArea7MeasureForm::kIlFrameRateId)->isHidden());
    EXPECT_FALSE(r.Combo(CKZARN_WizArea7MeasureForm::kIlShutterId)->isHidden());
    EXPECT_EQ(r.Combo(CKZARN_WizArea7MeasureForm::kIsoId)->currentData().toInt(), 100) << "Refresh shows the settings";

    struct Case {
        int id;
        int item;
        int WizardData::*field;
    } cases[] = {{CKZARN_WizArea7MeasureForm::kIsoId, 22, &WizardData::isoSpeed},
                 {CKZARN_WizArea7MeasureForm::kIlShutterId, 5, &WizardData::ilShutterIndex},
                 {CKZARN_WizArea7MeasureForm::kRlShutterId, 6, &WizardData::rlShutterIndex},
                 {CKZARN_WizArea7MeasureForm::kIlApertureId, 3, &WizardData::ilApertureIndex},
                 {CKZARN_WizArea7MeasureForm::kRlApertureId, 4, &WizardData::rlApertureIndex},
                 {CKZARN_WizArea7MeasureForm::kIlTenthsId, 3, &WizardData::ilTenths},
                 {CKZARN_WizArea7MeasureForm::kRlTenthsId, 7, &WizardData::rlTenths}};
    for (const Case& c : cases) {
        ASSERT_GT(r.Combo(c.id)->count(), c.item) << c.id;
        const int data = r.Combo(c.id)->itemData(c.item).toInt();
        r.Choose(c.id, data);
        EXPECT_EQ(d.*c.field, data) << c.id;
    }
}

TEST(CKZARN_WizArea7MeasureFormTest, TypedFrameRatesAndAnglesAreCommittedWithinTheirBounds)
{
    MeasureRig r;
    ASSERT_NO_FATAL_FAILURE(r.ToReadings());
    WizardData& d = r.rig.wizard->Data();
    using F = CKZARN_WizArea7MeasureForm;
    r.Type(F::kIlFrameRateId, "23.976", &F::OnEditUpdateIlFrameRate, &F::OnKillFocusIlFrameRate);
    EXPECT_DOUBLE_EQ(d.ilFrameRate, 23.976);
    EXPECT_EQ(r.Shown(F::kIlFrameRateId), "23.976");
    r.Type(F::kIlFrameRateId, "0", &F::OnEditUpdateIlFrameRate, &F::OnKillFocusIlFrameRate);
    EXPECT_DOUBLE_EQ(d.ilFrameRate, 23.976) << "0 is below the bound";
    EXPECT_EQ(r.Shown(F::kIlFrameRateId), "23.976");
    // Undone while typing: a second decimal point, a fourth decimal, a leading zero.
    r.Type(F::kRlFrameRateId, "12.5.1", &F::OnEditUpdateRlFrameRate, &F::OnKillFocusRlFrameRate);
    EXPECT_DOUBLE_EQ(d.rlFrameRate, 12.51);
    r.Type(F::kRlFrameRateId, "1.2345", &F::OnEditUpdateRlFrameRate, &F::OnKillFocusRlFrameRate);
    EXPECT_DOUBLE_EQ(d.rlFrameRate, 1.234);

    r.Type(F::kIlShutterAngleId, "360.5", &F::OnEditUpdateIlShutterAngle, &F::OnKillFocusIlShutterAngle);
    EXPECT_DOUBLE_EQ(d.ilShutterAngle, 999.999) << "360.5 is refused";
    r.Type(F::kIlShutterAngleId, "360", &F::OnEditUpdateIlShutterAngle, &F::OnKillFocusIlShutterAngle);
    EXPECT_DOUBLE_EQ(d.ilShutterAngle, 360.0);
    EXPECT_EQ(r.Shown(F::kIlShutterAngleId), "360.000");

    // Choosing from the list takes the code and drops the typed value.
    r.Choose(F::kIlFrameRateId, 24);
    EXPECT_EQ(d.ilFrameRateCode, 24);
    EXPECT_EQ(d.ilFrameRate, 0.0);
    r.Choose(F::kIlShutterAngleId, 180);
    EXPECT_EQ(d.ilShutterAngleCode, 180);
    EXPECT_EQ(d.ilShutterAngle, 999.999);
}

TEST(CKZARN_WizArea7MeasureFormTest, TheIsoListMarksStoredResultsOfTheLightSource)
{
    // The edited profile holds a table for ISO 200 under flash light only.
    WizardRig rig;
    ZarnLib_Profile stored;
    stored.SetVersion(2);
    stored.SetSubVersion(1);
    ASSERT_EQ(0, stored.AddEntry(Condition(200, 1), ZarnLib_EntryKey(), ZarnLib_CnvPolyLine()));
    const std::string path = CKZARN_Common::GetProfilePath("Camera");
    const ZarnLibString file(path.c_str());
    ASSERT_EQ(0, SaveProfile(&file, &stored));
    CKZARN_WizardDlg& w = rig.Open(1, "Camera");
    auto* page = dynamic_cast<CKZARN_WizArea7MeasureForm*>(w.Page(WizardPageFactory::kReadings));
    ASSERT_NE(page, nullptr);
    QComboBox* iso = page->Combo(CKZARN_WizArea7MeasureForm::kIsoId);
    const int at200 = iso->findData(200), at100 = iso->findData(100);
    ASSERT_GE(at200, 0);
    for (int light : {1, 0}) {
        SCOPED_TRACE(light);
        w.Data().lightSource = light;
        page->Refresh();
        EXPECT_EQ(!iso->itemIcon(at200).isNull(), light == 1);
        EXPECT_TRUE(iso->itemIcon(at100).isNull());
    }
}

TEST(CKZARN_WizArea7MeasureFormTest, UnderACommaLocaleTypedValuesKeepTheirFraction)
{
    CommaLocale locale;
    ZARN_REQUIRE_COMMA_LOCALE(locale);
    MeasureRig r;
    ASSERT_NO_FATAL_FAILURE(r.ToReadings());
    WizardData& d = r.rig.wizard->Data();
    using F = CKZARN_WizArea7MeasureForm;
    r.Type(F::kRlShutterAngleId, "172.8", &F::OnEditUpdateRlShutterAngle, &F::OnKillFocusRlShutterAngle);
    EXPECT_DOUBLE_EQ(d.rlShutterAngle, 172.8);
    r.Type(F::kIlFrameRateId, "47.952", &F::OnEditUpdateIlFrameRate, &F::OnKillFocusIlFrameRate);
    EXPECT_DOUBLE_EQ(d.ilFrameRate, 47.952);
    EXPECT_EQ(r.Combo(F::kIlFrameRateId)->currentText().toStdString(), "47,952");

    // Text after the number (a list entry's point, say) is no number: the committed value stays.
    r.Combo(F::kIlFrameRateId)->setEditText("29.97");
    r.page->OnKillFocusIlFrameRate();
    EXPECT_DOUBLE_EQ(d.ilFrameRate, 47.952);
    EXPECT_EQ(r.Combo(F::kIlFrameRateId)->currentText().toStdString(), "47,952");
}
