#include "ui/controls/CKZARN_OpenProfileDlg.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/util/CLangTable.h"
#include "profilelib/ZarnLibString.h"
#include "platform/PromptService.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "ui/controls/CKZARN_ProfileListCtrl.h"
#include "ui/controls/QtPromptService.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr DialogLayoutItem kLayoutPlain[] = {
    {CKZARN_OpenProfileDlg::kTemplateId, 0, 0, 0, 340, 340},
    {CKZARN_OpenProfileDlg::kPromptId, 100, 10, 10, 300, 13},
    {CKZARN_OpenProfileDlg::kListId, 0, 10, 30, 300, 170},
    {CKZARN_OpenProfileDlg::kNameEditId, 0, 10, 220, 300, 23},
    {CKZARN_OpenProfileDlg::kVersionLabelId, 0, 0, 0, 0, 0},
    {CKZARN_OpenProfileDlg::kVersionComboId, 0, 0, 0, 0, 0},
    {CKZARN_OpenProfileDlg::kOkId, 10, 10, 260, 88, 23},
    {CKZARN_OpenProfileDlg::kCancelId, 11, 222, 260, 88, 23},
    {0, 0, 0, 0, 0, 0},
};

constexpr DialogLayoutItem kLayoutWithVersion[] = {
    {CKZARN_OpenProfileDlg::kTemplateId, 0, 0, 0, 340, 390},
    {CKZARN_OpenProfileDlg::kPromptId, 100, 10, 10, 300, 13},
    {CKZARN_OpenProfileDlg::kListId, 0, 10, 30, 300, 170},
    {CKZARN_OpenProfileDlg::kNameEditId, 0, 10, 220, 300, 23},
    {CKZARN_OpenProfileDlg::kVersionLabelId, 200, 10, 250, 300, 13},
    {CKZARN_OpenProfileDlg::kVersionComboId, 0, 10, 270, 300, 23},
    {CKZARN_OpenProfileDlg::kOkId, 10, 10, 310, 88, 23},
    {CKZARN_OpenProfileDlg::kCancelId, 11, 222, 310, 88, 23},
    {0, 0, 0, 0, 0, 0},
};

constexpr ComboTextItem kVersionItems[] = {{201, 2}, {202, 3}, {0, 0}};

constexpr int kCaptionChoose = 6000;
constexpr int kCaptionNew = 6001;
constexpr int kCaptionSaveAs = 6021;
constexpr int kPromptChoose = 6002;
constexpr int kPromptNew = 6003;
constexpr int kTextMissingFile = 10000;
constexpr int kTextReplace = 10001;
constexpr int kTextInvalidName = 10002;
constexpr int kTextExists = 10003;
constexpr int kTextReserved = 10011;
constexpr int kTextForbidden = 10013;
constexpr const char* kForbiddenChars = "\\/:*?\"<>|,";

// Chart kinds that format version 2 cannot hold (ColorChecker Classic and SpyderCHECKR).
bool HoldsVersion2Chart(const std::string& name)
{
    const std::string file = CKZARN_Common::GetProfilePath(name);
    const ZarnLibString path(file.c_str());
    ZarnLib_Profile profile;
    if (LoadProfile(&path, &profile) != 0) {
        return false; // listed anyway: the user learns of the fault when it is used
    }
    const std::vector<int> kinds = profile.GetTableKinds();
    return std::any_of(kinds.begin(), kinds.end(), [](int kind) { return kind == 3 || kind == 6; });
}

QString Text(int id)
{
    return CKZARN_Common::ToWidgetText(GetLangString(id));
}

} // namespace

CKZARN_OpenProfileDlg::CKZARN_OpenProfileDlg(int mode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      prompt_(new QLabel(this)), nameEdit_(new QLineEdit(this)), versionLabel_(new QLabel(this)),
      versionCombo_(new QComboBox(this)), list_(new CKZARN_ProfileListCtrl(this)), ok_(new QPushButton(this)),
      cancel_(new QPushButton(this)), mode_(mode)
{
    controls_ = {{kPromptId, prompt_},         {kNameEditId, nameEdit_}, {kVersionLabelId, versionLabel_},
                 {kVersionComboId, versionCombo_}, {kListId, list_},       {kOkId, ok_},
                 {kCancelId, cancel_}};
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    cancel_->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { done(IDCANCEL); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { OnItemChanged(); });
    connect(versionCombo_, &QComboBox::activated, this, [this](int) { OnVersionChanged(); });
    connect(nameEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (mode_ == 0) ok_->setEnabled(!text.isEmpty() || ok_->isEnabled());
    });
}

CKZARN_OpenProfileDlg::~CKZARN_OpenProfileDlg() = default;

QWidget* CKZARN_OpenProfileDlg::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CKZARN_OpenProfileDlg::SetRenameSource(const std::string& name)
{
    startingName_ = name;
    presetName_ = name;
}

void CKZARN_OpenProfileDlg::SetTextIds(int captionId, int promptId)
{
    captionId_ = captionId;
    promptId_ = promptId;
}

int CKZARN_OpenProfileDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

BOOL CKZARN_OpenProfileDlg::OnInitDialog()
{
    if (mode_ == 0) multiSelect_ = FALSE;
    ok_->setEnabled(false);

    if (showVersion_) {
        CKZARN_Common::ApplyDialogLayout(this, kLayoutWithVersion, FALSE);
        versionLabel_->show();
        versionCombo_->show();
        CKZARN_Common::FillComboFromTable(versionCombo_, kVersionItems);
        CKZARN_Common::SelectComboItemByData(versionCombo_, kpfVersion_);
    } else {
        CKZARN_Common::ApplyDialogLayout(this, kLayoutPlain, FALSE);
        versionLabel_->hide();
        versionCombo_->hide();
    }
    setFixedSize(size());

    if (captionId_ == 0) {
        setWindowTitle(Text(mode_ == 1 ? kCaptionChoose : kCaptionNew));
    } else if (captionId_ == kCaptionSaveAs && !presetName_.empty()) {
        setWindowTitle(CKZARN_Common::ToWidgetText(GetLangString(kCaptionSaveAs) + " (" + presetName_ + ")"));
    } else {
        setWindowTitle(Text(captionId_));
    }

    if (promptId_ == 0) {
        if (mode_ == 1) {
            prompt_->setText(Text(kPromptChoose));
        } else {
            prompt_->setText(Text(kPromptNew));
            ok_->setEnabled(true);
        }
    } else {
        prompt_->setText(Text(promptId_));
    }

    nameEdit_->setReadOnly(mode_ == 1);

    list_->setFont(font());
    list_->setSelectionMode(multiSelect_ ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    FillList(0);

    nameEdit_->setFocus();
    if (!presetName_.empty()) {
        nameEdit_->setText(CKZARN_Common::ToWidgetText(presetName_));
        ok_->setEnabled(true);
        nameEdit_->selectAll();
    }
    return TRUE;
}

// Fills the list for a version choice: 0 at start-up (filters as set), 2 for version 2, else any.
void CKZARN_OpenProfileDlg::FillList(int version)
{
    refilling_ = true;
    list_->DeleteAllItems();
    selectedRows_.clear();
    std::vector<std::string> names;
    CKZARN_Common::ListProfileNames(&names, 0, majorFilter, version == 2 ? 1 : minorFilter);
    int row = 0;
    for (const std::string& name : names) {
        if (version == 2 && HoldsVersion2Chart(name)) continue;
        list_->InsertItem(row++, name);
    }
    list_->AutoSizeColumns();
    refilling_ = false;
}

void CKZARN_OpenProfileDlg::OnItemChanged()
{
    if (refilling_) return;
    const std::vector<int> now = list_->GetSelectedItems();
    // Newly selected rows are appended, deselected rows removed (their first exact match).
    for (int row : selectedRows_) {
        if (std::find(now.begin(), now.end(), row) == now.end()) {
            const auto it = std::find(chosen_.begin(), chosen_.end(), list_->GetItemText(row));
            if (it != chosen_.end()) chosen_.erase(it);
        }
    }
    for (int row : now) {
        if (std::find(selectedRows_.begin(), selectedRows_.end(), row) == selectedRows_.end()) {
            chosen_.push_back(list_->GetItemText(row));
        }
    }
    selectedRows_ = now;
    ShowChosenNames();
}

void CKZARN_OpenProfileDlg::ShowChosenNames()
{
    std::string text;
    if (chosen_.size() == 1) {
        text = chosen_.front();
    } else {
        for (auto it = chosen_.rbegin(); it != chosen_.rend(); ++it) {
            text += "\"" + *it + "\"";
        }
    }
    nameEdit_->setText(CKZARN_Common::ToWidgetText(text));
    ok_->setEnabled(!text.empty());
}

void CKZARN_OpenProfileDlg::OnVersionChanged()
{
    const int index = versionCombo_->currentIndex();
    kpfVersion_ = CKZARN_Common::GetComboItemData(versionCombo_, index);
    if (kpfVersion_ == 2) {
        FillList(2);
    } else {
        refilling_ = true;
        list_->DeleteAllItems();
        selectedRows_.clear();
        std::vector<std::string> names;
        CKZARN_Common::ListProfileNames(&names, 0, majorFilter, 0);
        for (std::size_t i = 0; i < names.size(); ++i) list_->InsertItem(static_cast<int>(i), names[i]);
        list_->AutoSizeColumns();
        refilling_ = false;
    }
    chosen_.clear();
    nameEdit_->clear();
    ok_->setEnabled(false);
}

void CKZARN_OpenProfileDlg::Message(const std::string& text, UINT type)
{
    QtPromptService::Current().MessageBox(nullptr, text, GetLangString(1000), type);
}

void CKZARN_OpenProfileDlg::OnOK()
{
    const std::string text = nameEdit_->text().toStdString();
    if (showVersion_) {
        kpfVersion_ = CKZARN_Common::GetComboItemData(versionCombo_, versionCombo_->currentIndex());
    }
    if (text.empty()) {
        Message(GetLangString(kPromptNew), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (mode_ == 1) {
        for (const std::string& name : chosen_) {
            if (!CKZARN_Common::ProfileFileExists(name)) {
                Message(name + GetLangString(kTextMissingFile), MB_OK | MB_ICONEXCLAMATION);
                return;
            }
        }
        done(IDOK);
        return;
    }
    if (CKZARN_Common::HasInvalidFileNameChar(text)) {
        Message(GetLangString(kTextForbidden) + "\n" + kForbiddenChars, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (CKZARN_Common::IsDefaultProfileName(text) || CKZARN_Common::IsPlaceholderText(text)) {
        Message(text + "\n" + GetLangString(kTextReserved), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!startingName_.empty()) {
        if (text == startingName_) {
            done(IDCANCEL);
            return;
        }
        // A new name is refused when another profile holds it in any spelling; a change of letter
        // case alone, with no other file of that spelling, renames.
        if (CKZARN_Common::IsProfileNameTaken(text, startingName_)) {
            Message(GetLangString(kTextExists), MB_OK | MB_ICONSTOP);
            return;
        }
        if (QString::fromStdString(text).compare(QString::fromStdString(startingName_), Qt::CaseInsensitive) == 0) {
            chosen_ = {text};
            done(IDOK);
            return;
        }
    } else if (CKZARN_Common::ProfileFileExists(text)) {
        const int answer = QtPromptService::Current().MessageBox(nullptr, text + GetLangString(kTextReplace),
                                                                 GetLangString(1000),
                                                                 MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
        if (answer != IDYES) return;
    }
    if (CKZARN_Common::IsValidProfileName(text)) {
        chosen_ = {text};
        done(IDOK);
        return;
    }
    Message(GetLangString(kTextInvalidName), MB_OK | MB_ICONEXCLAMATION);
}

void CKZARN_OpenProfileDlg::accept()
{
    done(IDCANCEL);
}

void CKZARN_OpenProfileDlg::reject()
{
    done(IDCANCEL);
}

std::string CKZARN_OpenProfileDlg::GetSelectedName() const
{
    return chosen_.empty() ? std::string() : chosen_.front();
}

int CKZARN_OpenProfileDlg::GetSelectedNames(std::vector<std::string>* names) const
{
    if (names != nullptr) *names = chosen_;
    return static_cast<int>(chosen_.size());
}

std::string CKZARN_OpenProfileDlg::GetSelectedProfilePath() const
{
    return chosen_.empty() ? std::string() : CKZARN_Common::GetProfilePath(chosen_.front());
}
