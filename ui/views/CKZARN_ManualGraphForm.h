// The compact graph of the manual profile entry: the selected row's five points as markers on an EV
// strip, without a curve. CPM, DRM, DRP and CPP can be dragged; the dialog takes each drop.
#pragma once

#include "ui/views/CET_GraphDrawInfo.h"
#include "ui/views/CET_GraphLine.h"
#include "ui/views/CET_GraphStyle.h"
#include "ui/views/CKZARN_GparhWindow.h"
#include "ui/views/CKZARN_ManualBaseForm.h"
#include "ui/views/CharacteristicPoints.h"

#include <string>
#include <vector>

class CKZARN_ManualDlg;

class CKZARN_ManualGraphForm : public CKZARN_ManualBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 199;
    static constexpr int kGraphId = 1095;

    CKZARN_ManualGraphForm(CKZARN_ManualDlg* owner, QWidget* parent);
    ~CKZARN_ManualGraphForm() override;

    BOOL OnInitDialog() override;
    void Redraw();
    void SetMarkerCallback(GraphMarkerCallback callback, void* context);
    void BuildGraphData();
    void ClearGraphData();

    CKZARN_GparhWindow& GraphWindow() { return graphWindow; }
    const CharacteristicPoints& Points() const { return points; }

private:
    CKZARN_ManualDlg* owner;
    CKZARN_GparhWindow graphWindow;
    std::string titles[3];
    std::vector<CET_GraphLine*> curves;
    std::vector<CET_GraphDrawInfo*> infos;
    CharacteristicPoints points;
    CET_GraphStyle style;
    GraphMarkerCallback callback = nullptr;
    void* callbackContext = nullptr;
};
