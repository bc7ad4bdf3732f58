// The graph page of the single reference view: one table of the chosen profile at one ISO speed as
// a curve with its five points, read-only. Solid for an ISO with a table of its own, dashed for an
// interpolated curve or the default profile; ISO speeds with a table of their own carry an icon.
#pragma once

#include "profilelib/ZarnLib_Buffer.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "profilelib/ZarnLib_Profile.h"
#include "ui/views/CET_GraphDrawInfo.h"
#include "ui/views/CET_GraphLine.h"
#include "ui/views/CET_GraphStyle.h"
#include "ui/views/CKZARN_RefBaseForm.h"
#include "ui/views/CharacteristicPoints.h"

#include <string>
#include <vector>

class CHAlignLabel;
class CKZARN_CustomPrintDialog;
class CKZARN_GparhWindow;
class CKZARN_RefSingleDlg;
class CNoContextEdit;
class QComboBox;

class CKZARN_RefGraphForm : public CKZARN_RefBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 107;
    static constexpr int kIsoComboId = 1154;
    static constexpr int kGraphId = 1095;

    CKZARN_RefGraphForm(CKZARN_RefSingleDlg* owner, QWidget* parent);
    ~CKZARN_RefGraphForm() override;

    BOOL OnInitDialog() override;
    void InitControls();
    void Refresh();
    void BuildGraphData();
    void ClearGraphData();
    void ClearIsoMarks();
    void SetIsoMark(int iso, int flag);
    void OnIsoChange();
    // The graph of the last build in a preview window, shaped as the printed page.
    int Preview();
    // The print dialog (with its preview button), then the page; the print result, 0 when cancelled.
    int Print();
    static int OnPreviewRequest(CKZARN_CustomPrintDialog* dialog, int caller);

    QComboBox* IsoCombo() const { return isoCombo; }
    CNoContextEdit* PointEdit(int controlId) const;
    const std::vector<CET_GraphLine*>& Curves() const { return curves; }
    const std::vector<CET_GraphDrawInfo*>& Infos() const { return infos; }
    const CharacteristicPoints& Points() const { return points; }
    const std::string& Title(int i) const { return titles[i]; }
    bool IsoMarked(int iso) const;
    CKZARN_GparhWindow* GraphWindow() const { return graphWindow; }

private:
    void ShowPointEdits();

    CKZARN_RefSingleDlg* owner;
    QComboBox* isoCombo = nullptr;
    CNoContextEdit* edits[9] = {};
    CHAlignLabel* captions[5] = {};
    CKZARN_GparhWindow* graphWindow = nullptr;
    ZarnLib_Profile profile;
    std::string titles[3];
    std::vector<CET_GraphLine*> curves;
    std::vector<CET_GraphDrawInfo*> infos;
    CharacteristicPoints points;
    CET_GraphStyle style;
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> working;
    int isoMarkPass = 1;
};
