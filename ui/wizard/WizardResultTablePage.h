// What the wizard needs of its result table: showing the result points (none: empty) and
// whether they may be edited.
#pragma once

class CharacteristicPoints;

class WizardResultTablePage {
public:
    virtual ~WizardResultTablePage() = default;
    virtual void FillTable(const CharacteristicPoints* points) = 0;
    virtual void SetEditable(int readOnly) = 0;
    // One cell: kinds 0..4 the EVs, 5..9 the levels of CPM, DRM, CNT, DRP, CPP.
    virtual void ShowValue(int /*kind*/, double /*value*/) {}
};
