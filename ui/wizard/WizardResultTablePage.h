// What the wizard needs of its result table: showing the result points (none: empty) and
// whether they may be edited.
#pragma once

class CharacteristicPoints;

class WizardResultTablePage {
public:
    virtual ~WizardResultTablePage() = default;
    virtual void FillTable(const CharacteristicPoints* points) = 0;
    virtual void SetEditable(int readOnly) = 0;
};
