// The exposure series of the chosen photographs: a gap, a repeat, a photograph out of place or
// neighbours further apart than the chart covers are refused at the photograph step before any
// calculation, with the first rule that broke and the pair where it broke, whose photographs are
// marked in the strip; a sound series (either way round) goes on to the corners.
#include "core/ShellPathUtility.h"
#include "core/util/CLangTable.h"
#include "tests/ui/wizard/WizardRig.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace wizardtest;

namespace {

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

TEST(ExposureSeries, ABrokenSeriesStaysAtThePhotographStepNamingTheRuleAndThePair)
{
    struct Case {
        const char* what;
        std::vector<double> exposures;
        std::size_t first, second; // the pair named
        int text;
    } cases[] = {
        {"the 0 EV shot's Exif copied from its neighbour", {-5, -4, -3, -2, -1, -1, 1, 2, 3, 4, 5}, 4, 5, 3070},
        {"0 EV left out and +6 added", {-5, -4, -3, -2, -1, 1, 2, 3, 4, 5, 6}, 4, 5, 3071},
        {"two swapped", {-5, -4, -3, -1, -2, 0, 1, 2, 3, 4, 5}, 2, 3, 3071},
        {"even steps of 2 EV on a chart that covers 1", {-10, -8, -6, -4, -2, 0, 2, 4, 6, 8, 10}, 0, 1, 3072},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SeriesRig s(c.exposures);
        s.rig.wizard->OnNext();
        EXPECT_EQ(3, s.rig.wizard->GetStep());
        EXPECT_TRUE(s.rig.wizard->Data().chosenPhotos.empty()) << "nothing was taken on";
        ASSERT_EQ(1u, s.rig.prompts.Prompts().size());
        const std::string first = s.rig.photos->order[c.first], second = s.rig.photos->order[c.second];
        EXPECT_EQ(GetFileNameFromPath(first) + ", " + GetFileNameFromPath(second) + "\n" + GetLangString(c.text),
                  s.rig.prompts.Prompts()[0].text);
        // The pair to mend is marked in the strip, the rest stays checked.
        ASSERT_EQ(1u, s.rig.photos->refusedMarks.size());
        EXPECT_EQ((std::vector<std::string>{first, second}), s.rig.photos->refusedMarks[0]);
        std::vector<std::string> checked;
        s.rig.photos->GetCheckedPaths(&checked, 1);
        EXPECT_EQ(c.exposures.size() - 2, checked.size());
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
