#include "ui/wizard/WizardData.h"

#include "ui/wizard/CKZARN_WizFileData.h"

WizardData::WizardData(int storedTarget) : target(storedTarget) {}

WizardData::~WizardData()
{
    ClearPhotos();
}

int WizardData::GetRequiredPhotoCount() const
{
    if (expandedRange != 0 && expandedRange != 1)
        return -1;
    switch (target) {
    case 0: return expandedRange == 0 ? 11 : 21;
    case 1:
    case 2:
    case 5: return expandedRange == 0 ? 3 : 5;
    default: return -1;
    }
}

void WizardData::ClearList(std::vector<CKZARN_WizFileData*>& list)
{
    for (CKZARN_WizFileData* record : list)
        delete record;
    list.clear();
}

void WizardData::ClearPhotos()
{
    ClearList(chosenPhotos);
    ClearList(allPhotos);
}
