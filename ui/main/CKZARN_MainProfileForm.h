// The profile page (first tab): the PC profiles, the send list (the meter's slots the user assigns
// PC profiles to before sending them) and the meter's own profile names, side by side. Profiles are
// assigned with ">>" or by dragging, send-list rows cleared with Clear, PC profiles renamed in place
// and deleted from the context menu. The buttons start NEW, REF, EDIT and TX.
#pragma once

#include "platform/qt/WindowMessageHandler.h"
#include "ui/main/CKZARN_MainBaseForm.h"

#include <QFont>

#include <optional>
#include <string>
#include <vector>

class CKZARN_ProfileListCtrl;
class CKZARN_TransferData;
class CStaticIcon;
class QGroupBox;
class QMenu;
class QPushButton;

class CKZARN_MainProfileForm : public CKZARN_MainBaseForm, public WindowMessageHandler {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 192;
    static constexpr int IDC_TX = 1012;
    static constexpr int IDC_REF = 1010;
    static constexpr int IDC_NEW = 1009;
    static constexpr int IDC_EDIT = 1011;
    static constexpr int IDC_PC_GROUP = 1023;
    static constexpr int IDC_SEND_GROUP = 1024;
    static constexpr int IDC_METER_GROUP = 1022;
    static constexpr int IDC_ASSIGN = 1003;
    static constexpr int IDC_CLEAR = 1007;
    static constexpr int IDC_PC_LIST = 1002;
    static constexpr int IDC_SEND_LIST = 1006;
    static constexpr int IDC_METER_LIST = 1014;
    static constexpr int IDC_PC_HEADING = 1000;
    static constexpr int IDC_SEND_HEADING = 1001;
    static constexpr int IDC_METER_HEADING = 1021;
    static constexpr int IDC_BACK = 1004;
    static constexpr int IDC_UP = 1008;
    static constexpr int IDC_DOWN = 1005;
    static constexpr UINT ID_PROFILE_DELETE_ITEM = 32794;
    static constexpr UINT ID_PROFILE_RENAME_ITEM = 32795;

    explicit CKZARN_MainProfileForm(QWidget* parent = nullptr);
    ~CKZARN_MainProfileForm() override;

    // The page's NEW, REF, EDIT and TX buttons; the main window's menu and keys run the same.
    virtual void OnBnClickedNew();
    virtual void OnBnClickedRef();
    virtual void OnBnClickedEdit();
    virtual void OnBnClickedTx();
    // TRUE when the send list holds something the connected meter can take (never while a child
    // program has the meter).
    virtual BOOL CanTransmit();
    // FALSE when the meter's names could not be read (the list stays as it was).
    virtual BOOL RefreshMeterList();
    // Reads the Profile folder into the PC list again and empties the send-list slots whose profile
    // is gone.
    virtual BOOL RefreshPcList();
    // The send-list slots of a renamed profile take its new name.
    void FollowRename(const std::string& oldName, const std::string& newName);
    void UpdateAssignButton();
    void UpdateMeterButtons();
    void ResetList(CKZARN_ProfileListCtrl* list, int rows);
    // Fills the table from the send list; the mask of the slots to write (0: nothing to send).
    int BuildTransfer(CKZARN_TransferData* table);

    void OnBnClickedAssign();
    void OnBnClickedClear();
    // The context menu's delete and rename of the selected PC profile, and their enabling.
    void OnDeleteProfile();
    void OnRenameProfile();
    BOOL IsItemCommandEnabled() const;
    LRESULT OnProfileDropped(WPARAM wParam, LPARAM lParam);
    // The end of an in-place rename: no value when it was cancelled.
    void OnEndLabelEdit(int item, const std::optional<std::string>& text);

    BOOL OnMeterInfoChanged() override;
    BOOL OnExternalProgramStarting(const std::string& program, const std::string& arguments) override;
    BOOL OnExternalProgramEnded(WPARAM wParam, LPARAM lParam) override;
    BOOL AcceptsReturnKey() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CKZARN_ProfileListCtrl* PcList() const { return pcList_; }
    CKZARN_ProfileListCtrl* SendList() const { return sendList_; }
    CKZARN_ProfileListCtrl* MeterList() const { return meterList_; }
    QPushButton* Button(int id) const;
    const std::string& StartingName() const { return startingName_; }
    // The context menu of the PC list at a global point (built fresh, not run); the caller owns it.
    QMenu* MakeContextMenu();

protected:
    BOOL OnInitDialog() override;
    void showEvent(QShowEvent* event) override;

private:
    void ShowContextMenu(QPoint listPoint);
    void Exclaim(const std::string& text, UINT icon);
    // The first connected family (0 T-310, 1 T-140, 2 T-520), -1 with none.
    static int ConnectedFamily();
    void FillMeterList(const std::vector<std::string>& names);
    void EmptyMissingSlots();

    QPushButton* tx_;
    QPushButton* ref_;
    QPushButton* new_;
    QPushButton* edit_;
    QGroupBox* pcGroup_;
    QGroupBox* sendGroup_;
    QGroupBox* meterGroup_;
    QPushButton* assign_;
    QPushButton* clear_;
    CKZARN_ProfileListCtrl* pcList_;
    CKZARN_ProfileListCtrl* sendList_;
    CKZARN_ProfileListCtrl* meterList_;
    QFont headingFont_;
    CStaticIcon* pcHeading_;
    CStaticIcon* sendHeading_;
    CStaticIcon* meterHeading_;
    std::string startingName_;
    bool shownBefore_ = false;
};
