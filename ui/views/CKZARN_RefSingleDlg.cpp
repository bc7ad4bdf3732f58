#include "ui/views/CKZARN_RefSingleDlg.h"

#include "core/CFileLockManager.h"
#include "core/CKZARN_Common.h"
#include "core/ShellPathUtility.h"
#include "core/util/CLangTable.h"
#include "platform/PromptService.h"
#include "ui/controls/CNoContextEdit.h"
#include "ui/views/CKZARN_RefDataForm.h"
#include "ui/views/CKZARN_RefGraphForm.h"
#include "ui/views/ZarnPrintHost.h"
#include "ui/views/ZarnViewProfileCombo.h"

#include "ui/views/ZarnViewLayout.h"
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include <cstdio>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_RefSingleDlg::kTemplateId, 4000, 0, 0, 1025, 750},
    {1000, 100, 10, 25, 150, 13},
    {1031, 0, 170, 20, 250, 180},
    {1116, 0, 170, 20, 250, 24},
    {1072, 105, 10, 63, 150, 13},
    {1118, 0, 170, 60, 115, 180},
    {1115, 108, 10, 98, 150, 13},
    {1119, 0, 170, 95, 115, 180},
    {1033, 0, 470, 20, 250, 180},
    {1120, 0, 10, 140, 990, 525},
    {1046, 4002, 10, 675, 105, 23},
    {1025, 125, 475, 675, 105, 23},
    {1024, 126, 595, 675, 105, 23},
    {1121, 124, 895, 675, 105, 23},
    {0, 0, 0, 0, 0, 0},
};

constexpr ComboTextItem kLightItems[] = {{106, 0}, {107, 1}, {0, 0}};
constexpr ComboTextItem kPhotoItems[] = {{111, 0}, {112, 1}, {0, 0}};
constexpr int kPlaceholderTextId = 132;

} // namespace

CKZARN_RefSingleDlg::CKZARN_RefSingleDlg(QWidget* parent) : CKZARN_ModalBaseDlg(kTemplateId, parent) {}

CKZARN_RefSingleDlg::~CKZARN_RefSingleDlg()
{
    if (initialised) {
        CFileLockManager::GetInstance()->RemoveAll();
    }
}

void CKZARN_RefSingleDlg::SetBackupProfiles(const std::string& newPath, const std::vector<std::string>& names,
                                            int count)
{
    path = newPath;
    backupMode = 1;
    for (int i = 0; i < count && i < static_cast<int>(names.size()); ++i) {
        slotNames.push_back(names[static_cast<std::size_t>(i)]);
    }
}

int CKZARN_RefSingleDlg::exec()
{
    OnInitDialog();
    if (endRequested) {
        setResult(IDOK);
        return IDOK;
    }
    return QDialog::exec();
}

void CKZARN_RefSingleDlg::EndView()
{
    endRequested = true;
    done(IDOK);
}

BOOL CKZARN_RefSingleDlg::OnInitDialog()
{
    if (initialised) {
        return TRUE;
    }
    initialised = true;
    InitForms();
    return TRUE;
}

void CKZARN_RefSingleDlg::InitForms()
{
    AddControl(1000, new QLabel(this));
    AddControl(1072, new QLabel(this));
    AddControl(1115, new QLabel(this));
    profileCombo = new QComboBox(this);
    lightCombo = new QComboBox(this);
    photoCombo = new QComboBox(this);
    slotCombo = new QComboBox(this);
    fileEdit = new CNoContextEdit(this);
    fileEdit->setReadOnly(true);
    tab = new QTabWidget(this);
    AddControl(kProfileComboId, profileCombo);
    AddControl(1116, fileEdit);
    AddControl(1118, lightCombo);
    AddControl(1119, photoCombo);
    AddControl(kSlotComboId, slotCombo);
    AddControl(kTabId, tab);
    auto* back = new QPushButton(this);
    auto* pageSetup = new QPushButton(this);
    auto* preview = new QPushButton(this);
    auto* print = new QPushButton(this);
    for (QPushButton* button : {back, pageSetup, preview, print}) {
        button->setAutoDefault(false);
    }
    AddControl(1046, back);
    AddControl(1025, pageSetup);
    AddControl(1024, preview);
    AddControl(1121, print);
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    ZarnViewLayout::FitComboHeights(this);

    ZarnViewProfileCombo::Fill(profileCombo, 0);

    if (!backupMode) {
        profileCombo->show();
        fileEdit->hide();
        slotCombo->hide();
        const std::string title = GetFileTitleFromPath(path);
        const std::string shown = title.empty() ? GetLangString(kPlaceholderTextId) : title;
        const int index = profileCombo->findText(CKZARN_Common::ToWidgetText(shown), Qt::MatchExactly);
        if (index >= 0) {
            profileCombo->setCurrentIndex(index);
        }
    } else {
        setWindowTitle(CKZARN_Common::ToWidgetText(GetLangString(1173)));
        profileCombo->hide();
        fileEdit->show();
        slotCombo->show();
        for (std::size_t i = 0; i < slotNames.size(); ++i) {
            if (slotNames[i].empty()) {
                char name[48];
                std::snprintf(name, sizeof name, "CAMERA%d_DEFAULT", static_cast<int>(i) + 1);
                slotNames[i] = name;
            }
        }
        slotCombo->clear();
        for (const std::string& name : slotNames) {
            slotCombo->addItem(CKZARN_Common::ToWidgetText(name));
        }
        slotCombo->setCurrentIndex(0);
        fileEdit->setText(CKZARN_Common::ToWidgetText(GetFileNameFromPath(path)));
    }

    dataForm = new CKZARN_RefDataForm(this, tab);
    tab->addTab(dataForm, CKZARN_Common::ToWidgetText(GetLangString(4008)));
    graphForm = new CKZARN_RefGraphForm(this, tab);
    if (!backupMode) {
        tab->addTab(graphForm, CKZARN_Common::ToWidgetText(GetLangString(4009)));
    } else {
        graphForm->hide();
    }

    CKZARN_Common::FillComboFromTable(lightCombo, kLightItems);
    CKZARN_Common::SelectComboItemByData(lightCombo, 0);
    CKZARN_Common::FillComboFromTable(photoCombo, kPhotoItems);
    CKZARN_Common::SelectComboItemByData(photoCombo, 0);
    // The data page fills its grid once as it starts.
    dataForm->OnInitDialog();
    graphForm->OnInitDialog();
    pageSetup->hide();
    preview->hide();

    connect(tab, &QTabWidget::currentChanged, this, [this](int) { OnTabChange(); });
    connect(lightCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { OnLightChange(); });
    connect(photoCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { OnPhotoChange(); });
    connect(profileCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { OnProfileChange(); });
    connect(slotCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { OnSlotChange(); });
    connect(back, &QPushButton::clicked, this, [this]() { OnBack(); });
    connect(print, &QPushButton::clicked, this, [this]() { OnPrint(); });
    connect(preview, &QPushButton::clicked, this, [this]() { OnPreview(); });
    connect(pageSetup, &QPushButton::clicked, this, [this]() { OnPageSetup(); });
}

void CKZARN_RefSingleDlg::GetSelection(std::string* pathOut, int* light, int* photo) const
{
    if (pathOut != nullptr) {
        *pathOut = path;
    }
    if (light != nullptr) {
        *light = CKZARN_Common::GetComboItemData(lightCombo, lightCombo->currentIndex());
    }
    if (photo != nullptr) {
        *photo = CKZARN_Common::GetComboItemData(photoCombo, photoCombo->currentIndex());
    }
}

void CKZARN_RefSingleDlg::GetBackupSelection(std::string* pathOut, int* light, int* photo, int* slot,
                                             std::string* slotName) const
{
    GetSelection(pathOut, light, photo);
    if (light != nullptr && *light < 0) {
        *light = 0;
    }
    if (photo != nullptr && *photo < 0) {
        *photo = 0;
    }
    if (slot != nullptr) {
        *slot = slotCombo->currentIndex();
    }
    if (slotName != nullptr) {
        *slotName = slotCombo->currentText().toStdString();
    }
}

void CKZARN_RefSingleDlg::OnTabChange()
{
    if (tab->currentIndex() == 1) {
        graphForm->Refresh();
    } else {
        dataForm->Refresh();
    }
}

void CKZARN_RefSingleDlg::OnLightOrPhotoChange()
{
    OnTabChange();
}

void CKZARN_RefSingleDlg::OnLightChange()
{
    OnLightOrPhotoChange();
}

void CKZARN_RefSingleDlg::OnPhotoChange()
{
    OnLightOrPhotoChange();
}

void CKZARN_RefSingleDlg::OnPageSetup()
{
    ZarnPrintHost::Instance().DoCustomPrintDialog(TRUE, nullptr, 0, this);
}

void CKZARN_RefSingleDlg::OnProfileChange()
{
    if (backupMode) {
        return;
    }
    CFileLockManager::GetInstance()->RemoveAll();
    const std::string name = profileCombo->currentText().toStdString();
    path.clear();
    if (!CKZARN_Common::IsPlaceholderText(name)) {
        if (CKZARN_Common::CanLoadProfile(name)) {
            path = CKZARN_Common::GetProfilePath(name);
        } else {
            ZarnViewProfileCombo::RejectChoice(profileCombo);
        }
    }
    OnTabChange();
}

void CKZARN_RefSingleDlg::OnSlotChange()
{
    if (backupMode) {
        dataForm->Refresh();
    }
}

void CKZARN_RefSingleDlg::OnBack()
{
    done(IDOK);
}

void CKZARN_RefSingleDlg::reject()
{
    done(IDCANCEL);
}

int CKZARN_RefSingleDlg::OnPrint()
{
    return tab->currentIndex() == 1 ? graphForm->Print() : dataForm->Print();
}

int CKZARN_RefSingleDlg::OnPreview()
{
    return tab->currentIndex() == 1 ? graphForm->Preview() : dataForm->Preview();
}
