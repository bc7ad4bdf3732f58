#include "ui/main/CKZARN_MainUserSettingForm.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/util/CLangTable.h"
#include "meter/CKZARN_LMCtrl.h"
#include "meter/CZarnCommand.h"
#include "meter/T140TransferBlock.h"
#include "meter/T520TransferBlock.h"
#include "platform/qt/QtMessageSink.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/controls/CFlexDirectItem.h"
#include "ui/controls/CFlexItem.h"
#include "ui/controls/CFlexListCtrl.h"
#include "ui/controls/CFlexSelectItem.h"
#include "ui/controls/FlexListMessages.h"
#include "ui/main/UserSettingTables.h"
#include "ui/main/MeterSettingPageTools.h"
#include "ui/meter/CZarnManager.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include <cmath>
#include <memory>

namespace {

using Form = CKZARN_MainUserSettingForm;

constexpr DialogLayoutItem kLayout[] = {
    {Form::kTemplateId, 0, 0, 0, 545, 680},
    {Form::kListId, 0, 15, 15, 505, 530},
    {Form::kSaveId, 28001, 420, 550, 100, 35},
    {Form::kResetId, 28004, 15, 550, 100, 35},
    {Form::kNoticeId, 50119, 0, 245, 505, 35},
    {0, 0, 0, 0, 0, 0},
};

// Where the notice sits inside the list once it has moved there.
constexpr int kNoticeX = 0;
constexpr int kNoticeY = 245;
constexpr int kNoticeWidth = 505;
constexpr int kNoticeHeight = 35;

char DecimalChar()
{
    return CCustomEdit::ApplicationDecimalChar();
}

bool IsNumberMode(int editMode)
{
    return editMode == 7 || editMode == 8 || editMode == 10;
}

} // namespace

CKZARN_MainUserSettingForm::CKZARN_MainUserSettingForm(QWidget* parent)
    : CKZARN_MainBaseForm(kTemplateId, parent),
      list_(new CFlexListCtrl(this)),
      noticeStatic(new QLabel(this)),
      saveButton_(new QPushButton(this)),
      resetButton_(new QPushButton(this))
{
    AddControl(kListId, list_);
    AddControl(kSaveId, saveButton_);
    AddControl(kResetId, resetButton_);
    AddControl(kNoticeId, noticeStatic);
    noticeStatic->setAlignment(Qt::AlignCenter);
    noticeStatic->setWordWrap(true);
    noticeStatic->setAttribute(Qt::WA_TranslucentBackground);
    // The notice lives inside the list, which is disabled while it shows; its text keeps the
    // colour of an enabled label so that it stays readable.
    QPalette palette = noticeStatic->palette();
    palette.setColor(QPalette::Disabled, QPalette::WindowText, palette.color(QPalette::Active, QPalette::WindowText));
    noticeStatic->setPalette(palette);
    handle_ = QtMessageSink::Instance().Register(this, this);
    connect(saveButton_, &QPushButton::clicked, this, [this] { OnSave(); });
    connect(resetButton_, &QPushButton::clicked, this, [this] { OnReset(); });
}

CKZARN_MainUserSettingForm::~CKZARN_MainUserSettingForm()
{
    QtMessageSink::Instance().Unregister(handle_);
}

BOOL CKZARN_MainUserSettingForm::OnInitDialog()
{
    CKZARN_MainBaseForm::OnInitDialog();
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    // The notice shows over the list: it becomes a child of the list at the same place inside it.
    noticeStatic->setParent(list_);
    noticeStatic->setGeometry(kNoticeX, kNoticeY, kNoticeWidth, kNoticeHeight);
    modified = 0;
    UpdateNotice();
    UpdateButtons();
    list_->Initialize();
    return TRUE;
}

void CKZARN_MainUserSettingForm::showEvent(QShowEvent* event)
{
    CKZARN_MainBaseForm::showEvent(event);
    OnShowWindow(TRUE, 0);
}

void CKZARN_MainUserSettingForm::OnShowWindow(BOOL show, UINT)
{
    if (show) UpdateNotice();
}

LRESULT CKZARN_MainUserSettingForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_FLEX_ENDEDIT: return OnFlexEndEdit(wParam, lParam);
    case WM_FLEX_BEGINEDIT: return OnFlexBeginEdit(wParam, lParam);
    default: return 0;
    }
}

bool CKZARN_MainUserSettingForm::IsT310(const std::string& model)
{
    return model == "T-310D/DR" || model == "T-310CINE";
}

void CKZARN_MainUserSettingForm::UpdateNotice()
{
    if (IsT310(CZarnManager::GetInstance()->GetPhotometerType())) {
        list_->setEnabled(false);
        noticeStatic->setText(CKZARN_Common::ToWidgetText(GetLangString(kNoticeTextId)));
        noticeStatic->show();
    } else {
        list_->setEnabled(true);
        noticeStatic->clear();
        noticeStatic->hide();
    }
}

void CKZARN_MainUserSettingForm::UpdateButtons()
{
    CZarnManager* facade = CZarnManager::GetInstance();
    if (IsT310(facade->GetPhotometerType())) {
        saveButton_->setEnabled(false);
        resetButton_->setEnabled(false);
        return;
    }
    saveButton_->setEnabled(modified != 0);
    resetButton_->setEnabled(MeterSettingPageTools::AnyMeterConnected());
}

BOOL CKZARN_MainUserSettingForm::OnMeterInfoChanged()
{
    UpdateNotice();
    UpdateButtons();
    return TRUE;
}

void CKZARN_MainUserSettingForm::EmptyList()
{
    list_->ClearItems();
    itemTable = nullptr;
    list_->RebuildRows();
}

BOOL CKZARN_MainUserSettingForm::OnExternalProgramEnded(WPARAM, LPARAM)
{
    modified = 0;
    UpdateButtons();
    EmptyList();
    return TRUE;
}

void CKZARN_MainUserSettingForm::Refresh(int connected)
{
    modified = 0;
    UpdateButtons();
    list_->ClearItems();
    itemTable = nullptr;
    if (connected != 0) {
        BuildItems();
        ReadFromMeter();
        RunAllHooks();
    }
    list_->RebuildRows();
}

void CKZARN_MainUserSettingForm::BuildItems()
{
    itemTable = UserItemsForModel(CZarnManager::GetInstance()->GetPhotometerType());
    if (itemTable == nullptr) return;
    const char decimal = DecimalChar();
    CFlexItemList& items = list_->GetItemList();
    for (const UserSettingItemDef* row = itemTable; row->captionTextId != 0; ++row) {
        CFlexItem* item = nullptr;
        if (row->itemType == CFlexItem::kDirect) {
            auto* direct = new CFlexDirectItem;
            direct->editMode = row->editMode;
            item = direct;
        } else if (row->itemType == CFlexItem::kSelect) {
            auto* select = new CFlexSelectItem;
            for (const UserSettingChoice& choice : row->choices) {
                if (choice.textId == 0) break;
                select->GetChoiceList().Add(choice.textId, choice.value);
            }
            item = select;
        } else {
            item = new CFlexItem;
        }
        item->key = row->key;
        item->captionTextId = row->captionTextId;
        item->level = row->level;
        item->numbers = {row->group, row->entry, row->sub};
        // The tables write their numbers with "."; the list shows the application's character.
        item->defaultValue =
            IsNumberMode(row->editMode) ? UserSettingCodec::Localise(row->defaultValue, decimal) : row->defaultValue;
        item->value = item->defaultValue;
        item->enabled = row->enabled;
        item->greyWhenDisabled = row->greyWhenDisabled;
        item->visible = row->visible;
        item->formatText = row->formatText != nullptr ? row->formatText : "";
        if (row->hasChildren == 1) item->expanded = 0;
        items.Add(item, row->hasChildren);
    }
}

int CKZARN_MainUserSettingForm::RunMeterCommand(int code)
{
    return MeterSettingPageTools::RunMeterCommand(code);
}

void CKZARN_MainUserSettingForm::ReadFromMeter()
{
    if (itemTable == nullptr) return;
    CZarnManager* facade = CZarnManager::GetInstance();
    const bool t520 = facade->GetPhotometerType() == "T-520D";
    if (RunMeterCommand(t520 ? ZARN_CMD_T520_READ_USER_SETTINGS : ZARN_CMD_T140_READ_USER_SETTINGS) != 0) {
        EmptyList();
        return;
    }
    if (t520) {
        auto block = std::make_unique<T520TransferBlock>();
        facade->GetLMCtrl()->GetT520Block(block.get());
        DecodeT520(*block);
    } else {
        auto block = std::make_unique<T140TransferBlock>();
        facade->GetLMCtrl()->GetT140Block(block.get());
        DecodeT140(*block);
    }
}

void CKZARN_MainUserSettingForm::RunAllHooks()
{
    if (itemTable == nullptr) return;
    for (const UserSettingItemDef* row = itemTable; row->captionTextId != 0; ++row) {
        if (row->onChange != nullptr) (this->*(row->onChange))(row->key);
    }
}

void CKZARN_MainUserSettingForm::Decode(UserSettingCodec::Family family, const std::uint8_t* block)
{
    const char decimal = DecimalChar();
    for (CFlexItem* item : list_->GetItemList().GetItems()) {
        if (item->numbers[0] < 0) continue;
        const std::string text =
            UserSettingCodec::Decode(family, block, item->numbers[0], item->numbers[1], item->numbers[2], decimal);
        if (!text.empty()) item->value = text;
    }
}

void CKZARN_MainUserSettingForm::Encode(UserSettingCodec::Family family, std::uint8_t* block)
{
    const char decimal = DecimalChar();
    for (const CFlexItem* item : list_->GetItemList().GetItems()) {
        if (item->numbers[0] < 0) continue;
        UserSettingCodec::Encode(family, block, item->numbers[0], item->numbers[1], item->numbers[2], item->value,
                                 decimal);
    }
}

void CKZARN_MainUserSettingForm::DecodeT140(const T140TransferBlock& block)
{
    Decode(UserSettingCodec::kT140, block.bytes.data());
}

void CKZARN_MainUserSettingForm::DecodeT520(const T520TransferBlock& block)
{
    Decode(UserSettingCodec::kT520, block.bytes.data());
}

void CKZARN_MainUserSettingForm::EncodeT140(T140TransferBlock* block)
{
    Encode(UserSettingCodec::kT140, block->bytes.data());
}

void CKZARN_MainUserSettingForm::EncodeT520(T520TransferBlock* block)
{
    Encode(UserSettingCodec::kT520, block->bytes.data());
}

CFlexItem* CKZARN_MainUserSettingForm::FindItem(const std::string& key) const
{
    return MeterSettingPageTools::FindItem(list_, key);
}

const UserSettingItemDef* CKZARN_MainUserSettingForm::FindRow(const std::string& key) const
{
    if (itemTable == nullptr) return nullptr;
    for (const UserSettingItemDef* row = itemTable; row->captionTextId != 0; ++row) {
        if (row->key == key) return row;
    }
    return nullptr;
}

bool CKZARN_MainUserSettingForm::ItemNumber(const std::string& key, double* value) const
{
    const CFlexItem* item = FindItem(key);
    if (item == nullptr || item->value.empty()) return false;
    *value = UserSettingCodec::ReadNumber(item->value, DecimalChar());
    return true;
}

BOOL CKZARN_MainUserSettingForm::ValidateFrameRate(const std::string& key)
{
    double value = 0.0;
    if (!ItemNumber(key, &value)) return FALSE;
    const double highest = CZarnManager::GetInstance()->GetPhotometerType() == "T-520D" ? 99999.999 : 9999.999;
    return value >= 0.001 && value <= highest ? TRUE : FALSE;
}

BOOL CKZARN_MainUserSettingForm::ValidateShutterAngle(const std::string& key)
{
    double value = 0.0;
    if (!ItemNumber(key, &value)) return FALSE;
    return value >= 0.001 && value <= 360.0 ? TRUE : FALSE;
}

BOOL CKZARN_MainUserSettingForm::ValidateFilterName(const std::string& key)
{
    return FindItem(key) != nullptr ? TRUE : FALSE;
}

BOOL CKZARN_MainUserSettingForm::ValidateFilterCompensation(const std::string& key)
{
    double value = 0.0;
    if (!ItemNumber(key, &value)) return FALSE;
    CZarnManager* facade = CZarnManager::GetInstance();
    const std::string revision = facade->GetMeterRevision();
    double limit = revision < "20" ? 5.0 : 12.0;
    if (facade->GetPhotometerType() == "T-520D") limit = revision < "16" ? 12.0 : 20.0;
    return std::fabs(value) <= limit ? TRUE : FALSE;
}

LRESULT CKZARN_MainUserSettingForm::OnFlexBeginEdit(WPARAM, LPARAM itemParam)
{
    const auto* item = reinterpret_cast<const CFlexItem*>(itemParam);
    if (item != nullptr) savedValue = item->value;
    return 1;
}

LRESULT CKZARN_MainUserSettingForm::OnFlexEndEdit(WPARAM, LPARAM itemParam)
{
    auto* item = reinterpret_cast<CFlexItem*>(itemParam);
    if (item == nullptr) return 1;
    if (!item->formatText.empty() && !item->value.empty()) {
        const char decimal = DecimalChar();
        item->value = UserSettingCodec::FormatNumber(item->formatText.c_str(),
                                                     UserSettingCodec::ReadNumber(item->value, decimal), decimal);
    }
    const UserSettingItemDef* row = FindRow(item->key);
    if (row != nullptr && row->validator != nullptr && (this->*(row->validator))(item->key) == 0) {
        item->value = savedValue;
        list_->RebuildRows();
        return 1;
    }
    if (row != nullptr && row->onChange != nullptr) (this->*(row->onChange))(item->key);
    savedValue.clear();
    modified = 1;
    UpdateButtons();
    list_->RebuildRows();
    return 1;
}

void CKZARN_MainUserSettingForm::OnReset()
{
    if (itemTable == nullptr) return;
    for (CFlexItem* item : list_->GetItemList().GetItems()) item->value = item->defaultValue;
    RunAllHooks();
    list_->RebuildRows();
    modified = 1;
    UpdateButtons();
}

void CKZARN_MainUserSettingForm::OnSave()
{
    list_->CommitEdit();
    if (itemTable == nullptr) return;
    CZarnManager* facade = CZarnManager::GetInstance();
    CKZARN_LMCtrl* ctrl = facade->GetLMCtrl();
    const std::string model = facade->GetPhotometerType();
    int code = 0;
    if (model == "T-520D") {
        auto block = std::make_unique<T520TransferBlock>();
        EncodeT520(block.get());
        ctrl->SetT520Block(block.get());
        code = ZARN_CMD_T520_WRITE_USER_SETTINGS;
    } else if (UserItemsForModel(model) == UserItemsT140()) {
        auto block = std::make_unique<T140TransferBlock>();
        EncodeT140(block.get());
        ctrl->SetT140Block(block.get());
        code = ZARN_CMD_T140_WRITE_USER_SETTINGS;
    } else {
        return;
    }
    if (RunMeterCommand(code) != 0) {
        EmptyList();
        return;
    }
    modified = 0;
    UpdateButtons();
}
