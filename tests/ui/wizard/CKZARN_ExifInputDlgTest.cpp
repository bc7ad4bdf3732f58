// The manual exposure entry: when it is needed, the typed-number rules with the application's
// decimal character, the bounds of typed cine values, and when OK may be pressed.
#include "core/util/DecimalText.h"
#include "ui/wizard/CKZARN_ExifInputDlg.h"
#include "ui/wizard/CKZARN_WizardDlg.h"
#include "ui/wizard/WizardAppLink.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

ExifInputValues FromExif(bool iso, bool shutter, bool aperture)
{
    ExifInputValues record;
    record.isoFromExif = iso;
    record.iso = iso ? 100 : -1;
    record.shutterFromExif = shutter;
    record.shutterIndex = shutter ? 45 : -1;
    record.apertureFromExif = aperture;
    record.apertureIndex = aperture ? 20 : -1;
    return record;
}

TEST(ExifInput, WhenTheDialogIsNeeded)
{
    struct Row {
        bool iso, shutter, aperture;
        int cine;
        bool needed;
    };
    const Row rows[] = {
        {true, true, true, 0, false}, {false, true, true, 0, true}, {true, false, true, 0, true},
        {true, true, false, 0, true}, {true, true, true, 1, true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.needed, CKZARN_ExifInputDlg::IsInputNeeded(FromExif(row.iso, row.shutter, row.aperture), row.cine))
            << row.iso << row.shutter << row.aperture << row.cine;
    ExifInputValues cine = FromExif(true, true, true);
    cine.frameRateCode = 24;
    cine.shutterAngleCode = 180;
    EXPECT_FALSE(CKZARN_ExifInputDlg::IsInputNeeded(cine, 1)) << "typed-in codes serve as well";
}

TEST(ExifInput, TypedNumbersFollowTheDecimalCharacter)
{
    struct Row {
        const char* text;
        char decimal;
        bool valid;
    };
    const Row rows[] = {
        {"0.5", '.', true},     {"05", '.', false},     {"00.5", '.', false},  {"1.2345", '.', false},
        {"12,5", '.', false},   {"12,5", ',', true},    {"12.5", ',', false},  {"", '.', true},
        {"1.2.3", '.', false},  {"123456789", '.', false}, {"1\b2", '.', false}, {"\b", '.', false},
        {"-1", '.', false},     {"360", '.', true},     {"24.000", '.', true}, {"1e3", '.', false},
    };
    for (const Row& row : rows) {
        WizardAppLink::SetDecimalChar(row.decimal);
        EXPECT_EQ(row.valid, CKZARN_ExifInputDlg::IsValidDecimalText(row.text, 8)) << row.text << " " << row.decimal;
    }
    WizardAppLink::SetDecimalChar(0);
    double value = 0;
    EXPECT_TRUE(DecimalText::Parse("12,5", 8, ',', &value));
    EXPECT_EQ(12.5, value);
    EXPECT_FALSE(DecimalText::Parse(".", 8, '.', &value)) << "no digit, no number";
}

class ExifInputDialog : public ::testing::Test {
protected:
    void Open(const ExifInputValues& record, int cine)
    {
        dialog.SetFileName("/photos/IMG_0001.JPG");
        dialog.SetValues(record);
        dialog.cineMode = cine;
        dialog.OnInitDialog();
    }
    void Type(int comboId, const char* text)
    {
        dialog.Combo(comboId)->setEditText(QString::fromLatin1(text));
        if (comboId == CKZARN_ExifInputDlg::kFrameRateComboId)
            dialog.OnEditUpdateFrameRate();
        else
            dialog.OnEditUpdateShutterAngle();
    }
    std::string Text(int comboId) { return dialog.Combo(comboId)->currentText().toStdString(); }

    CKZARN_ExifInputDlg dialog;
};

TEST_F(ExifInputDialog, MissingIsoStartsOnThePlaceholderAndKeepsOkDisabled)
{
    CKZARN_WizardDlg::SetCineSetting(1, 45);
    CKZARN_WizardDlg::SetCineSetting(4, 20);
    Open(FromExif(false, false, true), 0);
    QComboBox* iso = dialog.Combo(CKZARN_ExifInputDlg::kIsoComboId);
    EXPECT_EQ(-1, iso->currentData().toInt());
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    EXPECT_EQ(45, dialog.GetValues()->shutterIndex) << "the remembered shutter is offered";
    iso->setCurrentIndex(iso->findData(200));
    dialog.OnSelChangeIso();
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    EXPECT_EQ(200, dialog.GetValues()->iso);
}

TEST_F(ExifInputDialog, TypedCineValuesAreCheckedAndBounded)
{
    CKZARN_WizardDlg::SetCineSetting(2, 23);
    CKZARN_WizardDlg::SetCineSetting(3, 180);
    Open(FromExif(true, true, true), 1);
    const int rate = CKZARN_ExifInputDlg::kFrameRateComboId, angle = CKZARN_ExifInputDlg::kShutterAngleComboId;
    EXPECT_EQ("23.976", Text(rate)) << "code 23 stands for 23.976 frames a second";
    EXPECT_EQ("180.000", Text(angle));
    EXPECT_TRUE(dialog.OkButton()->isEnabled());

    Type(angle, "05");
    EXPECT_EQ("180.000", Text(angle)) << "an invalid text is undone (nothing typed yet: the default)";
    Type(angle, "360");
    dialog.OnKillFocusShutterAngle();
    EXPECT_EQ("360.000", Text(angle));
    EXPECT_EQ(360.0, dialog.GetValues()->typedShutterAngle);
    Type(angle, "361");
    dialog.OnKillFocusShutterAngle();
    EXPECT_EQ("360.000", Text(angle)) << "out of bounds: the committed text comes back";
    EXPECT_EQ(360.0, dialog.GetValues()->typedShutterAngle);
    Type(angle, "1.2345");
    EXPECT_NE("1.2345", Text(angle)) << "four decimals are undone";

    Type(rate, "25.5");
    dialog.OnKillFocusFrameRate();
    EXPECT_EQ("25.500", Text(rate));
    EXPECT_EQ(25.5, dialog.GetValues()->typedFrameRate);
    Type(rate, "");
    dialog.OnKillFocusFrameRate();
    EXPECT_EQ("25.500", Text(rate)) << "an empty text is not a value";
}

} // namespace
