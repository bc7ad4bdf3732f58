#include "ui/wizard/CKZARN_WizArea7MeasureForm.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/util/DecimalText.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/controls/CStaticIcon.h"
#include "ui/wizard/CKZARN_ExifInputDlg.h"
#include "ui/wizard/CKZARN_WizardDlg.h"
#include "ui/wizard/WizardAppLink.h"
#include "ui/wizard/WizardData.h"
#include "ui/wizard/WizardMarkPictures.h"
#include "ui/wizard/WizardGroupBox.h"

#include <QComboBox>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>

#include <cstdio>
#include <vector>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_WizArea7MeasureForm::kTemplateId, 0, 0, 0, 596, 433},
    {1052, 114, 50, 20, 150, 18},
    {CKZARN_WizArea7MeasureForm::kIsoId, 0, 220, 17, 108, 180},
    // The meter pictures stand inside their group boxes, below the frame and above the first row.
    {1190, 0, 227, 110, 63, 69},
    {1149, 109, 20, 100, 330, 308},
    {1081, 115, 35, 180, 185, 30},
    {CKZARN_WizArea7MeasureForm::kIlShutterId, 0, 220, 180, 90, 180},
    {1243, 161, 35, 180, 185, 30},
    {CKZARN_WizArea7MeasureForm::kIlFrameRateId, 0, 220, 180, 90, 180},
    {1241, 162, 35, 240, 185, 30},
    {CKZARN_WizArea7MeasureForm::kIlShutterAngleId, 0, 220, 240, 90, 180},
    {1079, 116, 35, 300, 185, 30},
    {CKZARN_WizArea7MeasureForm::kIlApertureId, 0, 220, 300, 90, 180},
    {1083, 117, 35, 360, 185, 18},
    {CKZARN_WizArea7MeasureForm::kIlTenthsId, 0, 220, 360, 90, 180},
    {1191, 0, 577, 110, 63, 69},
    {1148, 110, 370, 100, 330, 308},
    {1087, 115, 385, 180, 185, 30},
    {CKZARN_WizArea7MeasureForm::kRlShutterId, 0, 570, 180, 90, 180},
    {1244, 161, 385, 180, 185, 30},
    {CKZARN_WizArea7MeasureForm::kRlFrameRateId, 0, 570, 180, 90, 180},
    {1242, 162, 385, 240, 185, 30},
    {CKZARN_WizArea7MeasureForm::kRlShutterAngleId, 0, 570, 240, 90, 180},
    {1085, 116, 385, 300, 185, 30},
    {CKZARN_WizArea7MeasureForm::kRlApertureId, 0, 570, 300, 90, 180},
    {1089, 117, 385, 360, 185, 18},
    {CKZARN_WizArea7MeasureForm::kRlTenthsId, 0, 570, 360, 90, 180},
    {0, 0, 0, 0, 0, 0},
};

constexpr int kCineLabels[] = {1243, 1244, 1241, 1242};
constexpr int kCineCombos[] = {CKZARN_WizArea7MeasureForm::kIlFrameRateId, CKZARN_WizArea7MeasureForm::kRlFrameRateId,
                               CKZARN_WizArea7MeasureForm::kIlShutterAngleId,
                               CKZARN_WizArea7MeasureForm::kRlShutterAngleId};

// The texts of a number: "%g" for a listed value, "%4.3f" for a typed frame rate, "%3.3f" for a
// typed shutter angle.
enum class NumberFormat { General, FrameRate, ShutterAngle };

// Written with a point, without the C library's locale; WithDecimal below puts the application's
// decimal character in.
std::string Format(NumberFormat format, double value)
{
    return format == NumberFormat::General ? DecimalText::General(value, '.') : DecimalText::Fixed(value, 3, '.');
}

// Numbers are shown with the application's decimal character.
std::string WithDecimal(const std::string& text)
{
    return DecimalText::WithDecimal(text, WizardAppLink::DecimalChar());
}

} // namespace

CKZARN_WizArea7MeasureForm::CKZARN_WizArea7MeasureForm(QWidget* parent)
    : CKZARN_WizAreaBaseForm(kTemplateId, parent),
      iso_(new QComboBox(this)),
      incidentPicture_(new CStaticIcon(this)),
      reflectedPicture_(new CStaticIcon(this))
{
    for (int id : {1149, 1148}) {
        auto* group = new WizardGroupBox(this);
        group->lower();
        AddControl(id, group);
    }
    for (int id : {1052, 1081, 1243, 1241, 1079, 1083, 1087, 1244, 1242, 1085, 1089})
        AddControl(id, new QLabel(this));
    AddControl(kIsoId, iso_);
    AddControl(1190, incidentPicture_);
    AddControl(1191, reflectedPicture_);
    const std::pair<int, void (CKZARN_WizArea7MeasureForm::*)()> lists[] = {
        {kIlShutterId, &CKZARN_WizArea7MeasureForm::OnSelChangeIlShutter},
        {kIlFrameRateId, &CKZARN_WizArea7MeasureForm::OnSelChangeIlFrameRate},
        {kIlShutterAngleId, &CKZARN_WizArea7MeasureForm::OnSelChangeIlShutterAngle},
        {kIlApertureId, &CKZARN_WizArea7MeasureForm::OnSelChangeIlAperture},
        {kIlTenthsId, &CKZARN_WizArea7MeasureForm::OnSelChangeIlTenths},
        {kRlShutterId, &CKZARN_WizArea7MeasureForm::OnSelChangeRlShutter},
        {kRlFrameRateId, &CKZARN_WizArea7MeasureForm::OnSelChangeRlFrameRate},
        {kRlShutterAngleId, &CKZARN_WizArea7MeasureForm::OnSelChangeRlShutterAngle},
        {kRlApertureId, &CKZARN_WizArea7MeasureForm::OnSelChangeRlAperture},
        {kRlTenthsId, &CKZARN_WizArea7MeasureForm::OnSelChangeRlTenths},
    };
    for (const auto& [id, handler] : lists) {
        auto* combo = new QComboBox(this);
        AddControl(id, combo);
        connect(combo, QOverload<int>::of(&QComboBox::activated), this, [this, handler = handler] { (this->*handler)(); });
    }
    connect(iso_, QOverload<int>::of(&QComboBox::activated), this, [this] { OnSelChangeIso(); });
    // Frame rates and shutter angles may also be typed.
    const std::pair<int, void (CKZARN_WizArea7MeasureForm::*)()> typed[] = {
        {kIlFrameRateId, &CKZARN_WizArea7MeasureForm::OnEditUpdateIlFrameRate},
        {kRlFrameRateId, &CKZARN_WizArea7MeasureForm::OnEditUpdateRlFrameRate},
        {kIlShutterAngleId, &CKZARN_WizArea7MeasureForm::OnEditUpdateIlShutterAngle},
        {kRlShutterAngleId, &CKZARN_WizArea7MeasureForm::OnEditUpdateRlShutterAngle},
    };
    for (const auto& [id, handler] : typed) {
        QComboBox* combo = Combo(id);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->lineEdit()->installEventFilter(this);
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, handler = handler] { (this->*handler)(); });
    }
}

CKZARN_WizArea7MeasureForm::~CKZARN_WizArea7MeasureForm() = default;

QComboBox* CKZARN_WizArea7MeasureForm::Combo(int id) const
{
    return qobject_cast<QComboBox*>(FindControl(id));
}

BOOL CKZARN_WizArea7MeasureForm::OnInitDialog()
{
    InitControls();
    return TRUE;
}

void CKZARN_WizArea7MeasureForm::InitControls()
{
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    FitTextRowsToFont();
    // A layout height of a combo box counts its dropped list; on screen the box is one row high.
    for (int id : {kIsoId, kIlShutterId, kIlFrameRateId, kIlShutterAngleId, kIlApertureId, kIlTenthsId, kRlShutterId,
                   kRlFrameRateId, kRlShutterAngleId, kRlApertureId, kRlTenthsId}) {
        QWidget* combo = FindControl(id);
        combo->resize(combo->width(), 24);
    }
    iso_->clear();
    CKZARN_Common::FillIsoComboEx(iso_, nullptr, {});
    const std::pair<int, void (*)(QComboBox*)> fills[] = {
        {kIlShutterId, CKZARN_Common::FillShutterTimeCombo},   {kIlFrameRateId, CKZARN_Common::FillFrameRateCombo},
        {kIlShutterAngleId, CKZARN_Common::FillShutterAngleCombo}, {kIlApertureId, CKZARN_Common::FillApertureCombo},
        {kIlTenthsId, CKZARN_Common::FillDigitCombo},          {kRlShutterId, CKZARN_Common::FillShutterTimeCombo},
        {kRlFrameRateId, CKZARN_Common::FillFrameRateCombo},   {kRlShutterAngleId, CKZARN_Common::FillShutterAngleCombo},
        {kRlApertureId, CKZARN_Common::FillApertureCombo},     {kRlTenthsId, CKZARN_Common::FillDigitCombo},
    };
    for (const auto& [id, fill] : fills) {
        Combo(id)->clear();
        fill(Combo(id));
    }
    incidentPicture_->SetIcon(QIcon(WizardMarkPictures::Load(WizardMarkPictures::kIncidentMeter)), 63, 69);
    reflectedPicture_->SetIcon(QIcon(WizardMarkPictures::Load(WizardMarkPictures::kReflectedMeter)), 63, 69);
    if (settings == nullptr || settings->cineMode == 0) {
        for (int id : kCineLabels)
            FindControl(id)->hide();
        for (int id : kCineCombos)
            FindControl(id)->hide();
    }
    for (int i = 0; i < 4; ++i) {
        committed_[i].clear();
        lastValid_[i].clear();
    }
}

bool CKZARN_WizArea7MeasureForm::Active() const
{
    return IsShownPage() && settings != nullptr;
}

int CKZARN_WizArea7MeasureForm::SelectedData(int id) const
{
    QComboBox* combo = id == kIsoId ? iso_ : Combo(id);
    const int index = combo->currentIndex();
    return index < 0 ? -1 : combo->itemData(index).toInt();
}

int CKZARN_WizArea7MeasureForm::ComboIdOf(Typed which)
{
    switch (which) {
    case kIlRate: return kIlFrameRateId;
    case kIlAngle: return kIlShutterAngleId;
    case kRlRate: return kRlFrameRateId;
    default: return kRlShutterAngleId;
    }
}

void CKZARN_WizArea7MeasureForm::OnSelChangeIso()
{
    if (Active())
        settings->isoSpeed = SelectedData(kIsoId);
}
void CKZARN_WizArea7MeasureForm::OnSelChangeIlShutter()
{
    if (Active())
        settings->ilShutterIndex = SelectedData(kIlShutterId);
}
void CKZARN_WizArea7MeasureForm::OnSelChangeRlShutter()
{
    if (Active())
        settings->rlShutterIndex = SelectedData(kRlShutterId);
}
void CKZARN_WizArea7MeasureForm::OnSelChangeIlAperture()
{
    if (Active())
        settings->ilApertureIndex = SelectedData(kIlApertureId);
}
void CKZARN_WizArea7MeasureForm::OnSelChangeRlAperture()
{
    if (Active())
        settings->rlApertureIndex = SelectedData(kRlApertureId);
}
void CKZARN_WizArea7MeasureForm::OnSelChangeIlTenths()
{
    if (Active())
        settings->ilTenths = SelectedData(kIlTenthsId);
}
void CKZARN_WizArea7MeasureForm::OnSelChangeRlTenths()
{
    if (Active())
        settings->rlTenths = SelectedData(kRlTenthsId);
}

void CKZARN_WizArea7MeasureForm::SelectFrameRate(Typed which, int* code, double* typed)
{
    *code = SelectedData(ComboIdOf(which));
    *typed = 0.0;
    committed_[which] = lastValid_[which] = WithDecimal(Format(NumberFormat::General, CKZARN_WizardDlg::FrameRateFromCode(*code)));
}

void CKZARN_WizArea7MeasureForm::SelectShutterAngle(Typed which, int* code, double* typed)
{
    *code = SelectedData(ComboIdOf(which));
    *typed = 999.999;
    committed_[which] = lastValid_[which] = WithDecimal(Format(NumberFormat::General, CKZARN_WizardDlg::ShutterAngleFromCode(*code)));
}

void CKZARN_WizArea7MeasureForm::OnSelChangeIlFrameRate()
{
    if (Active())
        SelectFrameRate(kIlRate, &settings->ilFrameRateCode, &settings->ilFrameRate);
}
void CKZARN_WizArea7MeasureForm::OnSelChangeRlFrameRate()
{
    if (Active())
        SelectFrameRate(kRlRate, &settings->rlFrameRateCode, &settings->rlFrameRate);
}
void CKZARN_WizArea7MeasureForm::OnSelChangeIlShutterAngle()
{
    if (Active())
        SelectShutterAngle(kIlAngle, &settings->ilShutterAngleCode, &settings->ilShutterAngle);
}
void CKZARN_WizArea7MeasureForm::OnSelChangeRlShutterAngle()
{
    if (Active())
        SelectShutterAngle(kRlAngle, &settings->rlShutterAngleCode, &settings->rlShutterAngle);
}

bool CKZARN_WizArea7MeasureForm::IsValidDecimalText(const std::string& text, int maxLength)
{
    return CKZARN_ExifInputDlg::IsValidDecimalText(text, maxLength);
}

void CKZARN_WizArea7MeasureForm::EditUpdate(Typed which, int maxLength)
{
    if (!Active())
        return;
    QLineEdit* edit = Combo(ComboIdOf(which))->lineEdit();
    const std::string text = edit->text().toStdString();
    if (IsValidDecimalText(text, maxLength)) {
        lastValid_[which] = text;
        return;
    }
    edit->setText(QString::fromStdString(lastValid_[which]));
    edit->setCursorPosition(static_cast<int>(lastValid_[which].size()));
}

void CKZARN_WizArea7MeasureForm::OnEditUpdateIlFrameRate() { EditUpdate(kIlRate, 8); }
void CKZARN_WizArea7MeasureForm::OnEditUpdateRlFrameRate() { EditUpdate(kRlRate, 8); }
void CKZARN_WizArea7MeasureForm::OnEditUpdateIlShutterAngle() { EditUpdate(kIlAngle, 7); }
void CKZARN_WizArea7MeasureForm::OnEditUpdateRlShutterAngle() { EditUpdate(kRlAngle, 7); }

void CKZARN_WizArea7MeasureForm::Commit(Typed which, double low, double high, int format, double* value)
{
    if (!Active())
        return;
    QComboBox* combo = Combo(ComboIdOf(which));
    const std::string text = combo->currentText().toStdString();
    // The whole text is read with the application's decimal character, whatever the process
    // locale; a text that is not a number is refused like one out of range.
    double typed = 0.0;
    const bool number = DecimalText::Parse(text, text.size(), WizardAppLink::DecimalChar(), &typed);
    if (!number || typed < low || typed > high) {
        combo->setEditText(QString::fromStdString(committed_[which]));
        return;
    }
    *value = typed;
    committed_[which] = WithDecimal(Format(static_cast<NumberFormat>(format), typed));
    combo->setEditText(QString::fromStdString(committed_[which]));
}

void CKZARN_WizArea7MeasureForm::OnKillFocusIlFrameRate() { Commit(kIlRate, 0.001, 9999.999, static_cast<int>(NumberFormat::FrameRate), settings ? &settings->ilFrameRate : nullptr); }
void CKZARN_WizArea7MeasureForm::OnKillFocusRlFrameRate() { Commit(kRlRate, 0.001, 9999.999, static_cast<int>(NumberFormat::FrameRate), settings ? &settings->rlFrameRate : nullptr); }
void CKZARN_WizArea7MeasureForm::OnKillFocusIlShutterAngle() { Commit(kIlAngle, 0.001, 360.0, static_cast<int>(NumberFormat::ShutterAngle), settings ? &settings->ilShutterAngle : nullptr); }
void CKZARN_WizArea7MeasureForm::OnKillFocusRlShutterAngle() { Commit(kRlAngle, 0.001, 360.0, static_cast<int>(NumberFormat::ShutterAngle), settings ? &settings->rlShutterAngle : nullptr); }

bool CKZARN_WizArea7MeasureForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == Combo(kIlFrameRateId)->lineEdit())
            OnKillFocusIlFrameRate();
        else if (watched == Combo(kRlFrameRateId)->lineEdit())
            OnKillFocusRlFrameRate();
        else if (watched == Combo(kIlShutterAngleId)->lineEdit())
            OnKillFocusIlShutterAngle();
        else if (watched == Combo(kRlShutterAngleId)->lineEdit())
            OnKillFocusRlShutterAngle();
    }
    return CKZARN_WizAreaBaseForm::eventFilter(watched, event);
}

void CKZARN_WizArea7MeasureForm::ShowTyped(Typed which, int comboId, double typed, double none, int code)
{
    QComboBox* combo = Combo(comboId);
    if (typed != none) {
        // A typed value shows its committed text.
        combo->setEditText(QString::fromStdString(committed_[which]));
        return;
    }
    CKZARN_Common::SelectComboItemByData(combo, code);
    committed_[which] = lastValid_[which] = std::to_string(code);
}

void CKZARN_WizArea7MeasureForm::Refresh()
{
    if (settings == nullptr)
        return;
    WizardData& d = *settings;
    CKZARN_Common::SelectComboItemByData(iso_, d.isoSpeed);
    CKZARN_Common::SelectComboItemByData(Combo(kIlShutterId), d.ilShutterIndex);
    ShowTyped(kIlRate, kIlFrameRateId, d.ilFrameRate, 0.0, d.ilFrameRateCode);
    ShowTyped(kIlAngle, kIlShutterAngleId, d.ilShutterAngle, 999.999, d.ilShutterAngleCode);
    CKZARN_Common::SelectComboItemByData(Combo(kIlApertureId), d.ilApertureIndex);
    CKZARN_Common::SelectComboItemByData(Combo(kIlTenthsId), d.ilTenths);
    CKZARN_Common::SelectComboItemByData(Combo(kRlShutterId), d.rlShutterIndex);
    ShowTyped(kRlRate, kRlFrameRateId, d.rlFrameRate, 0.0, d.rlFrameRateCode);
    ShowTyped(kRlAngle, kRlShutterAngleId, d.rlShutterAngle, 999.999, d.rlShutterAngleCode);
    CKZARN_Common::SelectComboItemByData(Combo(kRlApertureId), d.rlApertureIndex);
    CKZARN_Common::SelectComboItemByData(Combo(kRlTenthsId), d.rlTenths);
    if (owner != nullptr) {
        const int count = iso_->count();
        std::vector<int> isoList(static_cast<std::size_t>(count)), flags(static_cast<std::size_t>(count), 0);
        for (int i = 0; i < count; ++i)
            isoList[static_cast<std::size_t>(i)] = iso_->itemData(i).toInt();
        if (count > 0)
            owner->LoadStoredResult(isoList.data(), d.lightSource, flags.data(), count);
        const QIcon mark(WizardMarkPictures::Load(WizardMarkPictures::kStoredResult));
        for (int i = 0; i < count; ++i) {
            const int flag = flags[static_cast<std::size_t>(i)];
            iso_->setItemIcon(i, flag >= 1 && flag <= 3 ? mark : QIcon());
        }
    }
    update();
    repaint();
}
