// Makes the wizard's page forms by template number: the choice pages, the step list and the summary
// here; the readings, photograph and result pages implement the page interfaces beside this file
// (WizardPhotoPage, WizardPhotoDataPage, WizardResultTablePage, WizardResultGraphPage). A template
// without its page yet gets a blank page. Tests install a maker of their own.
#pragma once

#include <functional>

class CKZARN_WizAreaBaseForm;
class QWidget;

class WizardPageFactory {
public:
    // Template numbers of the pages.
    static constexpr int kStepList = 101;
    static constexpr int kPhotoData = 134;
    static constexpr int kResultTable = 135;
    static constexpr int kSummary = 136;
    static constexpr int kResultGraph = 137;
    static constexpr int kLight = 138;
    static constexpr int kChart = 139;
    static constexpr int kPhotos = 140;
    static constexpr int kReadings = 141;
    static constexpr int kRange = 196;
    static constexpr int kCine = 203;

    // A maker returns null for a template it leaves to the default.
    using Maker = std::function<CKZARN_WizAreaBaseForm*(int templateId, QWidget* parent)>;

    static CKZARN_WizAreaBaseForm* Create(int templateId, QWidget* parent);
    static void SetMaker(Maker maker);
};
