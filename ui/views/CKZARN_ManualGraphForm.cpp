#include "ui/views/CKZARN_ManualGraphForm.h"

#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "ui/views/CKZARN_ManualDlg.h"

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_ManualGraphForm::kTemplateId, 0, 0, 0, 690, 125},
    {1095, 0, 0, 0, 690, 125},
    {0, 0, 0, 0, 0, 0},
};

constexpr int kStyleCaptions[CET_GraphStyle::kCaptionCount] = {122, 121, 120, 119, 118, 153,
                                                               152, 120, 151, 150, 139, 140};

} // namespace

CKZARN_ManualGraphForm::CKZARN_ManualGraphForm(CKZARN_ManualDlg* newOwner, QWidget* parent)
    : CKZARN_ManualBaseForm(kTemplateId, parent), owner(newOwner), graphWindow(this)
{
}

CKZARN_ManualGraphForm::~CKZARN_ManualGraphForm() = default;

void CKZARN_ManualGraphForm::SetMarkerCallback(GraphMarkerCallback newCallback, void* context)
{
    callback = newCallback;
    callbackContext = context;
    graphWindow.m_pfnCallback = newCallback;
    graphWindow.m_pCallbackContext = context;
}

BOOL CKZARN_ManualGraphForm::OnInitDialog()
{
    CKZARN_ManualBaseForm::OnInitDialog();
    graphWindow.setFocusPolicy(Qt::StrongFocus);
    AddControl(kGraphId, &graphWindow);
    graphWindow.show();
    graphWindow.m_bLiveDrag = 0;
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    Redraw();
    return TRUE;
}

void CKZARN_ManualGraphForm::ClearGraphData()
{
    points.SetDefaults();
    points.hidden = 1;
    style.SetDefaults();
}

void CKZARN_ManualGraphForm::BuildGraphData()
{
    ClearGraphData();
    points.SetDefaults();
    if (owner != nullptr) {
        owner->GetSelectedRowPoints(&points);
    }
    points.hidden = 0;
    titles[0].clear();
    titles[1] = GetLangString(129);
    titles[2] = GetLangString(130);
    for (int i = 0; i < CET_GraphStyle::kCaptionCount; ++i) {
        style.caption[i] = GetLangString(kStyleCaptions[i]);
    }
}

void CKZARN_ManualGraphForm::Redraw()
{
    BuildGraphData();
    graphWindow.SetGraphFixedScale(1, titles[0], titles[1], titles[2], &curves, &points, 5, &style);
    graphWindow.repaint();
}
