// The exposure series of the chosen photographs: a gap, a repeat or a photograph out of place is
// refused at the photograph step, naming the photographs, before any calculation; a sound series
// (either way round, with the odd third of a stop) goes on to the corners.
#include "core/util/CLangTable.h"
#include "tests/ui/wizard/WizardRig.h"
#include "ui/wizard/WizardExposureSeries.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace wizardtest;

namespace {

TEST(ExposureSeries, BreaksNameThePhotographsOnEitherSide)
{
    struct Case {
        const char* what;
        std::vector<double> exposures;
        std::vector<std::size_t> breaks;
    } cases[] = {
        {"even steps of 1 EV", {-5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5}, {}},
        {"downwards", {2, 1, 0, -1}, {}},
        {"a third of a stop off", {-2, -1, 1.0 / 3, 1}, {}},
        {"steps of a third", {0, 1.0 / 3, 2.0 / 3, 1}, {}},
        {"a single photograph", {3}, {}},
        {"a gap", {-3, -2, -1, 1, 2, 3}, {2, 3}},
        {"a repeat", {-3, -2, -1, -1, 1, 2}, {2, 3, 4}},
        {"out of order", {-2, -1, 1, 0, 2}, {1, 2, 3, 4}},
        {"all alike", {0, 0, 0}, {0, 1, 2}},
        {"two thirds off", {0, 1, 2 + 2.0 / 3, 3}, {1, 2, 3}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.breaks, WizardExposureSeries::FindBreaks(c.exposures)) << c.what;
}

// Eleven Gradus I photographs at the given exposures, checked in the strip at the photograph step.
struct SeriesRig {
    explicit SeriesRig(const std::vector<double>& exposures)
    {
        rig.chosenFolder = rig.photoFolder.Path();
        for (std::size_t i = 0; i < exposures.size(); ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "shot_%02zu.jpg", i);
            std::ofstream(rig.photoFolder.File(name)) << "x";
        }
        CKZARN_WizardDlg& w = rig.Open(0);
        w.Data().target = 0;
        w.OnNext();
        w.OnNext();
        EXPECT_EQ(3, w.GetStep());
        for (std::size_t i = 0; i < exposures.size(); ++i) {
            ExifInputValues record;
            record.path = rig.photos->order[i];
            record.loadResult = 0;
            record.isoFromExif = record.shutterFromExif = record.apertureFromExif = 1;
            record.iso = 100;
            record.shutterIndex = ShutterIndexOf(exposures[i]);
            record.apertureIndex = FNumberToApertureIndex(5.6);
            record.checked = 1;
            rig.photos->Put(record);
        }
    }
    WizardRig rig;
};

TEST(ExposureSeries, ABrokenSeriesStaysAtThePhotographStepNamingThePhotographs)
{
    struct Case {
        const char* what;
        std::vector<double> exposures;
        const char* named;
    } cases[] = {
        {"the 0 EV shot replaced by its neighbour", {-5, -4, -3, -2, -1, -1, 1, 2, 3, 4, 5}, "shot_04.jpg, shot_05.jpg, shot_06.jpg"},
        {"0 EV left out and +6 added", {-5, -4, -3, -2, -1, 1, 2, 3, 4, 5, 6}, "shot_04.jpg, shot_05.jpg"},
        {"two swapped", {-5, -4, -3, -1, -2, 0, 1, 2, 3, 4, 5}, "shot_02.jpg, shot_03.jpg, shot_04.jpg, shot_05.jpg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SeriesRig s(c.exposures);
        s.rig.wizard->OnNext();
        EXPECT_EQ(3, s.rig.wizard->GetStep());
        EXPECT_TRUE(s.rig.wizard->Data().chosenPhotos.empty()) << "nothing was taken on";
        ASSERT_EQ(1u, s.rig.prompts.Prompts().size());
        EXPECT_EQ(std::string(c.named) + "\n" + GetLangString(3065), s.rig.prompts.Prompts()[0].text);
    }
}

TEST(ExposureSeries, ASoundSeriesGoesOnToTheCorners)
{
    SeriesRig s({5, 4, 3, 2, 1, 0, -1, -2, -3, -4, -5});
    s.rig.wizard->OnNext();
    EXPECT_EQ(4, s.rig.wizard->GetStep());
    EXPECT_TRUE(s.rig.prompts.Prompts().empty());
    EXPECT_EQ(11u, s.rig.wizard->Data().chosenPhotos.size());
}

} // namespace
