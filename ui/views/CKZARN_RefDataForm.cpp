#include "ui/views/CKZARN_RefDataForm.h"

#include "core/CFileLockManager.h"
#include "core/CKZARN_Common.h"
#include "core/CKestrinZarnApp.h"
#include "core/ShellPathUtility.h"
#include "core/util/CLangTable.h"
#include "meter/CKZARN_TransferData.h"
#include "platform/PromptService.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "ui/controls/QtPromptService.h"
#include "ui/views/CKZARN_ChartPreviewDialog.h"
#include "ui/views/CKZARN_DataListCtrl.h"
#include "ui/views/CKZARN_RefSingleDlg.h"
#include "ui/views/ZarnPrintHost.h"
#include "ui/views/ZarnViewIsoGrid.h"

#include <cfloat>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_RefDataForm::kTemplateId, 0, 0, 0, 802, 469},
    {1037, 0, 15, 15, 950, 470},
    {0, 0, 0, 0, 0, 0},
};

constexpr int kPrintedHeaderTexts[6] = {113, 146, 122, 121, 119, 118};
constexpr COLORREF kBackground = 0xFFFFFF;
constexpr COLORREF kHeaderColour = 0xE1E1E1;

// The form whose print dialog is open: the preview button's callback finds it here.
CKZARN_RefDataForm* g_printingForm = nullptr;

} // namespace

CKZARN_RefDataForm::CKZARN_RefDataForm(CKZARN_RefSingleDlg* newOwner, QWidget* parent)
    : CKZARN_RefBaseForm(kTemplateId, parent), owner(newOwner)
{
}

CKZARN_RefDataForm::~CKZARN_RefDataForm()
{
    ClearChartData();
}

BOOL CKZARN_RefDataForm::OnInitDialog()
{
    CKZARN_RefBaseForm::OnInitDialog();
    grid = new CKZARN_DataListCtrl(this);
    // Tab moves on to the next control, as everywhere in a dialog, instead of through the cells.
    grid->setTabKeyNavigation(false);
    AddControl(kGridId, grid);
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    headers.clear();
    for (const int id : kPrintedHeaderTexts) {
        headers.push_back(GetLangString(id));
    }
    ZarnViewIsoGrid::Prepare(grid, 166);
    Refresh();
    return TRUE;
}

std::vector<std::string> CKZARN_RefDataForm::Titles() const
{
    return std::vector<std::string>(titles, titles + 6);
}

void CKZARN_RefDataForm::ClearChartData()
{
    for (CET_ChartData* row : rows) {
        delete row;
    }
    rows.clear();
}

void CKZARN_RefDataForm::BuildChartData()
{
    ClearChartData();
    titles[0] = GetLangString(100);
    titles[1] = GetLangString(104);
    titles[2] = GetLangString(108);
    titles[3].clear();
    titles[4].clear();
    titles[5].clear();
    if (owner == nullptr) {
        return;
    }
    if (owner->IsBackupMode()) {
        BuildBackupRows();
    } else {
        BuildProfileRows();
    }
}

void CKZARN_RefDataForm::BuildBackupRows()
{
    std::string path;
    int light = 0;
    int photo = 0;
    int slot = 0;
    std::string slotName;
    owner->GetBackupSelection(&path, &light, &photo, &slot, &slotName);
    CFileLockManager* locks = CFileLockManager::GetInstance();
    locks->UnlockAll();
    CKZARN_TransferData backup;
    const bool read = backup.ReadTextFile(path) == CKZARN_TransferData::FileRead::Read;
    const ProfileRow* slotRows = read ? backup.GetProfileRows(slot) : nullptr;
    if (slotRows == nullptr) {
        QtPromptService::Current().MessageBox(HWND{}, GetLangString(6044),
                                              GetLangString(CKestrinZarnApp::kMainTitleTextId),
                                              MB_OK | MB_ICONEXCLAMATION);
        ClearChartData();
        owner->EndView();
        return;
    }
    locks->Register(path);
    locks->LockAll();
    titles[3] = slotName;
    titles[4] = GetLangString(light == 0 ? 106 : 107);
    titles[5] = GetLangString(photo == 0 ? 111 : 112);
    const int group = photo * 2 + light;
    // Only the rows the meter holds: the grid, the preview and the printed page show the same.
    const int count = CKZARN_TransferData::GetRowCount(backup.GetFamily());
    int r = 0;
    for (const int iso : CKZARN_Common::IsoTable()) {
        if (r >= count) {
            break;
        }
        const ExposureRange& range = slotRows[r].group[group];
        auto* row = new CET_ChartData;
        row->iso = std::atoi(CKZARN_Common::IsoToText(iso).c_str());
        const double values[5] = {range.centre, range.cpm, range.drm, range.drp, range.cpp};
        row->hasValues = 1;
        for (int k = 0; k < 5; ++k) {
            row->values[k] = values[k];
            if (values[k] == DBL_MAX) {
                row->hasValues = 0; // the meter holds no value here
            }
        }
        if (!row->hasValues) {
            for (double& v : row->values) {
                v = 0.0;
            }
        }
        rows.push_back(row);
        ++r;
    }
    if (grid != nullptr && grid->rowCount() > count) {
        grid->setRowCount(count);
    }
}

void CKZARN_RefDataForm::BuildProfileRows()
{
    std::string path;
    int light = 0;
    int photo = 0;
    owner->GetSelection(&path, &light, &photo);
    if (path.empty()) {
        return;
    }
    CFileLockManager* locks = CFileLockManager::GetInstance();
    locks->UnlockAll();
    const ZarnLibString kpf(path.c_str());
    if (LoadProfile(&kpf, &profile) != 0) {
        profile.ClearTables();
        ClearChartData();
        return;
    }
    const std::string title = GetFileTitleFromPath(path);
    const bool isDefault = CKZARN_Common::IsDefaultProfileName(title) != 0;
    ZarnLib_PatchKey key;
    key.SetLightSource(light);
    key.SetChartKind(profile.GetChartKind());
    titles[3] = title;
    titles[4] = GetLangString(light == 0 ? 106 : 107);
    titles[5] = GetLangString(photo == 0 ? 111 : 112);
    short version = 0;
    short subVersion = 0;
    if (CKZARN_Common::ReadProfileVersion(path, &version, &subVersion) != 0) {
        ClearChartData();
        return;
    }
    for (const int iso : CKZARN_Common::IsoTable()) {
        auto* row = new CET_ChartData;
        row->iso = std::atoi(CKZARN_Common::IsoToText(iso).c_str());
        const double defaults[5] = {0.0, -3.5, -2.5, 2.5, 3.5};
        for (int k = 0; k < 5; ++k) {
            row->values[k] = subVersion == 0 ? 0.0 : defaults[k];
        }
        row->hasValues = subVersion == 0 ? 0 : 1;
        row->rowMark = isDefault ? 0 : 1;
        key.SetIso(iso);
        bool found = false;
        double extra = 0.0;
        double ev[4] = {};
        if (subVersion == 0) {
            _ZARNLIB_VECTOR2 five[5];
            if (profile.GetTablePoints(key, photo, five, &extra) == 0) {
                found = true;
            } else {
                row->rowMark = 0;
                found = profile.GetPointsForSettings(key, photo, five, &extra) == 0;
            }
            for (int k = 0; k < 4; ++k) {
                ev[k] = five[k].x;
            }
        } else {
            _ZARNLIB_VECTOR2 four[4];
            if (profile.GetTableLimits(key, photo, four, &extra) == 0) {
                found = true;
            } else {
                row->rowMark = 0;
                found = profile.GetPointsForSettingsAlt(key, photo, four, &extra) == 0;
            }
            for (int k = 0; k < 4; ++k) {
                ev[k] = four[k].x;
            }
        }
        if (found) {
            row->values[0] = extra;
            for (int k = 0; k < 4; ++k) {
                row->values[k + 1] = ev[k];
            }
            row->hasValues = 1;
        } else {
            row->rowMark = 0;
        }
        rows.push_back(row);
    }
    locks->Register(path);
    locks->LockAll();
}

void CKZARN_RefDataForm::Refresh()
{
    BuildChartData();
    if (grid == nullptr) {
        return;
    }
    if (rows.empty()) {
        int r = 0;
        for (const int iso : CKZARN_Common::IsoTable()) {
            if (r < grid->rowCount()) {
                grid->SetItemText(r, 0, ZarnViewIsoGrid::IsoText(iso));
                for (int c = 1; c <= 5; ++c) {
                    grid->SetItemText(r, c, std::string());
                }
                grid->SetRowMark(r, 0);
            }
            ++r;
        }
    } else {
        for (int r = 0; r < static_cast<int>(rows.size()) && r < grid->rowCount(); ++r) {
            const CET_ChartData& row = *rows[static_cast<std::size_t>(r)];
            grid->SetItemText(r, 0, ZarnViewIsoGrid::IsoText(row.iso));
            grid->SetRowMark(r, row.rowMark);
            for (int c = 1; c <= 5; ++c) {
                grid->SetItemText(r, c, row.GetText(c - 1));
            }
        }
    }
    grid->viewport()->update();
}

int CKZARN_RefDataForm::Preview()
{
    BuildChartData();
    CKZARN_ChartPreviewDialog preview(this);
    preview.SetChart(Titles(), headers, rows, kBackground, kHeaderColour);
    return preview.exec();
}

int CKZARN_RefDataForm::OnPreviewRequest(CKZARN_CustomPrintDialog* /*dialog*/, int /*caller*/)
{
    return g_printingForm != nullptr ? g_printingForm->Preview() : 0;
}

int CKZARN_RefDataForm::Print()
{
    BuildChartData();
    g_printingForm = this;
    const int answer =
        ZarnPrintHost::Instance().DoCustomPrintDialog(FALSE, &CKZARN_RefDataForm::OnPreviewRequest, 0, this);
    g_printingForm = nullptr;
    if (answer != IDOK) {
        return 0;
    }
    return ZarnPrintHost::Instance().PrintChartPage(Titles(), headers, rows, kBackground, kHeaderColour);
}

LRESULT CKZARN_RefDataForm::WindowProc(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    return 0; // the grid only displays here
}
