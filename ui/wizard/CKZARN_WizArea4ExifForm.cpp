#include "ui/wizard/CKZARN_WizArea4ExifForm.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/util/DecimalText.h"
#include "core/ShellPathUtility.h"
#include "core/util/CLangTable.h"
#include "platform/PromptService.h"
#include "platform/qt/QtMessageSink.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/controls/CHAlignLabel.h"
#include "ui/controls/CNoContextEdit.h"
#include "ui/wizard/CKZARN_WizardDlg.h"
#include "ui/wizard/ExifInputValues.h"
#include "ui/wizard/WizardAppLink.h"
#include "ui/wizard/WizardData.h"
#include "ui/wizard/WizardGroupBox.h"

#include <QKeyEvent>
#include <QLabel>
#include <QSlider>

#include <cmath>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_WizArea4ExifForm::kTemplateId, 0, 0, 0, 250, 270},
    {1183, 131, 10, 12, 230, 13},
    {CKZARN_WizArea4ExifForm::kFileNameId, 0, 20, 32, 220, 23},
    {1182, 134, 10, 65, 230, 150},
    {1052, 114, 20, 85, 145, 13},
    {CKZARN_WizArea4ExifForm::kIsoId, 0, 170, 80, 60, 23},
    {1053, 115, 20, 120, 145, 13},
    {CKZARN_WizArea4ExifForm::kShutterId, 0, 170, 115, 60, 23},
    {1055, 161, 20, 120, 145, 13},
    {CKZARN_WizArea4ExifForm::kFrameRateId, 0, 170, 115, 60, 23},
    {1056, 162, 20, 155, 145, 13},
    {CKZARN_WizArea4ExifForm::kShutterAngleId, 0, 170, 150, 60, 23},
    {1054, 116, 20, 190, 145, 13},
    {CKZARN_WizArea4ExifForm::kApertureId, 0, 170, 185, 60, 23},
    // The adjustment's caption is one line beside its field, and the slider's caption clears the
    // field: the field is narrower than the other values' (it holds at most "+9.9").
    {CKZARN_WizArea4ExifForm::kAdjustCaptionId, 135, 10, 225, 180, 23},
    {CKZARN_WizArea4ExifForm::kAdjustId, 0, 192, 225, 48, 23},
    {CKZARN_WizArea4ExifForm::kBrightnessCaptionId, 3026, 10, 257, 230, 16},
    {CKZARN_WizArea4ExifForm::kMinusId, 142, 30, 280, 15, 13},
    {CKZARN_WizArea4ExifForm::kSliderId, 0, 50, 280, 170, 24},
    {CKZARN_WizArea4ExifForm::kPlusId, 141, 225, 280, 15, 13},
    {0, 0, 0, 0, 0, 0},
};

CNoContextEdit* ReadOnlyEdit(QWidget* parent)
{
    auto* edit = new CNoContextEdit(parent);
    edit->setReadOnly(true);
    return edit;
}

} // namespace

CKZARN_WizArea4ExifForm::CKZARN_WizArea4ExifForm(QWidget* parent)
    : CKZARN_WizAreaBaseForm(kTemplateId, parent),
      plusEnd_(new CHAlignLabel(this)),
      minusEnd_(new CHAlignLabel(this)),
      brightnessCaption_(new CHAlignLabel(this)),
      slider_(new QSlider(Qt::Horizontal, this)),
      fileName_(ReadOnlyEdit(this)),
      iso_(ReadOnlyEdit(this)),
      shutterCaption_(new QLabel(this)),
      shutter_(ReadOnlyEdit(this)),
      frameRateCaption_(new QLabel(this)),
      frameRate_(ReadOnlyEdit(this)),
      shutterAngleCaption_(new QLabel(this)),
      shutterAngle_(ReadOnlyEdit(this)),
      aperture_(ReadOnlyEdit(this)),
      adjustCaption_(new CHAlignLabel(this)),
      adjust_(new CCustomEdit(this))
{
    auto* group = new WizardGroupBox(this);
    group->lower();
    AddControl(1182, group);
    AddControl(1183, new QLabel(this));
    AddControl(1052, new QLabel(this));
    AddControl(1054, new QLabel(this));
    AddControl(kPlusId, plusEnd_);
    AddControl(kMinusId, minusEnd_);
    AddControl(kBrightnessCaptionId, brightnessCaption_);
    AddControl(kSliderId, slider_);
    AddControl(kFileNameId, fileName_);
    AddControl(kIsoId, iso_);
    AddControl(1053, shutterCaption_);
    AddControl(kShutterId, shutter_);
    AddControl(1055, frameRateCaption_);
    AddControl(kFrameRateId, frameRate_);
    AddControl(1056, shutterAngleCaption_);
    AddControl(kShutterAngleId, shutterAngle_);
    AddControl(kApertureId, aperture_);
    AddControl(kAdjustCaptionId, adjustCaption_);
    AddControl(kAdjustId, adjust_);
    slider_->setTickPosition(QSlider::NoTicks);
    // Signed numbers with one decimal.
    adjust_->inputMode = 4;
    adjustCaption_->setWordWrap(true);
    adjust_->installEventFilter(this);
    connect(slider_, &QSlider::sliderReleased, this, [this] { OnBrightnessSlider(); });
}

CKZARN_WizArea4ExifForm::~CKZARN_WizArea4ExifForm() = default;

BOOL CKZARN_WizArea4ExifForm::OnInitDialog()
{
    if (owner == nullptr)
        return TRUE;
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    FitTextRowsToFont();
    slider_->setRange(-1000, 1000);
    slider_->setValue(0);
    ShowPhoto(std::string(), nullptr);
    return TRUE;
}

void CKZARN_WizArea4ExifForm::Refresh()
{
    const bool show = owner != nullptr && owner->GetStep() == 4;
    for (QWidget* w : {static_cast<QWidget*>(slider_), static_cast<QWidget*>(brightnessCaption_),
                       static_cast<QWidget*>(minusEnd_), static_cast<QWidget*>(plusEnd_)})
        w->setVisible(show);
}

double CKZARN_WizArea4ExifForm::RoundTenths(double value)
{
    const double tenths = std::trunc(std::fabs(value) * 10 + 0.5);
    return std::copysign(tenths / 10.0, value);
}

std::string CKZARN_WizArea4ExifForm::BrightnessText(double value)
{
    const double rounded = RoundTenths(value);
    return DecimalText::Fixed(rounded == 0.0 ? 0.0 : rounded, 1, CCustomEdit::ApplicationDecimalChar(), rounded != 0.0);
}

int CKZARN_WizArea4ExifForm::LevelOfPosition(int position)
{
    return position >= 0 ? position : (position + 1) / 10;
}

int CKZARN_WizArea4ExifForm::PositionOfLevel(int level)
{
    return level < 0 ? level * 10 - 10 : level;
}

void CKZARN_WizArea4ExifForm::ShowPhoto(const std::string& path, const ExifInputValues* record)
{
    fileName_->setText(QString::fromStdString(path.empty() ? std::string() : GetFileNameFromPath(path)));
    std::string iso, shutter, frameRate, angle, aperture, brightness;
    brightnessAdjust_ = 0.0;
    bool readOnly = true;
    bool sliderOn = false;
    const int step = owner != nullptr ? owner->GetStep() : -1;
    if (!path.empty() && record != nullptr) {
        const std::string none = GetLangString(132);
        const auto pick = [&none](bool known, int code, std::string (*text)(int)) {
            return known ? text(code) : none;
        };
        iso = pick(record->isoFromExif != 0 || record->iso != -1, record->iso, CKZARN_Common::IsoToText);
        shutter = pick(record->shutterFromExif != 0 || record->shutterIndex != -1, record->shutterIndex,
                       CKZARN_Common::ShutterTimeToText);
        frameRate = pick(record->frameRateFromExif != 0 || record->frameRateCode != -1, record->frameRateCode,
                         CKZARN_Common::FrameRateToText);
        if (record->typedFrameRate != 0.0) {
            frameRate = DecimalText::Fixed(record->typedFrameRate, 3, WizardAppLink::DecimalChar());
        }
        angle = pick(record->shutterAngleFromExif != 0 || record->shutterAngleCode != -1, record->shutterAngleCode,
                     CKZARN_Common::ShutterAngleToText);
        if (record->typedShutterAngle != ExifInputValues::kNoTypedShutterAngle) {
            angle = DecimalText::Fixed(record->typedShutterAngle, 3, WizardAppLink::DecimalChar());
        }
        aperture = pick(record->apertureFromExif != 0 || record->apertureIndex != -1, record->apertureIndex,
                        CKZARN_Common::ApertureToText);
        brightness = BrightnessText(record->brightnessAdjust);
        brightnessAdjust_ = record->brightnessAdjust;
        readOnly = step != 3;
        sliderOn = true;
    }
    iso_->setText(QString::fromStdString(iso));
    shutter_->setText(QString::fromStdString(shutter));
    frameRate_->setText(QString::fromStdString(frameRate));
    shutterAngle_->setText(QString::fromStdString(angle));
    aperture_->setText(QString::fromStdString(aperture));
    adjust_->setText(QString::fromStdString(brightness));
    adjust_->lastValidText = brightness;
    adjust_->setReadOnly(readOnly);
    const bool cine = settings != nullptr && settings->cineMode != 0;
    shutterCaption_->setVisible(!cine);
    shutter_->setVisible(!cine);
    frameRateCaption_->setVisible(cine);
    frameRate_->setVisible(cine);
    shutterAngleCaption_->setVisible(cine);
    shutterAngle_->setVisible(cine);
    slider_->setEnabled(sliderOn);
    if (record != nullptr)
        slider_->setValue(PositionOfLevel(record->brightnessLevel));
}

double CKZARN_WizArea4ExifForm::ParseBrightness()
{
    busy_ = 1;
    const std::string text = adjust_->text().toStdString();
    // The whole text is read with the edit's decimal character, whatever the process locale; an
    // empty field means no adjustment. A text that is not a number is refused like one out of range.
    double typed = 0.0;
    const bool number = text.empty() || DecimalText::ParseSigned(text, adjust_->decimalChar, &typed);
    double value = RoundTenths(typed);
    if (!number || value < -9.9 || value > 9.9) {
        if (PromptService* prompt = PromptService::Installed())
            prompt->MessageBox(QtMessageSink::Instance().FindHandle(window()), GetLangString(10008),
                               GetLangString(1000), MB_OK | MB_ICONEXCLAMATION);
        value = brightnessAdjust_;
    }
    busy_ = 0;
    return value;
}

void CKZARN_WizArea4ExifForm::OnKillFocusBrightness()
{
    if (adjust_->isReadOnly() || busy_ != 0)
        return;
    brightnessAdjust_ = ParseBrightness();
    const std::string text = BrightnessText(brightnessAdjust_);
    adjust_->lastValidText = text;
    adjust_->setText(QString::fromStdString(text));
    adjust_->repaint();
}

void CKZARN_WizArea4ExifForm::OnBrightnessSlider()
{
    const int level = LevelOfPosition(slider_->value());
    if (owner != nullptr)
        owner->ApplyBrightnessAdjust(level, TRUE);
}

bool CKZARN_WizArea4ExifForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == adjust_) {
        if (event->type() == QEvent::FocusOut)
            OnKillFocusBrightness();
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                OnKillFocusBrightness();
                return true;
            }
        }
    }
    return CKZARN_WizAreaBaseForm::eventFilter(watched, event);
}
