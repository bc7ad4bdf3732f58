// A sound exposure series gives the same profile file, byte for byte, as it always has: the checks
// that refuse broken series and pictures that are not the chart must leave such a series alone.
// The series are JPEG and TIFF, upright, rotated, noisy and slightly blurred; the hashes pin the
// saved file of each.
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ZarnTest_PhotoFlaws.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"
#include "ui/wizard/WizardCalculation.h"
#include "ui/wizard/WizardData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>

using namespace wizardtest;

namespace {

struct SoundSeries {
    const char* name;
    int kind;
    bool jpeg;
    double angle;
    int noise;  // largest added level, 0 for none
    bool blur;  // a 3 x 3 box blur
    std::uint64_t hash;
};

std::uint64_t Fnv1a(const std::string& bytes)
{
    std::uint64_t hash = 1469598103934665603ull;
    for (const unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

void ChooseChart(WizardData& data, int kind)
{
    data.target = kind == 1 ? 0 : kind == 2 ? 1 : kind == 6 ? 5 : 2;
    data.colorCheckerVariant = kind == 4 ? 0 : kind == 5 ? 2 : 1;
}

class SoundSeriesBytes : public ::testing::TestWithParam<SoundSeries> {};

TEST_P(SoundSeriesBytes, ProfileFileIsTheSameAsBefore)
{
    const SoundSeries& c = GetParam();
    ScratchFolder folder;
    WizardData data;
    ChooseChart(data, c.kind);
    const std::vector<double> exposures = Exposures(c.kind);
    for (std::size_t i = 0; i < exposures.size(); ++i) {
        ZarnTest_ChartSpec drawing = Drawing(c.kind, exposures[i]);
        drawing.angle = c.angle;
        // A turned chart must keep its markers inside the photograph.
        if (c.angle != 0.0)
            drawing.chartFraction *= 0.8;
        ZarnTest_ChartPoint truth[4];
        auto bitmap = ZarnTest_ChartPhoto::Render(drawing, truth);
        ASSERT_TRUE(bitmap);
        if (c.noise > 0)
            photoflaws::AddGrain(*bitmap, c.noise, static_cast<std::uint32_t>(i + 1));
        if (c.blur)
            photoflaws::BoxBlur(*bitmap);
        const std::string path = folder.File("photo" + std::to_string(i) + (c.jpeg ? ".jpg" : ".tif"));
        const double seconds = std::pow(2.0, exposures[i] - 4);
        ZarnTest_ExifWriter writer(false);
        writer.AddExposure(100, 100000, static_cast<std::uint32_t>(std::lround(100000 / seconds)), 56, 10);
        ASSERT_TRUE(c.jpeg ? writer.WriteJpeg(*bitmap, path, 92) : writer.WriteTiff(*bitmap, path));
        ExifInputValues record;
        record.path = path;
        record.isoFromExif = record.shutterFromExif = record.apertureFromExif = 1;
        record.iso = 100;
        record.shutterIndex = ShutterIndexOf(exposures[i]);
        record.apertureIndex = FNumberToApertureIndex(5.6);
        record.checked = record.cornersConfirmed = 1;
        record.scale = 1.0;
        for (int k = 0; k < 4; ++k)
            record.corners[k] = POINT{static_cast<LONG>(std::lround(truth[k].x)), static_cast<LONG>(std::lround(truth[k].y))};
        data.chosenPhotos.push_back(new CKZARN_WizFileData(path, record));
    }

    ZarnLib_Profile profile;
    int resultCode = -1;
    WizardCalculation calculation(&data, &profile, WizardUserLevels{30, 45, 120, 135, 80}, 1);
    ASSERT_EQ(0, calculation.Run(nullptr, &resultCode));
    EXPECT_EQ(WizardCalculation::kResultOk, resultCode);
    profile.SetVersion(3);
    profile.SetSubVersion(0);
    profile.SetChartKind(data.target + 1);
    const std::string saved = folder.File("result.kpf");
    const ZarnLibString savedPath(saved.c_str());
    ASSERT_EQ(0, SaveProfile(&savedPath, &profile));
    std::ifstream in(saved, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(c.hash, Fnv1a(bytes)) << std::hex << Fnv1a(bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Series, SoundSeriesBytes,
    ::testing::Values(SoundSeries{"GradusI_jpeg", 1, true, 0.0, 0, false, 0xf50ded1730204b53ull},
                      SoundSeries{"GradusI_tiff_turned_noisy", 1, false, 7.0, 6, false, 0x6df8ac3fcb9e74e3ull},
                      SoundSeries{"GradusII_jpeg_turned_blurred", 2, true, -4.0, 0, true, 0xec6c834d2db23106ull},
                      SoundSeries{"GradusII_tiff", 2, false, 0.0, 0, false, 0xec6c834d2db23106ull},
                      SoundSeries{"Classic_jpeg_noisy", 3, true, 0.0, 8, false, 0xabe335bef4501bf6ull},
                      SoundSeries{"Spyder_tiff_blurred", 6, false, 3.0, 4, true, 0x97faa05cf86da7b8ull}),
    [](const ::testing::TestParamInfo<SoundSeries>& param) { return std::string(param.param.name); });

} // namespace
