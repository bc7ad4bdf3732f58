// The result graph of step 5: the measured output curve of the new table with the five points as
// markers; in mode 1 a dragged marker goes to the wizard's SetResultValue.
#pragma once

#include "ui/views/CET_GraphLine.h"
#include "ui/views/CET_GraphStyle.h"
#include "ui/wizard/CKZARN_WizAreaBaseForm.h"
#include "ui/wizard/WizardResultGraphPage.h"

#include <memory>
#include <vector>

class CKZARN_GparhWindow;

class CKZARN_WizArea7GraphForm : public CKZARN_WizAreaBaseForm, public WizardResultGraphPage {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 137;
    static constexpr int kGraphId = 1095;

    explicit CKZARN_WizArea7GraphForm(QWidget* parent = nullptr);
    ~CKZARN_WizArea7GraphForm() override;

    void DrawResult(ZarnLib_Profile* profile, const CharacteristicPoints* points) override;
    void ClearGraph() override;
    void SetPoints(const CharacteristicPoints* points) override;
    void RepaintGraph() override;

    static void OnMarkerMoved(void* context, int marker, double ev);
    CKZARN_GparhWindow* Graph() const { return graph_; }

protected:
    BOOL OnInitDialog() override;

private:
    void ApplyGraph(const CharacteristicPoints* points);

    CKZARN_GparhWindow* graph_;
    CET_GraphStyle style_;
    // The curve shown, kept so that new marker positions can be set without measuring again.
    std::vector<std::unique_ptr<CET_GraphLine>> curve_;
    int interactive_ = 0;
};
