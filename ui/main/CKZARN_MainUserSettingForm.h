// The user-settings page (third tab): the three user lists that the T-140 family and the T-520D
// keep (20 frame rates, 20 shutter angles, 30 filters with name and compensation, each entry
// switched on or off) in a property list, read from the meter, edited as validated, normalised
// numbers, reset to the factory defaults and written back. A T-310 has no user lists: the page shows
// a notice over a disabled list. Numbers are shown and read with the application's decimal
// character. A failed read or write empties the list and forgets the table.
#pragma once

#include "platform/WinTypes.h"
#include "platform/WindowHandle.h"
#include "platform/qt/WindowMessageHandler.h"
#include "ui/main/CKZARN_MainBaseForm.h"
#include "meter/UserSettingCodec.h"
#include "ui/main/UserSettingItemDef.h"

#include <string>

class CFlexItem;
class CFlexListCtrl;
class QLabel;
class QPushButton;
struct T140TransferBlock;
struct T520TransferBlock;

class CKZARN_MainUserSettingForm : public CKZARN_MainBaseForm, public WindowMessageHandler {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 193;
    static constexpr int kListId = 1037;
    static constexpr int kSaveId = 1047;
    static constexpr int kResetId = 1245;
    static constexpr int kNoticeId = 1250;
    static constexpr int kNoticeTextId = 50119;

    explicit CKZARN_MainUserSettingForm(QWidget* parent = nullptr);
    ~CKZARN_MainUserSettingForm() override;

    // connected: 1 a meter became present, 0 it went away. Empties the list; with a meter, builds
    // the items of its table, reads the meter and runs every row's change hook.
    virtual void Refresh(int connected);
    BOOL OnMeterInfoChanged() override;
    BOOL OnExternalProgramEnded(WPARAM wParam, LPARAM lParam) override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnFlexBeginEdit(WPARAM row, LPARAM item);
    LRESULT OnFlexEndEdit(WPARAM row, LPARAM item);
    void OnSave();
    void OnReset();
    // The page is shown or hidden; a shown page brings its notice up to date.
    void OnShowWindow(BOOL show, UINT status);

    void UpdateNotice();
    void UpdateButtons();
    void BuildItems();
    void ReadFromMeter();
    void RunAllHooks();

    // Codecs over every item of the list, by its numbers (group, entry, sub); headers are skipped.
    // Decoding replaces a value only with a non-empty text.
    void DecodeT140(const T140TransferBlock& block);
    void DecodeT520(const T520TransferBlock& block);
    void EncodeT140(T140TransferBlock* block);
    void EncodeT520(T520TransferBlock* block);

    // Validators: the first item with the key; an empty value or a missing item is refused.
    BOOL ValidateFrameRate(const std::string& key);
    BOOL ValidateShutterAngle(const std::string& key);
    BOOL ValidateFilterName(const std::string& key);
    BOOL ValidateFilterCompensation(const std::string& key);

    CFlexListCtrl* GetList() const { return list_; }
    const UserSettingItemDef* GetItemTable() const { return itemTable; }
    int IsModified() const { return modified; }
    QLabel* GetNotice() const { return noticeStatic; }
    CFlexItem* FindItem(const std::string& key) const;

protected:
    BOOL OnInitDialog() override;
    void showEvent(QShowEvent* event) override;

private:
    const UserSettingItemDef* FindRow(const std::string& key) const;
    // The value of the key's item as a number, false when there is no item or its value is empty.
    bool ItemNumber(const std::string& key, double* value) const;
    int RunMeterCommand(int code);
    void EmptyList();
    void Decode(UserSettingCodec::Family family, const std::uint8_t* block);
    void Encode(UserSettingCodec::Family family, std::uint8_t* block);
    static bool IsT310(const std::string& model);

    CFlexListCtrl* list_;
    const UserSettingItemDef* itemTable = nullptr;
    int modified = 0;
    std::string savedValue;
    QLabel* noticeStatic;
    QPushButton* saveButton_;
    QPushButton* resetButton_;
    HWND handle_ = nullptr;
};
