// What the wizard needs of its photograph-data page: the brightness adjustment it shows.
#pragma once

class WizardPhotoDataPage {
public:
    virtual ~WizardPhotoDataPage() = default;
    virtual double GetBrightnessAdjust() = 0;
};
