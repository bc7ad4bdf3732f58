#include "ui/main/CKZARN_SetInitvalDlg.h"

#include "core/CKZARN_Common.h"
#include "core/CKestrinZarnApp.h"
#include "core/DialogLayoutItem.h"
#include "core/ZarnAppSettings.h"
#include "core/util/CLangTable.h"
#include "platform/PromptService.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/controls/CHAlignLabel.h"
#include "ui/controls/QtPromptService.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_SetInitvalDlg::kTemplateId, 8000, 0, 0, 270, 380},
    {1147, 8001, 20, 15, 210, 30},
    {1061, 118, 30, 60, 120, 26},
    {1066, 0, 170, 60, 50, 24},
    {1062, 119, 30, 100, 120, 26},
    {1067, 0, 170, 100, 50, 24},
    {1063, 120, 30, 140, 120, 26},
    {1068, 0, 170, 140, 50, 24},
    {1064, 121, 30, 180, 120, 26},
    {1069, 0, 170, 180, 50, 24},
    {1065, 122, 30, 220, 120, 26},
    {1070, 0, 170, 220, 50, 24},
    {CKZARN_SetInitvalDlg::kDefaultsId, 8002, 152, 270, 88, 23},
    {1, 10, 10, 300, 88, 23},
    {2, 11, 152, 300, 88, 23},
    {0, 0, 0, 0, 0, 0},
};

// The edits in declaration order and the labels 1061 to 1065.
constexpr int kEditIds[5] = {1067, 1069, 1068, 1066, 1070};
constexpr int kLabelIds[5] = {1061, 1062, 1063, 1064, 1065};
constexpr int kTextOutOfRange = 8003;
constexpr int kTextOutOfOrder = 8004;

ZarnAppSettings* ApplicationSettings()
{
    CKestrinZarnApp* app = CKestrinZarnApp::GetApp();
    static ZarnAppSettings fallback;
    return app != nullptr ? &app->Settings() : &fallback;
}

} // namespace

CKZARN_SetInitvalDlg::CKZARN_SetInitvalDlg(QWidget* parent, ZarnAppSettings* settings)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      defaults_(new QPushButton(this)), settings_(settings != nullptr ? settings : ApplicationSettings())
{
    controls_[kDefaultsId] = defaults_;
    controls_[1147] = new QLabel(this);
    static_cast<QLabel*>(controls_[1147])->setWordWrap(true);
    for (int i = 0; i < 5; ++i) {
        edits_[static_cast<std::size_t>(i)] = new CCustomEdit(this);
        controls_[kEditIds[i]] = edits_[static_cast<std::size_t>(i)];
        labels_[static_cast<std::size_t>(i)] = new CHAlignLabel(this);
        controls_[kLabelIds[i]] = labels_[static_cast<std::size_t>(i)];
    }
    auto* ok = new QPushButton(this);
    auto* cancel = new QPushButton(this);
    ok->setDefault(true);
    controls_[1] = ok;
    controls_[2] = cancel;
    connect(defaults_, &QPushButton::clicked, this, [this] { OnDefaults(); });
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(IDCANCEL); });
}

CKZARN_SetInitvalDlg::~CKZARN_SetInitvalDlg() = default;

QWidget* CKZARN_SetInitvalDlg::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

int CKZARN_SetInitvalDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

BOOL CKZARN_SetInitvalDlg::OnInitDialog()
{
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    setFixedSize(size());
    for (CCustomEdit* edit : edits_) edit->inputMode = 0;
    for (CHAlignLabel* label : labels_) label->alignment = 2;
    ShowLevels(settings_->userCPM, settings_->userDRM, settings_->userCNT, settings_->userDRP, settings_->userCPP);
    return TRUE;
}

void CKZARN_SetInitvalDlg::ShowLevels(int cpm, int drm, int cnt, int drp, int cpp)
{
    const std::pair<int, int> levels[] = {{kCpmEditId, cpm}, {kDrmEditId, drm}, {kCntEditId, cnt},
                                          {kDrpEditId, drp}, {kCppEditId, cpp}};
    for (const auto& [id, level] : levels) {
        static_cast<CCustomEdit*>(controls_[id])->setText(QString::number(level));
    }
}

void CKZARN_SetInitvalDlg::OnDefaults()
{
    ShowLevels(settings_->programCPM, settings_->programDRM, settings_->programCNT, settings_->programDRP,
               settings_->programCPP);
}

std::optional<int> CKZARN_SetInitvalDlg::ParseLevel(const std::string& text)
{
    if (text.empty() || text.size() > 3) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

void CKZARN_SetInitvalDlg::OnOK()
{
    // Empty or non-numeric text is refused like a value out of range, never read as 0.
    const int order[5] = {kCpmEditId, kDrmEditId, kCntEditId, kDrpEditId, kCppEditId};
    int values[5] = {};
    for (int i = 0; i < 5; ++i) {
        const std::optional<int> level =
            ParseLevel(static_cast<CCustomEdit*>(controls_[order[i]])->text().trimmed().toStdString());
        if (!level.has_value() || *level > 255) {
            QtPromptService::Current().MessageBox(nullptr, GetLangString(kTextOutOfRange), GetLangString(1000),
                                                  MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        values[i] = *level;
    }
    for (int i = 0; i + 1 < 5; ++i) {
        if (values[i] > values[i + 1]) {
            QtPromptService::Current().MessageBox(nullptr, GetLangString(kTextOutOfOrder), GetLangString(1000),
                                                  MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    }
    settings_->userCPM = values[0];
    settings_->userDRM = values[1];
    settings_->userCNT = values[2];
    settings_->userDRP = values[3];
    settings_->userCPP = values[4];
    done(IDOK);
}

void CKZARN_SetInitvalDlg::accept()
{
    OnOK();
}
