#include "ui/views/CKZARN_RefMultiDlg.h"

#include "core/CFileLockManager.h"
#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "platform/PromptService.h"
#include "ui/views/CKZARN_GparhWindow.h"
#include "ui/views/CKZARN_GraphPreviewDialog.h"
#include "ui/views/CKZARN_RefCameraForm.h"
#include "ui/views/CKZARN_RefIsoForm.h"
#include "ui/views/ZarnPrintHost.h"

#include "ui/views/ZarnViewLayout.h"
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_RefMultiDlg::kTemplateId, 4001, 0, 0, 1030, 540},
    {1072, 105, 20, 23, 165, 13},
    {1118, 0, 195, 20, 115, 180},
    {1115, 108, 20, 58, 165, 13},
    {1119, 0, 195, 55, 115, 180},
    {1036, 0, 10, 90, 300, 365},
    {1095, 0, 320, 10, 685, 445},
    {1046, 4002, 10, 465, 105, 23},
    {1025, 125, 660, 465, 105, 23},
    {1024, 126, 780, 465, 105, 23},
    {1121, 124, 900, 465, 105, 23},
    {0, 0, 0, 0, 0, 0},
};

constexpr ComboTextItem kLightItems[] = {{106, 0}, {107, 1}, {0, 0}};
constexpr ComboTextItem kPhotoItems[] = {{111, 0}, {112, 1}, {0, 0}};

} // namespace

CKZARN_RefMultiDlg::CKZARN_RefMultiDlg(QWidget* parent) : CKZARN_ModalBaseDlg(kTemplateId, parent) {}

CKZARN_RefMultiDlg::~CKZARN_RefMultiDlg()
{
    ClearGraph();
    if (initialised) {
        CFileLockManager::GetInstance()->RemoveAll();
    }
}

int CKZARN_RefMultiDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

BOOL CKZARN_RefMultiDlg::OnInitDialog()
{
    if (initialised) {
        return TRUE;
    }
    initialised = true;
    InitForms();
    RedrawGraph();
    tab->setCurrentIndex(0);
    return TRUE;
}

void CKZARN_RefMultiDlg::InitForms()
{
    graphWindow = new CKZARN_GparhWindow(this);
    graphWindow->setFocusPolicy(Qt::StrongFocus);
    AddControl(kGraphId, graphWindow);
    graphWindow->show();

    AddControl(1072, new QLabel(this));
    AddControl(1115, new QLabel(this));
    lightCombo = new QComboBox(this);
    photoCombo = new QComboBox(this);
    AddControl(1118, lightCombo);
    AddControl(1119, photoCombo);
    tab = new QTabWidget(this);
    AddControl(kTabId, tab);
    auto* back = new QPushButton(this);
    pageSetupButton = new QPushButton(this);
    previewButton = new QPushButton(this);
    auto* print = new QPushButton(this);
    for (QPushButton* button : {back, pageSetupButton, previewButton, print}) {
        button->setAutoDefault(false);
    }
    AddControl(1046, back);
    AddControl(1025, pageSetupButton);
    AddControl(1024, previewButton);
    AddControl(1121, print);
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    ZarnViewLayout::FitComboHeights(this);
    pageSetupButton->hide();
    previewButton->hide();

    cameraForm = new CKZARN_RefCameraForm(this, tab);
    cameraForm->OnInitDialog();
    isoForm = new CKZARN_RefIsoForm(this, tab);
    isoForm->OnInitDialog();
    tab->addTab(cameraForm, CKZARN_Common::ToWidgetText(GetLangString(4011)));
    tab->addTab(isoForm, CKZARN_Common::ToWidgetText(GetLangString(4010)));

    CKZARN_Common::FillComboFromTable(lightCombo, kLightItems);
    CKZARN_Common::SelectComboItemByData(lightCombo, 0);
    CKZARN_Common::FillComboFromTable(photoCombo, kPhotoItems);
    CKZARN_Common::SelectComboItemByData(photoCombo, 0);

    connect(tab, &QTabWidget::currentChanged, this, [this](int) { OnTabChange(); });
    connect(lightCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { OnLightChange(); });
    connect(photoCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { OnPhotoChange(); });
    connect(back, &QPushButton::clicked, this, [this]() { OnBack(); });
    connect(print, &QPushButton::clicked, this, [this]() { OnPrint(); });
    connect(previewButton, &QPushButton::clicked, this, [this]() { OnPreview(); });
    connect(pageSetupButton, &QPushButton::clicked, this, [this]() { OnPageSetup(); });
}

void CKZARN_RefMultiDlg::ClearGraph()
{
    for (CET_GraphLine* line : curves) {
        delete line;
    }
    curves.clear();
    for (CET_GraphDrawInfo* info : infos) {
        delete info;
    }
    infos.clear();
    for (CET_GraphLine* line : listedLines) {
        delete line;
    }
    listedLines.clear();
    for (std::string& title : titles) {
        title.clear();
    }
}

void CKZARN_RefMultiDlg::BuildGraph()
{
    ClearGraph();
    titles[1] = GetLangString(129);
    titles[2] = GetLangString(130);
    const int light = CKZARN_Common::GetComboItemData(lightCombo, lightCombo->currentIndex());
    const int photo = CKZARN_Common::GetComboItemData(photoCombo, photoCombo->currentIndex());
    const int iso = cameraForm->GetIso();
    const auto addInfo = [this](int caption, const std::string& value, int heading) {
        auto* info = new CET_GraphDrawInfo;
        info->caption = GetLangString(caption);
        info->value = value;
        info->heading = heading;
        infos.push_back(info);
    };
    const bool isoTab = tab->currentIndex() == 1;
    if (isoTab) {
        titles[0] = GetLangString(4010);
        std::string name;
        isoForm->GetProfileName(&name);
        isoForm->BuildCurves(&curves, light, photo);
        addInfo(100, name, 1);
    } else {
        titles[0] = GetLangString(4011);
        cameraForm->BuildCurves(&curves, light, photo);
    }
    addInfo(104, GetLangString(light == 0 ? 106 : 107), 0);
    addInfo(108, GetLangString(photo == 0 ? 111 : 112), 0);
    if (!isoTab) {
        addInfo(114, CKZARN_Common::IsoToText(iso), 0);
    }
    for (const int dashed : {0, 1}) {
        auto* line = new CET_GraphLine;
        line->name = GetLangString(dashed ? 128 : 127);
        line->dashed = dashed;
        line->colour = CKZARN_Common::GetGraphLineColor(0);
        listedLines.push_back(line);
    }
}

void CKZARN_RefMultiDlg::RedrawGraph()
{
    if (tab == nullptr) {
        return;
    }
    BuildGraph();
    graphWindow->SetGraph(0, titles[0], titles[1], titles[2], &curves, nullptr, 0, nullptr, 30, 15);
    graphWindow->repaint();
}

void CKZARN_RefMultiDlg::OnTabChange()
{
    RedrawGraph();
}

void CKZARN_RefMultiDlg::OnLightChange()
{
    RedrawGraph();
}

void CKZARN_RefMultiDlg::OnPhotoChange()
{
    RedrawGraph();
}

void CKZARN_RefMultiDlg::OnPageSetup()
{
    ZarnPrintHost::Instance().DoCustomPrintDialog(TRUE, nullptr, 0, this);
}

void CKZARN_RefMultiDlg::OnBack()
{
    done(IDOK);
}

void CKZARN_RefMultiDlg::reject()
{
    done(IDCANCEL);
}

namespace {

// The dialog whose print dialog is open: the preview button's callback finds it here.
CKZARN_RefMultiDlg* g_printingDialog = nullptr;

} // namespace

int CKZARN_RefMultiDlg::OnPreview()
{
    BuildGraph();
    // Shaped as the printed page (30 : 15), so the preview shows what will print.
    CKZARN_GraphPreviewDialog preview(this);
    preview.SetGraph(titles[0], titles[1], titles[2], &curves, nullptr, 3, nullptr, 30, 15);
    preview.m_wndGraph.m_graph.SetDrawInfos(&infos);
    preview.m_wndGraph.m_graph.SetLines(&listedLines);
    return preview.exec();
}

int CKZARN_RefMultiDlg::OnPreviewRequest(CKZARN_CustomPrintDialog* /*dialog*/, int /*caller*/)
{
    return g_printingDialog != nullptr ? g_printingDialog->OnPreview() : 0;
}

int CKZARN_RefMultiDlg::OnPrint()
{
    BuildGraph();
    g_printingDialog = this;
    const int answer =
        ZarnPrintHost::Instance().DoCustomPrintDialog(FALSE, &CKZARN_RefMultiDlg::OnPreviewRequest, 0, this);
    g_printingDialog = nullptr;
    if (answer != IDOK) {
        return 0;
    }
    return ZarnPrintHost::Instance().PrintGraphPage(titles[0], titles[1], titles[2], &curves, nullptr, 3, nullptr,
                                                    &infos, &listedLines);
}
