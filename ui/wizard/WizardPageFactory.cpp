#include "ui/wizard/WizardPageFactory.h"

#include "ui/wizard/CKZARN_WizArea3Form.h"
#include "ui/wizard/CKZARN_WizArea4ExifForm.h"
#include "ui/wizard/CKZARN_WizArea4GraphForm.h"
#include "ui/wizard/CKZARN_WizArea4CineModeForm.h"
#include "ui/wizard/CKZARN_WizArea4ExpExpandForm.h"
#include "ui/wizard/CKZARN_WizArea6Form.h"
#include "ui/wizard/CKZARN_WizArea7GraphForm.h"
#include "ui/wizard/CKZARN_WizArea7LightForm.h"
#include "ui/wizard/CKZARN_WizArea7MeasureForm.h"
#include "ui/wizard/CKZARN_WizArea7PreviewForm.h"
#include "ui/wizard/CKZARN_WizArea7TargetForm.h"

namespace {

WizardPageFactory::Maker& InstalledMaker()
{
    static WizardPageFactory::Maker maker;
    return maker;
}

} // namespace

void WizardPageFactory::SetMaker(Maker maker)
{
    InstalledMaker() = std::move(maker);
}

CKZARN_WizAreaBaseForm* WizardPageFactory::Create(int templateId, QWidget* parent)
{
    if (InstalledMaker())
        if (CKZARN_WizAreaBaseForm* page = InstalledMaker()(templateId, parent))
            return page;
    switch (templateId) {
    case kStepList: return new CKZARN_WizArea3Form(parent);
    case kSummary: return new CKZARN_WizArea6Form(parent);
    case kLight: return new CKZARN_WizArea7LightForm(parent);
    case kChart: return new CKZARN_WizArea7TargetForm(parent);
    case kResultTable: return new CKZARN_WizArea4GraphForm(parent);
    case kResultGraph: return new CKZARN_WizArea7GraphForm(parent);
    case kReadings: return new CKZARN_WizArea7MeasureForm(parent);
    case kPhotoData: return new CKZARN_WizArea4ExifForm(parent);
    case kPhotos: return new CKZARN_WizArea7PreviewForm(parent);
    case kRange: return new CKZARN_WizArea4ExpExpandForm(parent);
    case kCine: return new CKZARN_WizArea4CineModeForm(parent);
    default: return new CKZARN_WizAreaBaseForm(templateId, parent);
    }
}
