#include "ui/wizard/CKZARN_WizArea7GraphForm.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/util/CLangTable.h"
#include "profilelib/ZarnLib_Buffer.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "profilelib/ZarnLib_PatchKey.h"
#include "profilelib/ZarnLib_Profile.h"
#include "ui/views/CKZARN_GparhWindow.h"
#include "ui/views/CharacteristicPoints.h"
#include "ui/wizard/CKZARN_WizardDlg.h"
#include "ui/wizard/WizardData.h"

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_WizArea7GraphForm::kTemplateId, 0, 0, 0, 721, 433},
    {CKZARN_WizArea7GraphForm::kGraphId, 0, 1, 1, 719, 431},
    {0, 0, 0, 0, 0, 0},
};

constexpr int kCaptionTexts[CET_GraphStyle::kCaptionCount] = {122, 121, 120, 119, 118, 153, 152, 120, 151, 150, 139, 140};

} // namespace

CKZARN_WizArea7GraphForm::CKZARN_WizArea7GraphForm(QWidget* parent)
    : CKZARN_WizAreaBaseForm(kTemplateId, parent), graph_(new CKZARN_GparhWindow(this))
{
    AddControl(kGraphId, graph_);
}

CKZARN_WizArea7GraphForm::~CKZARN_WizArea7GraphForm() = default;

BOOL CKZARN_WizArea7GraphForm::OnInitDialog()
{
    graph_->m_pfnCallback = &CKZARN_WizArea7GraphForm::OnMarkerMoved;
    graph_->m_pCallbackContext = this;
    graph_->setFocusPolicy(Qt::StrongFocus);
    graph_->show();
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    return TRUE;
}

void CKZARN_WizArea7GraphForm::ClearGraph()
{
    curve_.clear();
    interactive_ = 0;
    const CET_GraphStyle defaults;
    graph_->SetGraph(0, "", GetLangString(129), GetLangString(130), nullptr, nullptr, 5, &defaults, 30, 13);
}

void CKZARN_WizArea7GraphForm::ApplyGraph(const CharacteristicPoints* points)
{
    std::vector<CET_GraphLine*> lines;
    for (auto& line : curve_)
        lines.push_back(line.get());
    graph_->SetGraph(interactive_, "", GetLangString(129), GetLangString(130), &lines, points, 5, &style_, 30, 13);
}

void CKZARN_WizArea7GraphForm::DrawResult(ZarnLib_Profile* profile, const CharacteristicPoints* points)
{
    curve_.clear();
    if (settings != nullptr && profile != nullptr) {
        ZarnLib_PatchKey key;
        key.SetChartKind(settings->target + 1);
        key.SetIso(settings->isoSpeed);
        key.SetLightSource(settings->lightSource);
        ZarnLib_Buffer<ZarnLib_CnvPolyLine> polylines;
        if (profile->GetTableCurve(key, 0, &polylines, nullptr) == 0) {
            auto line = std::make_unique<CET_GraphLine>();
            line->name = GetLangString(133);
            line->colour = CKZARN_Common::GetGraphLineColor(0);
            line->dashed = 0;
            for (int c = 0; c < polylines.GetCount(); ++c) {
                const ZarnLib_CnvPolyLine& polyline = polylines[c];
                const int count = polyline.GetCount();
                for (int i = 0; i < count; ++i) {
                    _ZARNLIB_VECTOR2 point;
                    polyline.GetPoint(&point, i);
                    CET_PointW drawn;
                    drawn.x = point.x;
                    drawn.y = point.y;
                    drawn.connect = i == 0 ? 0 : (i == count - 1 && count > 1 ? 2 : 1);
                    line->points.push_back(drawn);
                }
            }
            curve_.push_back(std::move(line));
        }
    }
    for (int i = 0; i < CET_GraphStyle::kCaptionCount; ++i)
        style_.caption[i] = GetLangString(kCaptionTexts[i]);
    interactive_ = owner != nullptr && owner->GetMode() == 1 ? 1 : 0;
    ApplyGraph(points);
    RepaintGraph();
}

void CKZARN_WizArea7GraphForm::SetPoints(const CharacteristicPoints* points)
{
    // The renderer takes the points (hidden flag, EVs, levels, further value) with the same curve.
    ApplyGraph(points);
}

void CKZARN_WizArea7GraphForm::RepaintGraph()
{
    graph_->update();
    graph_->repaint();
}

void CKZARN_WizArea7GraphForm::OnMarkerMoved(void* context, int marker, double ev)
{
    auto* page = static_cast<CKZARN_WizArea7GraphForm*>(context);
    if (page != nullptr && page->owner != nullptr)
        page->owner->SetResultValue(marker, ev, 0);
}
