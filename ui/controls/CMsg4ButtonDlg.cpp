#include "ui/controls/CMsg4ButtonDlg.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "platform/PromptService.h"
#include "ui/controls/CStaticIcon.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int kLineHeight = 13;

const DialogLayoutItem kLayout[] = {
    {CMsg4ButtonDlg::kTemplateId, 0, 0, 0, 410, 135},
    {CMsg4ButtonDlg::kIconId, 0, 12, 12, 32, 32},
    {CMsg4ButtonDlg::kMessageId, 0, 68, 14, 322, 26},
    {1252, 0, 12, 57, 88, 23},
    {1253, 0, 107, 57, 88, 23},
    {1254, 0, 202, 57, 88, 23},
    {1255, 0, 297, 57, 88, 23},
    {0, 0, 0, 0, 0, 0},
};

constexpr int kButtonX[] = {12, 107, 202, 297};

QString Widget(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

CMsg4ButtonDlg::CMsg4ButtonDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      texts(6)
{
    auto* picture = new CStaticIcon(this);
    controls_[kIconId] = picture;
    auto* message = new QLabel(this);
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    controls_[kMessageId] = message;
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(this);
        const int result = kFirstResult + i;
        connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        controls_[kFirstButtonId + i] = button;
    }
}

CMsg4ButtonDlg::~CMsg4ButtonDlg() = default;

QWidget* CMsg4ButtonDlg::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CMsg4ButtonDlg::SetTexts(const std::vector<std::string>& newTexts)
{
    if (newTexts.size() >= 6) {
        texts = newTexts;
    }
}

void CMsg4ButtonDlg::SetSystemIcon(int name)
{
    QStyle::StandardPixmap which;
    switch (name) {
    case IDI_HAND:
        which = QStyle::SP_MessageBoxCritical;
        break;
    case IDI_QUESTION:
        which = QStyle::SP_MessageBoxQuestion;
        break;
    case IDI_EXCLAMATION:
        which = QStyle::SP_MessageBoxWarning;
        break;
    case IDI_ASTERISK:
        which = QStyle::SP_MessageBoxInformation;
        break;
    default:
        icon = QIcon();
        return;
    }
    icon = QApplication::style()->standardIcon(which);
}

BOOL CMsg4ButtonDlg::OnInitDialog()
{
    CKZARN_Common::ApplyDialogLayout(this, kLayout, 0);
    if (texts.size() < 6) {
        texts.resize(6); // texts never set: empty captions rather than a read past the array
    }

    auto* picture = static_cast<CStaticIcon*>(FindControl(kIconId));
    picture->SetIcon(icon, 32, 32);

    setWindowTitle(Widget(texts[0]));
    auto* message = static_cast<QLabel*>(FindControl(kMessageId));
    message->setText(Widget(texts[1]));

    // Three lines or more make the dialog taller by 13 pixels a line.
    const int lines = static_cast<int>(std::count(texts[1].begin(), texts[1].end(), '\n')) + 1;
    if (lines >= 3) {
        const int extra = lines * kLineHeight - 2 * kLineHeight;
        const int frameW = frameGeometry().width() - width();
        const int frameH = frameGeometry().height() - height();
        resize(410 - frameW, 135 + extra - frameH);
        picture->move(12, 12 + extra / 2);
        message->resize(322, lines * kLineHeight);
        for (int i = 0; i < 4; ++i) {
            FindControl(kFirstButtonId + i)->move(kButtonX[i], 57 + extra);
        }
    }

    for (int i = 0; i < 4; ++i) {
        auto* button = static_cast<QPushButton*>(FindControl(kFirstButtonId + i));
        button->setText(Widget(texts[static_cast<std::size_t>(2 + i)]));
        button->setDefault(false);
    }
    int defaultId = 1255;
    if (defaultResult >= kFirstResult && defaultResult < kFirstResult + 3) {
        defaultId = kFirstButtonId + (defaultResult - kFirstResult);
    }
    auto* chosen = static_cast<QPushButton*>(FindControl(defaultId));
    chosen->setDefault(true);
    chosen->setFocus(Qt::OtherFocusReason);
    return FALSE;
}

int CMsg4ButtonDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

void CMsg4ButtonDlg::accept()
{
}

void CMsg4ButtonDlg::reject()
{
    done(kCancelled);
}
