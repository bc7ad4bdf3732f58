#include "ui/views/CKZARN_RefGraphForm.h"

#include "core/CFileLockManager.h"
#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "platform/PromptService.h"
#include "core/ShellPathUtility.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_CurveTools.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/controls/CHAlignLabel.h"
#include "ui/controls/CNoContextEdit.h"
#include "ui/views/CKZARN_EditValueRules.h"
#include "ui/views/CKZARN_GparhWindow.h"
#include "ui/views/CKZARN_GraphPreviewDialog.h"
#include "ui/views/ZarnPrintHost.h"
#include "ui/views/CKZARN_RefSingleDlg.h"
#include "ui/views/ZarnViewCurves.h"
#include "ui/views/ZarnViewIcons.h"

#include "ui/views/ZarnViewLayout.h"
#include <QComboBox>
#include <QLabel>

#include <cstdio>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_RefGraphForm::kTemplateId, 0, 0, 0, 802, 485},
    {1052, 114, 10, 40, 125, 13},
    {1154, 0, 145, 35, 95, 180},
    {1205, 148, 85, 140, 100, 13},
    {1204, 149, 190, 140, 60, 13},
    {1061, 118, 10, 170, 130, 26},
    {1066, 0, 145, 170, 40, 23},
    {1023, 0, 200, 170, 40, 23},
    {1062, 119, 10, 220, 130, 26},
    {1067, 0, 145, 220, 40, 23},
    {1024, 0, 200, 220, 40, 23},
    {1063, 120, 10, 270, 130, 26},
    {1068, 0, 145, 270, 40, 23},
    {1064, 121, 10, 320, 130, 26},
    {1069, 0, 145, 320, 40, 23},
    {1027, 0, 200, 320, 40, 23},
    {1065, 122, 10, 370, 130, 26},
    {1070, 0, 145, 370, 40, 23},
    {1032, 0, 200, 370, 40, 23},
    {1095, 0, 260, 10, 710, 475},
    {0, 0, 0, 0, 0, 0},
};

// Subclassing order of the nine point edits.
constexpr int kEditIds[9] = {1024, 1027, 1023, 1032, 1067, 1069, 1068, 1066, 1070};
// Level and EV edit of each point, CPM to CPP (CNT has no EV edit).
constexpr int kLevelIds[5] = {1070, 1069, 1068, 1067, 1066};
constexpr int kEvIds[5] = {1032, 1027, 0, 1024, 1023};
// Library order (CPM, DRM, DRP, CPP, CNT) to screen order.
constexpr int kScreenOfLibrary[5] = {CharacteristicPoints::kCPM, CharacteristicPoints::kDRM,
                                     CharacteristicPoints::kDRP, CharacteristicPoints::kCPP,
                                     CharacteristicPoints::kCNT};
constexpr int kStyleCaptions[CET_GraphStyle::kCaptionCount] = {122, 121, 120, 119, 118, 153,
                                                               152, 120, 151, 150, 139, 140};

std::string LevelText(int level)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", level);
    return text;
}

} // namespace

CKZARN_RefGraphForm::CKZARN_RefGraphForm(CKZARN_RefSingleDlg* newOwner, QWidget* parent)
    : CKZARN_RefBaseForm(kTemplateId, parent), owner(newOwner)
{
    ClearGraphData();
}

CKZARN_RefGraphForm::~CKZARN_RefGraphForm()
{
    ClearGraphData();
}

BOOL CKZARN_RefGraphForm::OnInitDialog()
{
    CKZARN_RefBaseForm::OnInitDialog();
    graphWindow = new CKZARN_GparhWindow(this);
    graphWindow->setFocusPolicy(Qt::StrongFocus);
    AddControl(kGraphId, graphWindow);
    graphWindow->show();
    InitControls();
    Refresh();
    return TRUE;
}

void CKZARN_RefGraphForm::InitControls()
{
    AddControl(1052, new QLabel(this));
    auto* levelHeader = new QLabel(this);
    auto* evHeader = new QLabel(this);
    levelHeader->setAlignment(Qt::AlignCenter);
    evHeader->setAlignment(Qt::AlignCenter);
    AddControl(1205, levelHeader);
    AddControl(1204, evHeader);
    isoCombo = new QComboBox(this);
    AddControl(kIsoComboId, isoCombo);
    for (int i = 0; i < 9; ++i) {
        edits[i] = new CNoContextEdit(this);
        edits[i]->setReadOnly(true);
        edits[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        AddControl(kEditIds[i], edits[i]);
    }
    for (int i = 0; i < 5; ++i) {
        captions[i] = new CHAlignLabel(this);
        captions[i]->alignment = 1;
        captions[i]->setWordWrap(true);
        AddControl(1061 + i, captions[i]);
    }
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    ZarnViewLayout::FitComboHeights(this);

    isoCombo->clear();
    CKZARN_Common::FillIsoComboEx(isoCombo, nullptr, {});
    CKZARN_Common::SelectComboItemByData(isoCombo, 100);
    connect(isoCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { OnIsoChange(); });
}

CNoContextEdit* CKZARN_RefGraphForm::PointEdit(int controlId) const
{
    return static_cast<CNoContextEdit*>(FindControl(controlId));
}

void CKZARN_RefGraphForm::ClearGraphData()
{
    for (CET_GraphLine* line : curves) {
        delete line;
    }
    curves.clear();
    for (CET_GraphDrawInfo* info : infos) {
        delete info;
    }
    infos.clear();
    points.SetDefaults();
    points.hidden = 1;
    style.SetDefaults();
}

void CKZARN_RefGraphForm::SetIsoMark(int iso, int flag)
{
    const int index = CKZARN_Common::FindComboIndexByData(isoCombo, iso);
    if (index >= 0) {
        isoCombo->setItemIcon(index, flag ? ZarnViewIcons::TableMark() : QIcon());
    }
}

void CKZARN_RefGraphForm::ClearIsoMarks()
{
    if (isoCombo == nullptr) {
        return;
    }
    for (int i = 0; i < isoCombo->count(); ++i) {
        isoCombo->setItemIcon(i, QIcon());
    }
    isoCombo->update();
}

bool CKZARN_RefGraphForm::IsoMarked(int iso) const
{
    const int index = CKZARN_Common::FindComboIndexByData(isoCombo, iso);
    return index >= 0 && !isoCombo->itemIcon(index).isNull();
}

void CKZARN_RefGraphForm::BuildGraphData()
{
    ClearGraphData();
    // Nothing of an earlier ISO's curve may be used to place this ISO's points.
    working.Free();
    if (owner == nullptr || owner->IsBackupMode()) {
        ClearIsoMarks();
        return;
    }
    std::string path;
    int light = 0;
    int photo = 0;
    owner->GetSelection(&path, &light, &photo);
    const std::string name = GetFileTitleFromPath(path);
    titles[0].clear();
    titles[1] = GetLangString(129);
    titles[2] = GetLangString(130);
    const int iso = CKZARN_Common::GetComboItemData(isoCombo, isoCombo->currentIndex());

    const struct {
        int caption;
        std::string value;
        int heading;
    } items[4] = {{100, name, 1},
                  {104, GetLangString(light == 0 ? 106 : 107), 0},
                  {108, GetLangString(photo == 0 ? 111 : 112), 0},
                  {114, CKZARN_Common::IsoToText(iso), 0}};
    for (const auto& item : items) {
        auto* info = new CET_GraphDrawInfo;
        info->caption = GetLangString(item.caption);
        info->value = item.value;
        info->heading = item.heading;
        infos.push_back(info);
    }
    for (int i = 0; i < CET_GraphStyle::kCaptionCount; ++i) {
        style.caption[i] = GetLangString(kStyleCaptions[i]);
    }
    const auto fail = [this]() {
        ClearGraphData();
        ClearIsoMarks();
    };
    if (path.empty()) {
        fail();
        return;
    }
    CFileLockManager* locks = CFileLockManager::GetInstance();
    locks->UnlockAll();
    ZarnLib_PatchKey key;
    key.SetIso(iso);
    key.SetLightSource(light);
    const ZarnLibString kpf(path.c_str());
    if (LoadProfile(&kpf, &profile) != 0) {
        profile.ClearTables();
        fail();
        return;
    }
    locks->Register(path);
    locks->LockAll();
    const bool isDefault = CKZARN_Common::IsDefaultProfileName(name) != 0;
    key.SetChartKind(profile.GetChartKind());

    ZarnLib_Buffer<ZarnLib_CnvPolyLine> local;
    bool interpolated = false;
    if (profile.GetTableCurve(key, photo, &local, &working) != 0) {
        working.Free();
        if (profile.GetCurveForSettings(key, photo, &local) != 0) {
            fail();
            return;
        }
        interpolated = true;
    }
    curves.push_back(ZarnViewCurves::NewLine(local, GetLangString(133), 0, isDefault || interpolated));

    _ZARNLIB_VECTOR2 five[5];
    double extra = 0.0;
    if (profile.GetTablePoints(key, photo, five, &extra) != 0 &&
        profile.GetPointsForSettings(key, photo, five, &extra) != 0) {
        fail();
        return;
    }
    for (int i = 0; i < 5; ++i) {
        points.ev[kScreenOfLibrary[i]] = five[i].x;
        points.level[kScreenOfLibrary[i]] = CKZARN_EditValueRules::RoundLevel(five[i].y);
    }
    points.further = extra;
    points.hidden = 0;
    constexpr int kFour[4] = {CharacteristicPoints::kCPM, CharacteristicPoints::kDRM, CharacteristicPoints::kDRP,
                              CharacteristicPoints::kCPP};
    for (const int i : kFour) {
        double ev = 0.0;
        if (profile.LevelAtInverse(key, photo, &ev, points.level[i], &working) == 0) {
            points.ev[i] = ev;
        }
    }
    for (const int i : kFour) {
        double level = 0.0;
        if (profile.LevelAt(key, photo, &level, points.ev[i], &working) == 0) {
            continue;
        }
        double ev = points.ev[i];
        if (ClampToCurveDomain(&ev, points.ev[CharacteristicPoints::kCNT], working) == 0 &&
            profile.LevelAt(key, photo, &level, ev, &working) == 0) {
            points.ev[i] = ev;
            points.level[i] = CKZARN_EditValueRules::RoundLevel(level);
        }
    }

    if (isoMarkPass == 1) {
        if (isDefault) {
            ClearIsoMarks();
        } else {
            for (int i = 0; i < isoCombo->count(); ++i) {
                const int itemIso = CKZARN_Common::GetComboItemData(isoCombo, i);
                ZarnLib_PatchKey isoKey = key;
                isoKey.SetIso(itemIso);
                _ZARNLIB_VECTOR2 found[5];
                double foundExtra = 0.0;
                SetIsoMark(itemIso, profile.GetTablePoints(isoKey, photo, found, &foundExtra) == 0 ? 1 : 0);
            }
            isoCombo->update();
        }
    }
    isoMarkPass = 1;
}

void CKZARN_RefGraphForm::ShowPointEdits()
{
    const bool shown = points.hidden == 0;
    for (CNoContextEdit* edit : edits) {
        edit->setEnabled(shown);
        if (!shown) {
            edit->clear();
        }
    }
    if (!shown) {
        return;
    }
    for (int point = 0; point < 5; ++point) {
        PointEdit(kLevelIds[point])->setText(QString::fromStdString(LevelText(points.level[point])));
        if (kEvIds[point] != 0) {
            PointEdit(kEvIds[point])->setText(QString::fromStdString(CKZARN_EditValueRules::FormatEv(points.ev[point], CCustomEdit::ApplicationDecimalChar())));
        }
    }
}

void CKZARN_RefGraphForm::Refresh()
{
    BuildGraphData();
    if (graphWindow != nullptr) {
        graphWindow->SetGraph(0, titles[0], titles[1], titles[2], &curves, &points, 5, &style, 30, 15);
        graphWindow->repaint();
    }
    ShowPointEdits();
}

void CKZARN_RefGraphForm::OnIsoChange()
{
    isoMarkPass = 0;
    Refresh();
    isoMarkPass = 1;
}

namespace {

// The form whose print dialog is open: the preview button's callback finds it here.
CKZARN_RefGraphForm* g_printingForm = nullptr;

} // namespace

int CKZARN_RefGraphForm::Preview()
{
    // Shaped as the printed page (30 : 15), so the preview shows what will print.
    const CET_GraphStyle copy = style;
    CKZARN_GraphPreviewDialog preview(this);
    preview.SetGraph(titles[0], titles[1], titles[2], &curves, &points, 4, &copy, 30, 15);
    preview.m_wndGraph.m_graph.SetDrawInfos(&infos);
    return preview.exec();
}

int CKZARN_RefGraphForm::OnPreviewRequest(CKZARN_CustomPrintDialog* /*dialog*/, int /*caller*/)
{
    return g_printingForm != nullptr ? g_printingForm->Preview() : 0;
}

int CKZARN_RefGraphForm::Print()
{
    BuildGraphData();
    g_printingForm = this;
    const int answer = ZarnPrintHost::Instance().DoCustomPrintDialog(FALSE, &CKZARN_RefGraphForm::OnPreviewRequest, 0,
                                                                    this);
    g_printingForm = nullptr;
    if (answer != IDOK) {
        return 0;
    }
    const CET_GraphStyle copy = style;
    return ZarnPrintHost::Instance().PrintGraphPage(titles[0], titles[1], titles[2], &curves, &points, 4, &copy,
                                                    &infos, nullptr);
}
