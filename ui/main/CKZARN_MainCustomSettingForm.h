// The custom-settings page (second tab): shows the custom functions of the connected meter in a
// property list, lets the user change them under their dependency rules, resets them to the factory
// defaults and writes them back. What it shows comes from compiled-in item tables, one per model
// (for the T-520D one per firmware class and radio-module variant); each item's number says which
// field of the meter's transfer block holds its value. The page never talks to the meter itself:
// reads and writes run under the progress dialog on the blocks the meter worker holds. A failed
// read or write empties the list and forgets the table, so that stale values cannot be written.
#pragma once

#include "platform/WinTypes.h"
#include "platform/WindowHandle.h"
#include "platform/qt/WindowMessageHandler.h"
#include "ui/main/CKZARN_MainBaseForm.h"
#include "ui/main/CustomSettingItemDef.h"

#include <cstdint>
#include <span>
#include <string>

class CFlexItem;
class CFlexListCtrl;
class QPushButton;
struct T140TransferBlock;
struct T310TransferBlock;
struct T520TransferBlock;

class CKZARN_MainCustomSettingForm : public CKZARN_MainBaseForm, public WindowMessageHandler {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 194;
    static constexpr int kListId = 1037;
    static constexpr int kSaveId = 1047;
    static constexpr int kResetId = 1245;

    // One bit field of the T-310's custom-setting words: word 0 is A (offset 32), 1 is B (34).
    struct T310Field {
        int item;
        int word;
        int firstBit;
        int width;
    };
    static std::span<const T310Field> T310Fields();
    // The transfer-block byte of a T-140 or T-520D item number, or -1 when the block has none.
    static int T140CustomByte(int number);
    static int T520CustomByte(int number);
    // The table for a meter; NULL when none applies. The revision compares with "16" as bytes.
    static const CustomSettingItemDef* ChooseTable(const std::string& model, const std::string& revision,
                                                   int moduleStatus, int moduleVariant);

    explicit CKZARN_MainCustomSettingForm(QWidget* parent = nullptr);
    ~CKZARN_MainCustomSettingForm() override;

    // connected: 1 a meter became present, 0 it went away. Empties the list; with a meter, builds
    // the items of its table, reads the meter and runs every rule.
    virtual void Refresh(int connected);
    BOOL OnExternalProgramEnded(WPARAM wParam, LPARAM lParam) override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnFlexBeginEdit(WPARAM row, LPARAM item);
    LRESULT OnFlexEndEdit(WPARAM row, LPARAM item);
    void OnSave();
    void OnReset();

    void BuildItems();
    void ReadFromMeter();
    void RunAllRules();
    void UpdateButtons();

    // Block codecs over every item of the list. Decoding sets the value of each item whose number
    // has a field ("%d"); encoding writes every item, shown or not, enabled or not.
    void DecodeT310(const T310TransferBlock& block);
    void DecodeT140(const T140TransferBlock& block);
    void DecodeT520(const T520TransferBlock& block);
    void EncodeT310(T310TransferBlock* block);
    void EncodeT140(T140TransferBlock* block);
    void EncodeT520(T520TransferBlock* block);

    // Dependency rules, each returning 1.
    int RuleAMLM();
    int RuleFLLM();
    int RuleEWTM();
    int RuleHSSM();
    int RuleFLKM();
    int RuleILLUUS();
    int RuleNone();

    CFlexListCtrl* GetList() const { return list_; }
    const CustomSettingItemDef* GetItemTable() const { return itemTable; }
    int IsModified() const { return modified; }

protected:
    BOOL OnInitDialog() override;

private:
    CFlexItem* FindItem(const std::string& key) const;
    // "0" tests: a missing item counts as not "0".
    bool IsZero(const std::string& key) const;
    void SetEnabled(const std::string& key, bool enabled);
    const CustomSettingItemDef* FindRow(const std::string& key) const;
    // Runs a read or write command under the progress dialog; its error code.
    int RunMeterCommand(int code);
    void EmptyList();

    CFlexListCtrl* list_;
    const CustomSettingItemDef* itemTable = nullptr;
    std::string savedValue;
    int modified = 0;
    // Byte 63 of the T-520D block as last decoded: sent back unchanged by a table that has neither
    // item 19 nor item 33.
    std::uint8_t secondRtsByte_ = 0;
    QPushButton* saveButton_;
    QPushButton* resetButton_;
    HWND handle_ = nullptr;
};
