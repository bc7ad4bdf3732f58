#include "ui/main/CKZARN_MainCustomSettingForm.h"

#include "core/CKZARN_Common.h"
#include "meter/CCommT520.h"
#include "meter/CKZARN_LMCtrl.h"
#include "meter/CZarnCommand.h"
#include "meter/T140TransferBlock.h"
#include "meter/T310TransferBlock.h"
#include "meter/T520TransferBlock.h"
#include "platform/qt/QtMessageSink.h"
#include "ui/controls/CFlexBoolItem.h"
#include "ui/controls/CFlexDirectItem.h"
#include "ui/controls/CFlexItem.h"
#include "ui/controls/CFlexListCtrl.h"
#include "ui/controls/CFlexSelectItem.h"
#include "ui/controls/FlexListMessages.h"
#include "ui/main/MeterSettingPageTools.h"
#include "ui/meter/CZarnManager.h"

#include <QPushButton>

#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {194, 0, 0, 0, 545, 680},
    {1037, 0, 15, 15, 505, 530},
    {1047, 28001, 420, 550, 100, 35},
    {1245, 28004, 15, 550, 100, 35},
    {0, 0, 0, 0, 0, 0},
};

constexpr CKZARN_MainCustomSettingForm::T310Field kT310Fields[] = {
    {1, 0, 0, 2},  {2, 0, 2, 1},  {3, 0, 3, 2},  {4, 0, 5, 2},  {5, 0, 7, 1},  {6, 0, 8, 1},
    {7, 0, 9, 2},  {8, 0, 11, 2}, {9, 0, 13, 1}, {10, 0, 14, 1}, {11, 1, 0, 2}, {12, 1, 2, 1},
    {13, 1, 3, 1}, {14, 1, 4, 2}, {15, 1, 6, 2}, {16, 1, 8, 2},  {17, 1, 10, 2},
};

// The T-520D byte that carries item 19's value a second time (the field of item 33).
constexpr std::size_t kT520SecondRtsByte = 63;

enum class Family { None, T310, T140, T520 };

Family FamilyOf(const std::string& model)
{
    if (model == "T-310D/DR" || model == "T-310CINE") {
        return Family::T310;
    }
    if (model == "T-140D" || model == "T-140DR" || model == "T-140DR-EL" || model == "T-140DR-PX") {
        return Family::T140;
    }
    if (model == "T-520D") {
        return Family::T520;
    }
    return Family::None;
}

// The C library's decimal text-to-int conversion: leading blanks, a sign and digits; text that is
// not a number gives 0. Out-of-range numbers are held at the int limits rather than overflowing.
int TextToInt(const std::string& text)
{
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string NumberText(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return text;
}

} // namespace

std::span<const CKZARN_MainCustomSettingForm::T310Field> CKZARN_MainCustomSettingForm::T310Fields()
{
    return kT310Fields;
}

int CKZARN_MainCustomSettingForm::T140CustomByte(int number)
{
    if (number >= 1 && number <= 4) return 31 + number;
    if (number >= 6 && number <= 24) return 30 + number;
    return -1;
}

int CKZARN_MainCustomSettingForm::T520CustomByte(int number)
{
    if (number >= 1 && number <= 4) return 31 + number;
    if (number >= 6 && number <= 35) return 30 + number;
    return -1;
}

const CustomSettingItemDef* CKZARN_MainCustomSettingForm::ChooseTable(const std::string& model,
                                                                      const std::string& revision, int moduleStatus,
                                                                      int moduleVariant)
{
    if (model == "T-310D/DR") return CustomItemsT310DR;
    if (model == "T-310CINE") return CustomItemsT310Cine;
    if (model == "T-140D") return CustomItemsT140D;
    if (model == "T-140DR") return CustomItemsT140DR;
    if (model == "T-140DR-EL") return CustomItemsT140DREL;
    if (model == "T-140DR-PX") return CustomItemsT140DRPX;
    if (model != "T-520D") return nullptr;
    const bool module = moduleStatus == 1;
    if (revision < "16") {
        if (module && (moduleVariant == 1 || moduleVariant == 2)) return CustomItemsT520B;
        if (module && moduleVariant == 3) return CustomItemsT520C;
        return CustomItemsT520A;
    }
    if (module && (moduleVariant == 1 || moduleVariant == 2)) return CustomItemsT520E;
    if (module && moduleVariant == 3) return CustomItemsT520F;
    if (module && moduleVariant == 4) return CustomItemsT520G;
    if (module && moduleVariant == 5) return CustomItemsT520H;
    return CustomItemsT520D;
}

CKZARN_MainCustomSettingForm::CKZARN_MainCustomSettingForm(QWidget* parent)
    : CKZARN_MainBaseForm(kTemplateId, parent),
      list_(new CFlexListCtrl(this)),
      saveButton_(new QPushButton(this)),
      resetButton_(new QPushButton(this))
{
    AddControl(kListId, list_);
    AddControl(kSaveId, saveButton_);
    AddControl(kResetId, resetButton_);
    handle_ = QtMessageSink::Instance().Register(this, this);
    connect(saveButton_, &QPushButton::clicked, this, [this] { OnSave(); });
    connect(resetButton_, &QPushButton::clicked, this, [this] { OnReset(); });
}

CKZARN_MainCustomSettingForm::~CKZARN_MainCustomSettingForm()
{
    QtMessageSink::Instance().Unregister(handle_);
}

BOOL CKZARN_MainCustomSettingForm::OnInitDialog()
{
    CKZARN_MainBaseForm::OnInitDialog();
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    modified = 0;
    UpdateButtons();
    list_->Initialize();
    return TRUE;
}

LRESULT CKZARN_MainCustomSettingForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_FLEX_ENDEDIT: return OnFlexEndEdit(wParam, lParam);
    case WM_FLEX_BEGINEDIT: return OnFlexBeginEdit(wParam, lParam);
    default: return 0;
    }
}

void CKZARN_MainCustomSettingForm::EmptyList()
{
    list_->ClearItems();
    itemTable = nullptr;
    list_->RebuildRows();
}

void CKZARN_MainCustomSettingForm::Refresh(int connected)
{
    modified = 0;
    UpdateButtons();
    list_->ClearItems();
    itemTable = nullptr;
    if (connected != 0) {
        BuildItems();
        ReadFromMeter();
        RunAllRules();
    }
    list_->RebuildRows();
}

BOOL CKZARN_MainCustomSettingForm::OnExternalProgramEnded(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    modified = 0;
    UpdateButtons();
    EmptyList();
    return TRUE;
}

void CKZARN_MainCustomSettingForm::BuildItems()
{
    CZarnManager* facade = CZarnManager::GetInstance();
    itemTable = ChooseTable(facade->GetPhotometerType(), facade->GetMeterRevision(), g_T520ModuleStatus.load(),
                            g_T520ModuleVariant.load());
    if (itemTable == nullptr) {
        return;
    }
    CFlexItemList& items = list_->GetItemList();
    for (const CustomSettingItemDef* row = itemTable; row->captionTextId != 0; ++row) {
        CFlexItem* item = nullptr;
        switch (row->itemType) {
        case CFlexItem::kBool: item = new CFlexBoolItem; break;
        case CFlexItem::kDirect: {
            auto* direct = new CFlexDirectItem;
            direct->editMode = row->editMode;
            item = direct;
            break;
        }
        case CFlexItem::kSelect: {
            auto* select = new CFlexSelectItem;
            // At most six choices: a full row has no empty pair after its last choice.
            for (const CustomSettingChoice& choice : row->choices) {
                if (choice.textId == 0) {
                    break;
                }
                select->GetChoiceList().Add(choice.textId, choice.value);
            }
            item = select;
            break;
        }
        default: item = new CFlexItem; break;
        }
        item->key = row->key;
        item->captionTextId = row->captionTextId;
        item->level = row->level;
        item->numbers = {row->number, row->number2, row->number3};
        item->defaultValue = row->defaultValue;
        item->value = row->defaultValue;
        item->enabled = row->enabled;
        item->greyWhenDisabled = row->greyWhenDisabled;
        item->visible = row->visible;
        if (row->hasChildren == 1) {
            item->expanded = 0;
        }
        items.Add(item, row->hasChildren);
    }
}

int CKZARN_MainCustomSettingForm::RunMeterCommand(int code)
{
    return MeterSettingPageTools::RunMeterCommand(code);
}

void CKZARN_MainCustomSettingForm::ReadFromMeter()
{
    if (itemTable == nullptr) {
        return;
    }
    CZarnManager* facade = CZarnManager::GetInstance();
    const Family family = FamilyOf(facade->GetPhotometerType());
    const int code = family == Family::T310   ? ZARN_CMD_T310_READ_CUSTOM
                     : family == Family::T140 ? ZARN_CMD_T140_READ_CUSTOM
                     : family == Family::T520 ? ZARN_CMD_T520_READ_CUSTOM
                                              : 0;
    if (code == 0) {
        return;
    }
    if (RunMeterCommand(code) != 0) {
        EmptyList();
        return;
    }
    CKZARN_LMCtrl* ctrl = facade->GetLMCtrl();
    switch (family) {
    case Family::T310: {
        auto block = std::make_unique<T310TransferBlock>();
        ctrl->GetT310Block(block.get());
        DecodeT310(*block);
        break;
    }
    case Family::T140: {
        auto block = std::make_unique<T140TransferBlock>();
        ctrl->GetT140Block(block.get());
        DecodeT140(*block);
        break;
    }
    case Family::T520: {
        auto block = std::make_unique<T520TransferBlock>();
        ctrl->GetT520Block(block.get());
        DecodeT520(*block);
        break;
    }
    case Family::None: break;
    }
}

void CKZARN_MainCustomSettingForm::RunAllRules()
{
    if (itemTable == nullptr) {
        return;
    }
    for (const CustomSettingItemDef* row = itemTable; row->captionTextId != 0; ++row) {
        if (row->rule != nullptr) {
            (this->*(row->rule))();
        }
    }
}

void CKZARN_MainCustomSettingForm::UpdateButtons()
{
    saveButton_->setEnabled(modified != 0);
    // Reset needs a connected meter of any family.
    resetButton_->setEnabled(MeterSettingPageTools::AnyMeterConnected());
}

const CustomSettingItemDef* CKZARN_MainCustomSettingForm::FindRow(const std::string& key) const
{
    if (itemTable == nullptr) {
        return nullptr;
    }
    for (const CustomSettingItemDef* row = itemTable; row->captionTextId != 0; ++row) {
        if (key == row->key) {
            return row;
        }
    }
    return nullptr;
}

LRESULT CKZARN_MainCustomSettingForm::OnFlexBeginEdit(WPARAM /*row*/, LPARAM itemParam)
{
    const auto* item = reinterpret_cast<const CFlexItem*>(itemParam);
    if (item != nullptr) {
        savedValue = item->value;
    }
    return 1;
}

LRESULT CKZARN_MainCustomSettingForm::OnFlexEndEdit(WPARAM /*row*/, LPARAM itemParam)
{
    auto* item = reinterpret_cast<CFlexItem*>(itemParam);
    if (item == nullptr) {
        return 1;
    }
    const CustomSettingItemDef* row = FindRow(item->key);
    if (row != nullptr && row->validator != nullptr && (this->*(row->validator))(item->key) == 0) {
        item->value = savedValue;
        list_->RebuildRows();
        return 1;
    }
    if (row != nullptr && row->rule != nullptr) {
        (this->*(row->rule))();
    }
    savedValue.clear();
    modified = 1;
    UpdateButtons();
    list_->RebuildRows();
    return 1;
}

void CKZARN_MainCustomSettingForm::OnReset()
{
    if (itemTable == nullptr) {
        return;
    }
    for (CFlexItem* item : list_->GetItemList().GetItems()) {
        item->value = item->defaultValue;
    }
    RunAllRules();
    list_->RebuildRows();
    modified = 1;
    UpdateButtons();
}

void CKZARN_MainCustomSettingForm::OnSave()
{
    list_->CommitEdit();
    if (itemTable == nullptr) {
        return;
    }
    CZarnManager* facade = CZarnManager::GetInstance();
    CKZARN_LMCtrl* ctrl = facade->GetLMCtrl();
    int code = 0;
    switch (FamilyOf(facade->GetPhotometerType())) {
    case Family::T310: {
        auto block = std::make_unique<T310TransferBlock>();
        EncodeT310(block.get());
        ctrl->SetT310Block(block.get());
        code = ZARN_CMD_T310_WRITE_CUSTOM;
        break;
    }
    case Family::T140: {
        auto block = std::make_unique<T140TransferBlock>();
        EncodeT140(block.get());
        ctrl->SetT140Block(block.get());
        code = ZARN_CMD_T140_WRITE_CUSTOM;
        break;
    }
    case Family::T520: {
        auto block = std::make_unique<T520TransferBlock>();
        EncodeT520(block.get());
        ctrl->SetT520Block(block.get());
        code = ZARN_CMD_T520_WRITE_CUSTOM;
        break;
    }
    case Family::None: return;
    }
    if (RunMeterCommand(code) != 0) {
        EmptyList();
        return;
    }
    modified = 0;
    UpdateButtons();
}

void CKZARN_MainCustomSettingForm::DecodeT310(const T310TransferBlock& block)
{
    const std::array<unsigned, 2> words = {block.GetWord(T310TransferBlock::kCustom),
                                           block.GetWord(T310TransferBlock::kCustom + 2)};
    for (CFlexItem* item : list_->GetItemList().GetItems()) {
        for (const T310Field& field : kT310Fields) {
            if (field.item == item->numbers[0]) {
                const unsigned mask = (1u << field.width) - 1u;
                item->value = NumberText((words[static_cast<std::size_t>(field.word)] >> field.firstBit) & mask);
                break;
            }
        }
    }
}

void CKZARN_MainCustomSettingForm::DecodeT140(const T140TransferBlock& block)
{
    for (CFlexItem* item : list_->GetItemList().GetItems()) {
        const int byte = T140CustomByte(item->numbers[0]);
        if (byte >= 0) {
            item->value = NumberText(block.bytes[static_cast<std::size_t>(byte)]);
        }
    }
}

void CKZARN_MainCustomSettingForm::DecodeT520(const T520TransferBlock& block)
{
    secondRtsByte_ = block.bytes[kT520SecondRtsByte];
    for (CFlexItem* item : list_->GetItemList().GetItems()) {
        const int byte = T520CustomByte(item->numbers[0]);
        if (byte >= 0) {
            item->value = NumberText(block.bytes[static_cast<std::size_t>(byte)]);
        }
    }
}

void CKZARN_MainCustomSettingForm::EncodeT310(T310TransferBlock* block)
{
    std::array<unsigned, 2> words = {0, 0};
    for (const CFlexItem* item : list_->GetItemList().GetItems()) {
        for (const T310Field& field : kT310Fields) {
            if (field.item == item->numbers[0]) {
                const unsigned mask = (1u << field.width) - 1u;
                const unsigned value = static_cast<unsigned>(TextToInt(item->value)) & mask;
                unsigned& word = words[static_cast<std::size_t>(field.word)];
                word = (word & ~(mask << field.firstBit)) | (value << field.firstBit);
                break;
            }
        }
    }
    block->SetWord(T310TransferBlock::kCustom, static_cast<std::uint16_t>(words[0]));
    block->SetWord(T310TransferBlock::kCustom + 2, static_cast<std::uint16_t>(words[1]));
}

void CKZARN_MainCustomSettingForm::EncodeT140(T140TransferBlock* block)
{
    for (const CFlexItem* item : list_->GetItemList().GetItems()) {
        const int byte = T140CustomByte(item->numbers[0]);
        if (byte >= 0) {
            block->bytes[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(TextToInt(item->value) & 0xFF);
        }
    }
}

void CKZARN_MainCustomSettingForm::EncodeT520(T520TransferBlock* block)
{
    // Byte 63 is the field of item 33 and also carries item 19. A table with neither item sends it
    // back as the meter gave it, rather than a zero that would change the meter's setting.
    block->bytes[kT520SecondRtsByte] = secondRtsByte_;
    const CFlexItem* item19 = nullptr;
    for (const CFlexItem* item : list_->GetItemList().GetItems()) {
        const int byte = T520CustomByte(item->numbers[0]);
        if (byte >= 0) {
            block->bytes[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(TextToInt(item->value) & 0xFF);
        }
        if (item->numbers[0] == 19 && item19 == nullptr) {
            item19 = item;
        }
    }
    // The meter reads item 19 from both of its bytes; only a table that holds item 19 writes the
    // second one.
    if (item19 != nullptr) {
        block->bytes[kT520SecondRtsByte] = static_cast<std::uint8_t>(TextToInt(item19->value) & 0xFF);
    }
}

CFlexItem* CKZARN_MainCustomSettingForm::FindItem(const std::string& key) const
{
    return MeterSettingPageTools::FindItem(list_, key);
}

bool CKZARN_MainCustomSettingForm::IsZero(const std::string& key) const
{
    const CFlexItem* item = FindItem(key);
    return item != nullptr && item->value == "0";
}

void CKZARN_MainCustomSettingForm::SetEnabled(const std::string& key, bool enabled)
{
    if (CFlexItem* item = FindItem(key)) {
        item->enabled = enabled ? 1 : 0;
    }
}

int CKZARN_MainCustomSettingForm::RuleAMLM()
{
    const bool on = IsZero("AMLM");
    for (const char* key : {"TPM", "FPM", "TFPM", "CICAM", "HDCCM", "ILLUIDM2"}) {
        SetEnabled(key, on);
    }
    return 1;
}

int CKZARN_MainCustomSettingForm::RuleFLLM()
{
    const bool on = IsZero("FLLM");
    for (const char* key : {"CLM", "CIM", "EWTM", "ADDM"}) {
        SetEnabled(key, on);
    }
    if (FindItem("EWTM") != nullptr) {
        SetEnabled("RTS", on && IsZero("EWTM"));
    }
    return 1;
}

int CKZARN_MainCustomSettingForm::RuleEWTM()
{
    SetEnabled("RTS", IsZero("FLLM") && IsZero("EWTM"));
    return 1;
}

int CKZARN_MainCustomSettingForm::RuleHSSM()
{
    const bool on = IsZero("HSSM");
    SetEnabled("HSSS", on);
    SetEnabled("HSSD", on);
    return 1;
}

int CKZARN_MainCustomSettingForm::RuleFLKM()
{
    const bool on = IsZero("FLKM");
    for (const char* key : {"FLKC", "FLKS", "FLKD"}) {
        SetEnabled(key, on);
    }
    return 1;
}

int CKZARN_MainCustomSettingForm::RuleILLUUS()
{
    if (CZarnManager::GetInstance()->GetMeterState() == 2) {
        if (CFlexItem* item = FindItem("ILLUUS")) {
            item->enabled = 0;
            item->visible = 0;
        }
    }
    return 1;
}

int CKZARN_MainCustomSettingForm::RuleNone() { return 1; }
