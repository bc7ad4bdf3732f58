// The grid of the manual profile entry: one row per ISO speed with the adjustment and the four
// limits in EV for the chosen light source and block. A typed value gives the profile a table of its
// own at that ISO (the row is marked); the other rows follow from the tables around them.
#pragma once

#include "platform/qt/WindowMessageHandler.h"
#include "ui/views/CKZARN_ManualBaseForm.h"
#include "ui/views/CKZARN_ManualProfileModel.h"

#include <string>

class CKZARN_DataListCtrl;
class CKZARN_ManualDlg;

// (context, column, value) -> 1 to let the grid keep the typed text.
using ManualValueCallback = int (*)(void* context, int column, double value);
// (context) -> non-zero when handled.
using ManualNotifyCallback = int (*)(void* context);

class CKZARN_ManualDataForm : public CKZARN_ManualBaseForm, public WindowMessageHandler {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 198;
    static constexpr int kGridId = 1037;

    CKZARN_ManualDataForm(CKZARN_ManualDlg* owner, QWidget* parent);
    ~CKZARN_ManualDataForm() override;

    void SetCallbacks(ManualValueCallback value, ManualNotifyCallback selection, ManualNotifyCallback activation,
                      void* context);
    BOOL OnInitDialog() override;

    void FillGrid(int loadFlag);
    // False when the profile of the edit mode could not be loaded (no rows).
    bool LoadProfileRows(int loadFlag);
    void RefreshRows();
    void RefreshSelectedRow();
    int SetValue(int kind, double value, int roundFlag, int* changed);
    int ResetRow();
    int IsProfileEmpty() const { return model.IsProfileEmpty(); }
    int Save(const std::string& path) { return model.Save(path); }

    int GetSelectedIndex() const;
    const ManualRow* GetSelectedRow() const;
    int GetSelectedIso() const;
    bool HasSelection() const { return GetSelectedIndex() >= 0; }
    // Selects a row (-1: none).
    void SelectRow(int row);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // WM_ZARN_GRID_EDITED (the column in lParam): 1 lets the grid keep the typed text.
    LRESULT OnGridEdited(WPARAM wParam, LPARAM lParam);
    // WM_ZARN_GRID_ROW_ACTIVATED: 1 when the activation callback took it.
    LRESULT OnGridRowActivated(WPARAM wParam, LPARAM lParam);
    void OnGridItemChanged();

    CKZARN_DataListCtrl* Grid() const { return grid; }
    CKZARN_ManualProfileModel& Model() { return model; }
    const std::string& Path() const { return model.Path(); }

protected:
    // Tab is dropped in the grid and in its in-place edit: it neither moves to another row nor
    // leaves the grid.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WriteRow(int row);

    CKZARN_ManualDlg* owner;
    CKZARN_DataListCtrl* grid = nullptr;
    CKZARN_ManualProfileModel model;
    ManualValueCallback valueCallback = nullptr;
    ManualNotifyCallback selectionCallback = nullptr;
    ManualNotifyCallback activationCallback = nullptr;
    void* callbackContext = nullptr;
    int lastNotifiedRow = -1;
};
