#include "ui/main/CKZARN_SelModeDlg.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/util/CLangTable.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr CKZARN_SelModeDlg::ChoiceRow kChoices[] = {
    {0, 2000, 0, 2001, 2003, 1, 2002, 2004, 2, 2025, 2026, -1, 420},
    {1, 2010, 0, 2011, 2013, 1, 2012, 2014, -1, 0, 0, -1, 300},
    {2, 2020, 0, 2021, 2023, 1, 2022, 2024, 2, 2027, 2028, -1, 420},
};

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_SelModeDlg::kTemplateId, 0, 0, 0, 290, 430},
    {1038, 0, 20, 15, 240, 33},
    {1157, 0, 30, 55, 220, 65},
    {1039, 0, 20, 135, 240, 33},
    {1158, 0, 30, 175, 220, 105},
    {1040, 0, 20, 305, 240, 33},
    {1159, 0, 30, 345, 220, 65},
    {0, 0, 0, 0, 0, 0},
};

QString Text(int id)
{
    return CKZARN_Common::ToWidgetText(GetLangString(id));
}

} // namespace

CKZARN_SelModeDlg::CKZARN_SelModeDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    for (int id : {1159, 1158, 1157}) {
        auto* label = new QLabel(this);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        controls_[id] = label;
    }
    for (int id : {1040, 1039, 1038}) {
        auto* button = new QPushButton(this);
        button->setAutoDefault(false);
        controls_[id] = button;
        connect(button, &QPushButton::clicked, this, [this, id] {
            if (row_ == nullptr) return;
            done(id == 1038 ? row_->result1038 : id == 1039 ? row_->result1039 : row_->result1040);
        });
    }
}

CKZARN_SelModeDlg::~CKZARN_SelModeDlg() = default;

QWidget* CKZARN_SelModeDlg::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

BOOL CKZARN_SelModeDlg::SetType(int type)
{
    if (initialised_) return FALSE;
    for (const ChoiceRow& row : kChoices) {
        if (row.type == type) {
            row_ = &row;
            return TRUE;
        }
    }
    return FALSE;
}

int CKZARN_SelModeDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

BOOL CKZARN_SelModeDlg::OnInitDialog()
{
    initialised_ = true;
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    if (row_ == nullptr) return TRUE;
    setWindowTitle(Text(row_->caption));
    const std::pair<int, int> texts[] = {{1038, row_->text1038}, {1157, row_->text1157}, {1039, row_->text1039},
                                         {1158, row_->text1158}, {1040, row_->text1040}, {1159, row_->text1159}};
    for (const auto& [id, textId] : texts) {
        QWidget* control = controls_[id];
        control->setProperty("text", textId != 0 ? Text(textId) : QString());
        control->setVisible(textId != 0);
    }
    setFixedSize(kLayout[0].width, row_->height);
    return TRUE;
}

void CKZARN_SelModeDlg::accept()
{
    done(row_ != nullptr ? row_->resultOkCancel : -1);
}

void CKZARN_SelModeDlg::reject()
{
    done(row_ != nullptr ? row_->resultOkCancel : -1);
}
