// The data page of the single reference view: one table of a saved profile or one slot of a meter
// backup as a grid of 67 ISO rows (adjustment and the four limits in EV). Rows with a table of their
// own are marked. The page previews and prints what the grid shows.
#pragma once

#include "platform/qt/WindowMessageHandler.h"
#include "profilelib/ZarnLib_Profile.h"
#include "ui/views/CET_ChartData.h"
#include "ui/views/CKZARN_RefBaseForm.h"

#include <string>
#include <vector>

class CKZARN_CustomPrintDialog;
class CKZARN_DataListCtrl;
class CKZARN_RefSingleDlg;

class CKZARN_RefDataForm : public CKZARN_RefBaseForm, public WindowMessageHandler {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 149;
    static constexpr int kGridId = 1037;

    CKZARN_RefDataForm(CKZARN_RefSingleDlg* owner, QWidget* parent);
    ~CKZARN_RefDataForm() override;

    BOOL OnInitDialog() override;
    void Refresh();
    int Preview();
    int Print();
    void BuildChartData();
    void ClearChartData();
    static int OnPreviewRequest(CKZARN_CustomPrintDialog* dialog, int caller);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CKZARN_DataListCtrl* Grid() const { return grid; }
    const std::vector<CET_ChartData*>& Rows() const { return rows; }
    std::vector<std::string> Titles() const;
    const std::vector<std::string>& Headers() const { return headers; }

private:
    void BuildBackupRows();
    void BuildProfileRows();

    CKZARN_RefSingleDlg* owner;
    CKZARN_DataListCtrl* grid = nullptr;
    std::string titles[6];
    std::vector<std::string> headers;
    std::vector<CET_ChartData*> rows;
    ZarnLib_Profile profile;
};
