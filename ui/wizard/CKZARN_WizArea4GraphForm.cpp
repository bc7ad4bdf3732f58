#include "ui/wizard/CKZARN_WizArea4GraphForm.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/util/DecimalText.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/controls/CHAlignLabel.h"
#include "ui/views/CharacteristicPoints.h"
#include "ui/wizard/CKZARN_WizardDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include <cmath>
#include <cstdio>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_WizArea4GraphForm::kTemplateId, 0, 0, 0, 250, 270},
    {1205, 148, 80, 20, 100, 13},
    {1204, 149, 185, 20, 60, 13},
    {1061, 118, 10, 50, 125, 26},
    {1066, 0, 140, 50, 40, 24},
    {1023, 0, 195, 50, 40, 24},
    {1062, 119, 10, 95, 125, 26},
    {1067, 0, 140, 95, 40, 23},
    {1024, 0, 195, 95, 40, 23},
    {1063, 120, 10, 140, 125, 26},
    {1068, 0, 140, 140, 40, 23},
    {1064, 121, 10, 185, 125, 26},
    {1069, 0, 140, 185, 40, 23},
    {1027, 0, 195, 185, 40, 23},
    {1065, 122, 10, 230, 125, 26},
    {1070, 0, 140, 230, 40, 23},
    {1032, 0, 195, 230, 40, 23},
    {0, 0, 0, 0, 0, 0},
};

// Captions of CPP, DRP, CNT, DRM, CPM.
constexpr int kCaptionIds[5] = {1061, 1062, 1063, 1064, 1065};

double RoundHalfAway(double value, double unit)
{
    return std::copysign(std::trunc(std::fabs(value) / unit + 0.5), value) * unit;
}

} // namespace

CKZARN_WizArea4GraphForm::CKZARN_WizArea4GraphForm(QWidget* parent) : CKZARN_WizAreaBaseForm(kTemplateId, parent)
{
    AddControl(1205, new QLabel(this));
    AddControl(1204, new QLabel(this));
    for (int i = 0; i < 5; ++i) {
        captions_[i] = new CHAlignLabel(this);
        AddControl(kCaptionIds[i], captions_[i]);
    }
    for (int kind = 0; kind < 10; ++kind) {
        if (kFieldOfKind[kind] == 0)
            continue;
        fields_[kind] = new CCustomEdit(this);
        AddControl(kFieldOfKind[kind], fields_[kind]);
        fields_[kind]->installEventFilter(this);
    }
}

CKZARN_WizArea4GraphForm::~CKZARN_WizArea4GraphForm() = default;

BOOL CKZARN_WizArea4GraphForm::OnInitDialog()
{
    if (owner != nullptr)
        InitControls();
    return TRUE;
}

void CKZARN_WizArea4GraphForm::InitControls()
{
    const int mode = owner->GetMode();
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    FitTextRowsToFont();
    for (CHAlignLabel* caption : captions_) {
        caption->alignment = 2;
        caption->setWordWrap(true);
        caption->update();
    }
    for (int kind = 0; kind < 10; ++kind) {
        if (fields_[kind] == nullptr)
            continue;
        // Signed with one decimal for the EVs, up to three digits for the levels.
        fields_[kind]->inputMode = kind < 5 ? 4 : 0;
        fields_[kind]->setReadOnly(mode == 0);
    }
    FillTable(nullptr);
}

void CKZARN_WizArea4GraphForm::FillTable(const CharacteristicPoints* points)
{
    if (points == nullptr || points->hidden == 1) {
        for (int kind = 0; kind < 10; ++kind)
            if (fields_[kind] != nullptr) {
                fields_[kind]->lastValidText.clear();
                shown_[kind].clear();
                fields_[kind]->setText(QString());
            }
        return;
    }
    for (int p : {0, 1, 3, 4})
        ShowValue(p, points->ev[p]);
    for (int p = 0; p < 5; ++p)
        ShowValue(5 + p, points->level[p]);
}

void CKZARN_WizArea4GraphForm::ShowValue(int kind, double value)
{
    CCustomEdit* field = Field(kind);
    if (field == nullptr)
        return;
    std::string shown;
    if (kind < 5) {
        // EV texts carry the field's decimal character whatever the C library's locale is.
        const double rounded = RoundHalfAway(value, 0.1);
        shown = DecimalText::Fixed(rounded, 1, field->decimalChar, rounded != 0.0);
    } else {
        shown = std::to_string(static_cast<int>(RoundHalfAway(value, 1.0)));
    }
    field->lastValidText = shown;
    shown_[kind] = shown;
    field->setText(QString::fromStdString(shown));
    field->repaint();
}

void CKZARN_WizArea4GraphForm::SetEditable(int readOnly)
{
    // The result of a new profile is shown, never edited.
    if (readOnly == 0 && owner != nullptr && owner->GetMode() == 0)
        readOnly = 1;
    for (CCustomEdit* field : fields_)
        if (field != nullptr)
            field->setReadOnly(readOnly != 0);
}

void CKZARN_WizArea4GraphForm::ApplyEdit(CCustomEdit* edit, int kind)
{
    if (edit == nullptr || edit->isReadOnly() || owner == nullptr)
        return;
    double value = 0.0;
    if (ReadField(kind, &value))
        owner->SetResultValue(kind, value, 2);
    if (auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
        focused->selectAll();
}

bool CKZARN_WizArea4GraphForm::ReadField(int kind, double* value)
{
    CCustomEdit* field = Field(kind);
    // The whole text is read with the field's decimal character, whatever the process locale.
    if (field != nullptr && DecimalText::ParseSigned(field->text().toStdString(), field->decimalChar, value))
        return true;
    // Not a number: refused like a value out of range, with the value shown before back in place.
    QApplication::beep();
    if (field != nullptr) {
        field->lastValidText = shown_[kind];
        field->setText(QString::fromStdString(shown_[kind]));
    }
    return false;
}

void CKZARN_WizArea4GraphForm::OnKillFocusEdit(int kind)
{
    ApplyEdit(Field(kind), kind);
}

int CKZARN_WizArea4GraphForm::KindOf(QObject* field) const
{
    for (int kind = 0; kind < 10; ++kind)
        if (fields_[kind] != nullptr && fields_[kind] == field)
            return kind;
    return -1;
}

BOOL CKZARN_WizArea4GraphForm::PreTranslateMessage(QObject* field, QKeyEvent* event)
{
    const int kind = KindOf(field);
    const int key = event->key();
    if (kind < 0 || (key != Qt::Key_Return && key != Qt::Key_Enter) || fields_[kind]->isReadOnly())
        return FALSE;
    double value = 0.0;
    if (owner != nullptr && ReadField(kind, &value))
        owner->SetResultValue(kind, value, 1);
    return TRUE;
}

bool CKZARN_WizArea4GraphForm::eventFilter(QObject* watched, QEvent* event)
{
    const int kind = KindOf(watched);
    if (kind >= 0) {
        if (event->type() == QEvent::FocusOut)
            OnKillFocusEdit(kind);
        if (event->type() == QEvent::KeyPress && PreTranslateMessage(watched, static_cast<QKeyEvent*>(event)))
            return true;
    }
    return CKZARN_WizAreaBaseForm::eventFilter(watched, event);
}
