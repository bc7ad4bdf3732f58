#include "ui/wizard/CKZARN_ExifInputDlg.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/util/CLangTable.h"
#include "core/util/DecimalText.h"
#include "core/ShellPathUtility.h"
#include "platform/PromptService.h"
#include "ui/controls/CNoContextEdit.h"
#include "ui/wizard/CKZARN_WizardDlg.h"
#include "ui/wizard/WizardAppLink.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>


namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_ExifInputDlg::kTemplateId, 9000, 0, 0, 300, 375},
    {1147, 9001, 30, 30, 210, 26},
    {1181, 131, 30, 80, 100, 13},
    {1023, 0, 50, 100, 210, 23},
    {1052, 114, 30, 150, 130, 13},
    {1024, 0, 170, 145, 90, 23},
    {1122, 0, 170, 146, 90, 180},
    {1053, 115, 30, 180, 130, 13},
    {1025, 0, 170, 175, 90, 23},
    {1032, 0, 170, 176, 90, 180},
    {1055, 161, 30, 180, 130, 13},
    {1027, 0, 170, 175, 90, 23},
    {1034, 0, 170, 176, 90, 180},
    {1056, 162, 30, 210, 130, 13},
    {1028, 0, 170, 205, 90, 23},
    {1035, 0, 170, 206, 90, 180},
    {1054, 116, 30, 240, 130, 13},
    {1026, 0, 170, 235, 90, 23},
    {1033, 0, 170, 236, 90, 180},
    {1, 10, 30, 285, 88, 23},
    {2, 11, 170, 285, 88, 23},
    {0, 0, 0, 0, 0, 0},
};

constexpr int kLabelIds[] = {1147, 1181, 1052, 1053, 1055, 1056, 1054};
constexpr int kEditIds[] = {1023, 1024, 1025, 1027, 1028, 1026};
constexpr int kComboIds[] = {1122, 1032, 1034, 1035, 1033};


} // namespace

CKZARN_ExifInputDlg::CKZARN_ExifInputDlg(QWidget* parent)
    : QDialog(parent), ok_(new QPushButton(this)), cancel_(new QPushButton(this))
{
    for (int id : kLabelIds)
        controls_[id] = new QLabel(this);
    static_cast<QLabel*>(controls_[1147])->setWordWrap(true);
    for (int id : kEditIds) {
        auto* edit = new CNoContextEdit(this);
        edit->setReadOnly(true);
        controls_[id] = edit;
    }
    for (int id : kComboIds) {
        auto* combo = new QComboBox(this);
        const bool typed = id == kFrameRateComboId || id == kShutterAngleComboId;
        combo->setEditable(typed);
        if (typed) {
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->lineEdit()->installEventFilter(this);
        }
        controls_[id] = combo;
    }
    controls_[1] = ok_;
    controls_[2] = cancel_;
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, [this] { done(IDOK); });
    connect(cancel_, &QPushButton::clicked, this, [this] { done(IDCANCEL); });
    connect(Combo(kIsoComboId), &QComboBox::activated, this, [this] { OnSelChangeIso(); });
    connect(Combo(kShutterComboId), &QComboBox::activated, this, [this] { OnSelChangeShutter(); });
    connect(Combo(kFrameRateComboId), &QComboBox::activated, this, [this] { OnSelChangeFrameRate(); });
    connect(Combo(kShutterAngleComboId), &QComboBox::activated, this, [this] { OnSelChangeShutterAngle(); });
    connect(Combo(kApertureComboId), &QComboBox::activated, this, [this] { OnSelChangeAperture(); });
    connect(Combo(kFrameRateComboId)->lineEdit(), &QLineEdit::textEdited, this, [this] { OnEditUpdateFrameRate(); });
    connect(Combo(kShutterAngleComboId)->lineEdit(), &QLineEdit::textEdited, this,
            [this] { OnEditUpdateShutterAngle(); });
}

CKZARN_ExifInputDlg::~CKZARN_ExifInputDlg() = default;

QWidget* CKZARN_ExifInputDlg::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

QComboBox* CKZARN_ExifInputDlg::Combo(int id) const
{
    return qobject_cast<QComboBox*>(FindControl(id));
}

int CKZARN_ExifInputDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

bool CKZARN_ExifInputDlg::IsInputNeeded(const ExifInputValues& record, int cine)
{
    if (!record.isoFromExif && record.iso == -1)
        return true;
    int fromExif = record.shutterFromExif;
    int value = record.shutterIndex;
    if (cine) {
        if (!record.frameRateFromExif && record.frameRateCode == -1)
            return true;
        fromExif = record.shutterAngleFromExif;
        value = record.shutterAngleCode;
    }
    return (!fromExif && value == -1) || (!record.apertureFromExif && record.apertureIndex == -1);
}

bool CKZARN_ExifInputDlg::IsValidDecimalText(const std::string& text, int maxLength)
{
    return maxLength >= 0 &&
           DecimalText::IsValid(text, static_cast<std::size_t>(maxLength), WizardAppLink::DecimalChar());
}

BOOL CKZARN_ExifInputDlg::OnInitDialog()
{
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    // A layout height of a combo box counts its dropped list; on screen the box is as tall as the
    // read-only field it stands in for.
    for (int id : kComboIds) {
        QWidget* combo = FindControl(id);
        combo->resize(combo->width(), 23);
    }
    const auto edit = [this](int id) { return static_cast<CNoContextEdit*>(FindControl(id)); };
    const auto show = [this](int id, bool visible) { FindControl(id)->setVisible(visible); };
    edit(kFileNameEditId)->setText(CKZARN_Common::ToWidgetText(GetFileNameFromPath(fileName_)));

    CKZARN_Common::FillIsoCombo(Combo(kIsoComboId));
    CKZARN_Common::FillShutterTimeCombo(Combo(kShutterComboId));
    CKZARN_Common::FillFrameRateCombo(Combo(kFrameRateComboId));
    CKZARN_Common::FillShutterAngleCombo(Combo(kShutterAngleComboId));
    CKZARN_Common::FillApertureCombo(Combo(kApertureComboId));

    if (values_.iso == -1) {
        show(kIsoEditId, false);
        show(kIsoComboId, true);
        Combo(kIsoComboId)->insertItem(0, CKZARN_Common::ToWidgetText(GetLangString(132)), -1);
        CKZARN_Common::SelectComboItemByData(Combo(kIsoComboId), values_.iso);
    } else {
        show(kIsoEditId, true);
        edit(kIsoEditId)->setText(CKZARN_Common::ToWidgetText(CKZARN_Common::IsoToText(values_.iso)));
        show(kIsoComboId, false);
    }

    // Selects a remembered setting; one that is not in the list leaves no selection.
    const auto selectRemembered = [this](int comboId, int setting) {
        QComboBox* combo = Combo(comboId);
        combo->setCurrentIndex(CKZARN_Common::FindComboIndexByData(combo, CKZARN_WizardDlg::GetCineSetting(setting)));
    };
    if (cineMode == 0) {
        if (values_.shutterFromExif) {
            show(kShutterEditId, true);
            edit(kShutterEditId)->setText(
                CKZARN_Common::ToWidgetText(CKZARN_Common::ShutterTimeToText(values_.shutterIndex)));
            show(kShutterComboId, false);
        } else {
            show(kShutterEditId, false);
            show(kShutterComboId, true);
            selectRemembered(kShutterComboId, 1);
            OnSelChangeShutter();
        }
        for (int id : {1055, kFrameRateEditId, kFrameRateComboId, 1056, kShutterAngleEditId, kShutterAngleComboId})
            show(id, false);
    } else {
        if (values_.frameRateFromExif) {
            show(kFrameRateEditId, true);
            edit(kFrameRateEditId)->setText(
                CKZARN_Common::ToWidgetText(CKZARN_Common::FrameRateToText(values_.frameRateCode)));
            show(kFrameRateComboId, false);
        } else {
            show(kFrameRateEditId, false);
            show(kFrameRateComboId, true);
            selectRemembered(kFrameRateComboId, 2);
            OnSelChangeFrameRate();
            OnKillFocusFrameRate();
        }
        if (values_.shutterAngleFromExif) {
            show(kShutterAngleEditId, true);
            edit(kShutterAngleEditId)->setText(
                CKZARN_Common::ToWidgetText(CKZARN_Common::ShutterAngleToText(values_.shutterAngleCode)));
            show(kShutterAngleComboId, false);
        } else {
            show(kShutterAngleEditId, false);
            show(kShutterAngleComboId, true);
            selectRemembered(kShutterAngleComboId, 3);
            OnSelChangeShutterAngle();
            OnKillFocusShutterAngle();
        }
        for (int id : {1053, kShutterEditId, kShutterComboId})
            show(id, false);
    }
    if (values_.apertureFromExif) {
        show(kApertureEditId, true);
        edit(kApertureEditId)->setText(
            CKZARN_Common::ToWidgetText(CKZARN_Common::ApertureToText(values_.apertureIndex)));
        show(kApertureComboId, false);
    } else {
        show(kApertureEditId, false);
        show(kApertureComboId, true);
        selectRemembered(kApertureComboId, 4);
        OnSelChangeAperture();
    }
    UpdateOkButton();
    committedFrameRate_.clear();
    lastFrameRate_.clear();
    committedShutterAngle_.clear();
    lastShutterAngle_.clear();
    return TRUE;
}

int CKZARN_ExifInputDlg::SelectedData(QComboBox* combo)
{
    return CKZARN_Common::GetComboItemData(combo, combo->currentIndex());
}

void CKZARN_ExifInputDlg::OnSelChangeIso()
{
    values_.iso = SelectedData(Combo(kIsoComboId));
    UpdateOkButton();
}

void CKZARN_ExifInputDlg::OnSelChangeShutter()
{
    const int code = SelectedData(Combo(kShutterComboId));
    values_.shutterIndex = code;
    CKZARN_WizardDlg::SetCineSetting(1, code);
    UpdateOkButton();
}

void CKZARN_ExifInputDlg::OnSelChangeFrameRate()
{
    const int code = SelectedData(Combo(kFrameRateComboId));
    values_.frameRateCode = code;
    values_.typedFrameRate = 0.0;
    committedFrameRate_ = lastFrameRate_ =
        DecimalText::General(CKZARN_WizardDlg::FrameRateFromCode(code), WizardAppLink::DecimalChar());
    UpdateOkButton();
}

void CKZARN_ExifInputDlg::OnSelChangeShutterAngle()
{
    const int code = SelectedData(Combo(kShutterAngleComboId));
    values_.shutterAngleCode = code;
    values_.typedShutterAngle = ExifInputValues::kNoTypedShutterAngle;
    committedShutterAngle_ = lastShutterAngle_ =
        DecimalText::General(CKZARN_WizardDlg::ShutterAngleFromCode(code), WizardAppLink::DecimalChar());
    UpdateOkButton();
}

void CKZARN_ExifInputDlg::OnSelChangeAperture()
{
    const int code = SelectedData(Combo(kApertureComboId));
    values_.apertureIndex = code;
    CKZARN_WizardDlg::SetCineSetting(4, code);
    if (cineMode == 0)
        UpdateOkButton();
    else
        UpdateOkButtonTyped();
}

void CKZARN_ExifInputDlg::EditUpdate(QComboBox* combo, std::size_t maxLength, std::string& lastValid,
                                     const char* fallback)
{
    const std::string text = combo->currentText().toStdString();
    if (IsValidDecimalText(text, static_cast<int>(maxLength))) {
        lastValid = text;
        UpdateOkButtonTyped();
        return;
    }
    const std::string back = lastValid.empty() ? std::string(fallback) : lastValid;
    combo->setEditText(QString::fromStdString(back));
    combo->lineEdit()->setCursorPosition(static_cast<int>(back.size()));
}

void CKZARN_ExifInputDlg::OnEditUpdateFrameRate()
{
    EditUpdate(Combo(kFrameRateComboId), kFrameRateMaxLength, lastFrameRate_, "24.000");
}

void CKZARN_ExifInputDlg::OnEditUpdateShutterAngle()
{
    EditUpdate(Combo(kShutterAngleComboId), kShutterAngleMaxLength, lastShutterAngle_, "180.000");
}

void CKZARN_ExifInputDlg::KillFocus(QComboBox* combo, double upper, std::string& committed,
                                    std::string& lastValid, double* typed)
{
    const std::string text = combo->currentText().toStdString();
    double value = 0.0;
    // The whole text is read with the application's decimal character; a text that is not a number
    // is refused like one out of range, never read as 0 or as its leading digits.
    const bool number = DecimalText::Parse(text, text.size(), WizardAppLink::DecimalChar(), &value);
    if (!number || value < 0.001 || value > upper) {
        combo->setEditText(QString::fromStdString(committed));
        return;
    }
    *typed = value;
    // Three decimals ("%4.3f" of a frame rate, "%3.3f" of an angle: the widths never pad), with the
    // decimal character the text was read with.
    committed = DecimalText::Fixed(value, 3, WizardAppLink::DecimalChar());
    lastValid = committed;
    combo->setEditText(QString::fromStdString(committed));
    UpdateOkButtonTyped();
}

void CKZARN_ExifInputDlg::OnKillFocusFrameRate()
{
    KillFocus(Combo(kFrameRateComboId), 9999.999, committedFrameRate_, lastFrameRate_,
              &values_.typedFrameRate);
}

void CKZARN_ExifInputDlg::OnKillFocusShutterAngle()
{
    KillFocus(Combo(kShutterAngleComboId), 360.0, committedShutterAngle_, lastShutterAngle_,
              &values_.typedShutterAngle);
}

void CKZARN_ExifInputDlg::UpdateOkButton()
{
    bool enable = values_.iso != -1;
    if (cineMode == 0)
        enable = enable && values_.shutterIndex != -1 && values_.apertureIndex != -1;
    else
        enable = enable && values_.frameRateCode != -1 && values_.shutterAngleCode != -1 && values_.apertureIndex != -1;
    ok_->setEnabled(enable);
}

void CKZARN_ExifInputDlg::UpdateOkButtonTyped()
{
    ok_->setEnabled(values_.iso != -1 && values_.typedFrameRate != 0.0 &&
                    values_.typedShutterAngle != ExifInputValues::kNoTypedShutterAngle && values_.apertureIndex != -1);
}

bool CKZARN_ExifInputDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == Combo(kFrameRateComboId)->lineEdit())
            OnKillFocusFrameRate();
        else if (watched == Combo(kShutterAngleComboId)->lineEdit())
            OnKillFocusShutterAngle();
    }
    return QDialog::eventFilter(watched, event);
}
