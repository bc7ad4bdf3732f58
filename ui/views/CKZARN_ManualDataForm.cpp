#include "ui/views/CKZARN_ManualDataForm.h"

#include "core/CKZARN_Common.h"
#include "core/CKestrinZarnApp.h"
#include "core/util/CLangTable.h"
#include "core/util/DecimalText.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/views/CKZARN_DataListCtrl.h"
#include "ui/views/CKZARN_ManualDlg.h"
#include "ui/views/ZarnViewIsoGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include <cstdio>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_ManualDataForm::kTemplateId, 0, 0, 0, 970, 470},
    {1037, 0, 0, 0, 970, 470},
    {0, 0, 0, 0, 0, 0},
};

char DecimalChar()
{
    const CKestrinZarnApp* app = CKestrinZarnApp::GetApp();
    return app != nullptr ? app->GetDecimalChar() : CCustomEdit::ApplicationDecimalChar();
}

} // namespace

CKZARN_ManualDataForm::CKZARN_ManualDataForm(CKZARN_ManualDlg* newOwner, QWidget* parent)
    : CKZARN_ManualBaseForm(kTemplateId, parent), owner(newOwner)
{
}

CKZARN_ManualDataForm::~CKZARN_ManualDataForm()
{
    // The grid goes after this object: it must not report its keys to it any more.
    if (grid != nullptr) {
        grid->removeEventFilter(this);
        grid->Editor().removeEventFilter(this);
    }
}

void CKZARN_ManualDataForm::SetCallbacks(ManualValueCallback value, ManualNotifyCallback selection,
                                         ManualNotifyCallback activation, void* context)
{
    valueCallback = value;
    selectionCallback = selection;
    activationCallback = activation;
    callbackContext = context;
}

BOOL CKZARN_ManualDataForm::OnInitDialog()
{
    CKZARN_ManualBaseForm::OnInitDialog();
    grid = new CKZARN_DataListCtrl(this);
    grid->SetEditLabels(TRUE);
    grid->installEventFilter(this);
    grid->Editor().installEventFilter(this);
    AddControl(kGridId, grid);
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    ZarnViewIsoGrid::Prepare(grid, 170);
    connect(grid, &QTableWidget::itemSelectionChanged, this, [this]() { OnGridItemChanged(); });
    return TRUE;
}

bool CKZARN_ManualDataForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && grid != nullptr && (watched == grid || watched == &grid->Editor())) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            return true;
        }
    }
    return CKZARN_ManualBaseForm::eventFilter(watched, event);
}

int CKZARN_ManualDataForm::GetSelectedIndex() const
{
    if (grid == nullptr) {
        return -1;
    }
    const QList<QTableWidgetItem*> items = grid->selectedItems();
    int first = -1;
    for (const QTableWidgetItem* item : items) {
        if (first < 0 || item->row() < first) {
            first = item->row();
        }
    }
    if (first < 0 && grid->selectionModel() != nullptr && grid->selectionModel()->hasSelection()) {
        first = grid->selectionModel()->selectedRows().isEmpty() ? -1
                                                                 : grid->selectionModel()->selectedRows().front().row();
    }
    return first;
}

const ManualRow* CKZARN_ManualDataForm::GetSelectedRow() const
{
    const int index = GetSelectedIndex();
    const auto& rows = model.Rows();
    return index >= 0 && index < static_cast<int>(rows.size()) ? &rows[static_cast<std::size_t>(index)] : nullptr;
}

int CKZARN_ManualDataForm::GetSelectedIso() const
{
    const ManualRow* row = GetSelectedRow();
    return row != nullptr ? row->iso : -1;
}

void CKZARN_ManualDataForm::SelectRow(int row)
{
    if (grid == nullptr) {
        return;
    }
    if (row < 0) {
        grid->clearSelection();
        return;
    }
    grid->selectRow(row);
}

bool CKZARN_ManualDataForm::LoadProfileRows(int loadFlag)
{
    int light = 0;
    int photo = 0;
    if (loadFlag == 1) {
        const int mode = owner != nullptr ? owner->GetMode() : 0;
        const std::string path =
            mode == 2 && owner != nullptr ? CKZARN_Common::GetProfilePath(owner->GetProfileName()) : std::string();
        if (!model.Start(mode, path)) {
            model.BuildRows(0, 0);
            return false;
        }
    } else if (owner != nullptr) {
        light = owner->GetLight();
        photo = owner->GetPhoto();
    }
    model.BuildRows(light, photo);
    return true;
}

void CKZARN_ManualDataForm::WriteRow(int r)
{
    const ManualRow& row = model.Rows()[static_cast<std::size_t>(r)];
    grid->SetItemText(r, 0, ZarnViewIsoGrid::IsoText(row.iso));
    grid->SetRowMark(r, row.rowMark);
    for (int c = 1; c <= 5; ++c) {
        grid->SetItemText(r, c, row.GetText(c - 1));
    }
}

void CKZARN_ManualDataForm::FillGrid(int loadFlag)
{
    const int selected = loadFlag == 1 ? 0 : GetSelectedIndex();
    const bool loaded = LoadProfileRows(loadFlag);
    if (grid == nullptr) {
        return;
    }
    if (model.Rows().empty()) {
        int r = 0;
        for (const int iso : CKZARN_Common::IsoTable()) {
            grid->SetItemText(r, 0, ZarnViewIsoGrid::IsoText(iso));
            for (int c = 1; c <= 5; ++c) {
                grid->SetItemText(r, c, std::string());
            }
            grid->SetRowMark(r, 0);
            ++r;
        }
    } else {
        for (int r = 0; r < static_cast<int>(model.Rows().size()); ++r) {
            WriteRow(r);
        }
    }
    SelectRow(loaded ? selected : -1);
    grid->viewport()->update();
}

void CKZARN_ManualDataForm::RefreshRows()
{
    const int light = owner != nullptr ? owner->GetLight() : 0;
    const int photo = owner != nullptr ? owner->GetPhoto() : 0;
    model.RefreshRows(light, photo);
    for (int r = 0; r < static_cast<int>(model.Rows().size()); ++r) {
        WriteRow(r);
    }
    grid->viewport()->update();
}

void CKZARN_ManualDataForm::RefreshSelectedRow()
{
    const int index = GetSelectedIndex();
    if (index >= 0 && index < static_cast<int>(model.Rows().size())) {
        WriteRow(index);
    }
}

int CKZARN_ManualDataForm::SetValue(int kind, double value, int roundFlag, int* changed)
{
    const int light = owner != nullptr ? owner->GetLight() : 0;
    const int photo = owner != nullptr ? owner->GetPhoto() : 0;
    bool beep = false;
    const int result = model.SetValue(GetSelectedIndex(), kind, value, roundFlag != 0, changed, light, photo, &beep);
    if (beep) {
        QApplication::beep();
    }
    return result;
}

int CKZARN_ManualDataForm::ResetRow()
{
    const int light = owner != nullptr ? owner->GetLight() : 0;
    const int photo = owner != nullptr ? owner->GetPhoto() : 0;
    return model.ResetRow(GetSelectedIndex(), light, photo);
}

void CKZARN_ManualDataForm::OnGridItemChanged()
{
    const int index = GetSelectedIndex();
    if (index < 0 || index == lastNotifiedRow || selectionCallback == nullptr) {
        return;
    }
    if (selectionCallback(callbackContext) != 0) {
        lastNotifiedRow = index;
    }
}

LRESULT CKZARN_ManualDataForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ZARN_GRID_EDITED) {
        return OnGridEdited(wParam, lParam);
    }
    if (message == WM_ZARN_GRID_ROW_ACTIVATED) {
        return OnGridRowActivated(wParam, lParam);
    }
    return 0;
}

LRESULT CKZARN_ManualDataForm::OnGridEdited(WPARAM /*wParam*/, LPARAM lParam)
{
    if (valueCallback == nullptr) {
        return 0;
    }
    const std::string text = grid->GetEditedText();
    double value = 0.0;
    // Only plain numbers count, with the application's decimal character or a point; an empty text
    // or a lone sign changes nothing.
    if (!CKZARN_Common::IsAsciiText(text) || !DecimalText::ParseTyped(text, DecimalChar(), &value)) {
        return 0;
    }
    return valueCallback(callbackContext, static_cast<int>(lParam), value) == 1 ? 1 : 0;
}

LRESULT CKZARN_ManualDataForm::OnGridRowActivated(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    return activationCallback != nullptr && activationCallback(callbackContext) == 1 ? 1 : 0;
}
