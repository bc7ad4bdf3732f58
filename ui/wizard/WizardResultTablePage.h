// What the wizard needs of its result table: showing the result points (none: empty) and
// whether they may be edited.
#pragma once

struct WizardResultPoints;

class WizardResultTablePage {
public:
    virtual ~WizardResultTablePage() = default;
    virtual void FillTable(const WizardResultPoints* points) = 0;
    virtual void SetEditable(int readOnly) = 0;
};
