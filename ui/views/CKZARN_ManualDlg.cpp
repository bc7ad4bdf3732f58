#include "ui/views/CKZARN_ManualDlg.h"

#include "core/CKZARN_Common.h"
#include "core/CKestrinZarnApp.h"
#include "core/ZarnMainWindow.h"
#include "core/ZarnProfileMessages.h"
#include "core/util/CLangTable.h"
#include "platform/PromptService.h"
#include "platform/qt/WindowMessageEvent.h"
#include "ui/controls/QtPromptService.h"
#include "ui/views/CKZARN_DataListCtrl.h"
#include "ui/views/CKZARN_ManualDataForm.h"
#include "ui/views/CKZARN_ManualGraphForm.h"
#include "ui/views/CKZARN_ProfileFileSaver.h"
#include "ui/views/CKZARN_SaveNameChooser.h"

#include "ui/views/ZarnViewLayout.h"
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_ManualDlg::kTemplateId, 3500, 0, 0, 1025, 720},
    {1072, 105, 10, 63, 150, 13},
    {1118, 0, 170, 60, 115, 180},
    {1115, 108, 10, 98, 150, 13},
    {1119, 0, 170, 95, 115, 180},
    {1049, 11, 10, 645, 105, 23},
    {1047, 3501, 142, 645, 105, 23},
    {0, 0, 0, 0, 0, 0},
};

constexpr ComboTextItem kLightItems[] = {{106, 0}, {107, 1}, {0, 0}};
constexpr ComboTextItem kPhotoItems[] = {{111, 0}, {112, 1}, {0, 0}};
constexpr int kAskSaveTextId = 3041;
constexpr int kAskResetTextId = 3502;
constexpr int kReadOnlyTextId = 20003;
constexpr int kSaveFailedTextId = 20004;

std::string Caption()
{
    return GetLangString(CKestrinZarnApp::kMainTitleTextId);
}

} // namespace

CKZARN_ManualDlg::CKZARN_ManualDlg(QWidget* parent) : CKZARN_ModalBaseDlg(kTemplateId, parent)
{
    askSaveName = [this](std::string* chosen) { return CKZARN_SaveNameChooser::Ask(this, std::string(), chosen); };
}

CKZARN_ManualDlg::~CKZARN_ManualDlg() = default;

void CKZARN_ManualDlg::SetMode(int newMode)
{
    if (!initialised && (newMode == 0 || newMode == 2)) {
        mode = newMode;
    }
}

int CKZARN_ManualDlg::exec()
{
    OnInitDialog();
    if (endRequested) {
        setResult(IDOK);
        return IDOK;
    }
    return QDialog::exec();
}

BOOL CKZARN_ManualDlg::OnInitDialog()
{
    if (initialised) {
        return TRUE;
    }
    initialised = true;
    InitForms();
    return TRUE;
}

void CKZARN_ManualDlg::InitForms()
{
    AddControl(1072, new QLabel(this));
    AddControl(1115, new QLabel(this));
    lightCombo = new QComboBox(this);
    photoCombo = new QComboBox(this);
    AddControl(1118, lightCombo);
    AddControl(1119, photoCombo);
    auto* cancel = new QPushButton(this);
    saveButton = new QPushButton(this);
    cancel->setAutoDefault(false);
    saveButton->setAutoDefault(false);
    AddControl(kCancelId, cancel);
    AddControl(kSaveId, saveButton);
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    ZarnViewLayout::FitComboHeights(this);

    dataForm = new CKZARN_ManualDataForm(this, this);
    dataForm->SetCallbacks(&CKZARN_ManualDlg::OnGridValue, &CKZARN_ManualDlg::OnRedrawGraph,
                           &CKZARN_ManualDlg::OnRowActivated, this);
    dataForm->OnInitDialog();
    dataForm->show();
    graphForm = new CKZARN_ManualGraphForm(this, this);
    graphForm->SetMarkerCallback(&CKZARN_ManualDlg::OnMarkerMoved, this);
    graphForm->OnInitDialog();
    graphForm->show();
    graphForm->setGeometry(300, 10, 690, 125);
    dataForm->setGeometry(20, 150, 970, 470);

    CKZARN_Common::FillComboFromTable(lightCombo, kLightItems);
    CKZARN_Common::SelectComboItemByData(lightCombo, 0);
    CKZARN_Common::FillComboFromTable(photoCombo, kPhotoItems);
    CKZARN_Common::SelectComboItemByData(photoCombo, 0);

    connect(lightCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { OnLightChange(); });
    connect(photoCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { OnPhotoChange(); });
    connect(cancel, &QPushButton::clicked, this, [this]() { OnCancel(); });
    connect(saveButton, &QPushButton::clicked, this, [this]() { OnSave(); });

    dataForm->FillGrid(1);
    RedrawGraph();
    saveButton->setEnabled(false);
    if (mode == 2 && !dataForm->Model().IsLoaded()) {
        // Nothing of a profile that did not load may be edited or written over it.
        QtPromptService::Current().MessageBox(HWND{}, CKZARN_Common::CannotLoadProfileText(profileName), Caption(),
                                              MB_OK | MB_ICONEXCLAMATION);
        endRequested = true;
        done(IDOK);
    }
}

int CKZARN_ManualDlg::GetLight() const
{
    return lightCombo != nullptr ? CKZARN_Common::GetComboItemData(lightCombo, lightCombo->currentIndex()) : 0;
}

int CKZARN_ManualDlg::GetPhoto() const
{
    return photoCombo != nullptr ? CKZARN_Common::GetComboItemData(photoCombo, photoCombo->currentIndex()) : 0;
}

int CKZARN_ManualDlg::GetSelectedIso() const
{
    return dataForm != nullptr ? dataForm->GetSelectedIso() : -1;
}

void CKZARN_ManualDlg::GetSelectedRowPoints(CharacteristicPoints* out) const
{
    if (out == nullptr) {
        return;
    }
    out->SetDefaults();
    const ManualRow* row = dataForm != nullptr ? dataForm->GetSelectedRow() : nullptr;
    if (row == nullptr) {
        return;
    }
    out->ev[CharacteristicPoints::kCPM] = row->values[1];
    out->ev[CharacteristicPoints::kDRM] = row->values[2];
    out->ev[CharacteristicPoints::kCNT] = row->further;
    out->ev[CharacteristicPoints::kDRP] = row->values[3];
    out->ev[CharacteristicPoints::kCPP] = row->values[4];
    out->further = row->values[0];
    out->level[CharacteristicPoints::kCPM] = row->ints[1];
    out->level[CharacteristicPoints::kDRM] = row->ints[2];
    out->level[CharacteristicPoints::kDRP] = row->ints[3];
    out->level[CharacteristicPoints::kCPP] = row->ints[4];
    out->level[CharacteristicPoints::kCNT] = row->ints[5];
}

void CKZARN_ManualDlg::RedrawGraph()
{
    if (graphForm != nullptr) {
        graphForm->Redraw();
    }
}

void CKZARN_ManualDlg::AfterAcceptedChange()
{
    const int index = dataForm->GetSelectedIndex();
    if (index >= 0) {
        dataForm->Model().Rows()[static_cast<std::size_t>(index)].rowMark = 1;
    }
    modified = 1;
    dataForm->RefreshRows();
    saveButton->setEnabled(true);
}

int CKZARN_ManualDlg::OnGridValue(void* context, int column, double value)
{
    auto* dialog = static_cast<CKZARN_ManualDlg*>(context);
    if (dialog == nullptr || column < 1 || column > 5 || dialog->graphForm == nullptr || dialog->dataForm == nullptr) {
        return 0;
    }
    int changed = 0;
    const int result = dialog->dataForm->SetValue(column - 1, value, 1, &changed);
    if (result != 0) {
        dialog->dataForm->RefreshSelectedRow();
    } else if (changed) {
        dialog->AfterAcceptedChange();
    }
    dialog->RedrawGraph();
    return 0;
}

int CKZARN_ManualDlg::OnRedrawGraph(void* context)
{
    auto* dialog = static_cast<CKZARN_ManualDlg*>(context);
    if (dialog == nullptr || dialog->graphForm == nullptr) {
        return 0;
    }
    dialog->RedrawGraph();
    return 1;
}

int CKZARN_ManualDlg::OnRowActivated(void* context)
{
    auto* dialog = static_cast<CKZARN_ManualDlg*>(context);
    if (dialog == nullptr || dialog->graphForm == nullptr) {
        return 0;
    }
    if (dialog->dataForm == nullptr) {
        return 1;
    }
    const ManualRow* row = dialog->dataForm->GetSelectedRow();
    if (row != nullptr && row->rowMark) {
        // The typed values of this ISO go away: ask first.
        const int answer = QtPromptService::Current().MessageBox(HWND{}, GetLangString(kAskResetTextId), Caption(),
                                                                 MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
        if (answer == IDYES) {
            dialog->dataForm->ResetRow();
            dialog->dataForm->RefreshRows();
            dialog->saveButton->setEnabled(true);
            dialog->modified = 1;
            if (dialog->dataForm->IsProfileEmpty() == 1) {
                dialog->saveButton->setEnabled(false);
            }
        }
    }
    dialog->RedrawGraph();
    return 1;
}

void CKZARN_ManualDlg::OnMarkerMoved(void* context, int marker, double ev)
{
    auto* dialog = static_cast<CKZARN_ManualDlg*>(context);
    if (dialog == nullptr || dialog->graphForm == nullptr || dialog->dataForm == nullptr ||
        !dialog->dataForm->HasSelection()) {
        return;
    }
    constexpr int kKinds[5] = {1, 2, -1, 3, 4};
    if (marker < 0 || marker > 4 || kKinds[marker] < 0) {
        return;
    }
    int changed = 0;
    if (dialog->dataForm->SetValue(kKinds[marker], ev, 0, &changed) == 0 && changed) {
        dialog->AfterAcceptedChange();
    }
    dialog->RedrawGraph();
}

void CKZARN_ManualDlg::OnLightChange()
{
    dataForm->FillGrid(0);
    RedrawGraph();
}

void CKZARN_ManualDlg::OnPhotoChange()
{
    dataForm->FillGrid(0);
    RedrawGraph();
}

BOOL CKZARN_ManualDlg::Save()
{
    if (!modified || dataForm->IsProfileEmpty() == 1) {
        return FALSE;
    }
    std::string path = dataForm->Path();
    if (path.empty()) {
        std::string name;
        if (!askSaveName || !askSaveName(&name) || name.empty()) {
            return FALSE;
        }
        path = CKZARN_Common::GetProfilePath(name);
    }
    const int result = dataForm->Save(path);
    if (result != CKZARN_ProfileFileSaver::kSaved) {
        // Nothing was written: the profile stays in the dialog, still to be saved.
        QtPromptService::Current().MessageBox(
            HWND{}, GetLangString(result == CKZARN_ProfileFileSaver::kReadOnly ? kReadOnlyTextId : kSaveFailedTextId),
            Caption(), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    modified = 0;
    saveButton->setEnabled(false);
    const CKestrinZarnApp* app = CKestrinZarnApp::GetApp();
    ZarnMainWindow* main = app != nullptr ? app->GetMainWindow() : nullptr;
    if (main != nullptr && main->Widget() != nullptr) {
        QCoreApplication::postEvent(main->Widget(), new WindowMessageEvent(WM_ZARN_PROFILES_CHANGED, 0, 0));
    }
    return TRUE;
}

void CKZARN_ManualDlg::OnSave()
{
    if (Save()) {
        done(IDOK);
    }
}

void CKZARN_ManualDlg::OnCancel()
{
    if (!modified || dataForm->IsProfileEmpty() == 1) {
        done(IDOK);
        return;
    }
    const int answer =
        QtPromptService::Current().MessageBox(HWND{}, GetLangString(kAskSaveTextId), Caption(),
                                              MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDYES) {
        if (Save()) {
            done(IDOK);
        }
    } else if (answer == IDNO) {
        done(IDOK);
    }
}

void CKZARN_ManualDlg::accept() {}

void CKZARN_ManualDlg::reject()
{
    OnCancel();
}
