// Measuring the photographs on several threads must leave the profile exactly as measuring them one
// after another: the same bytes of the saved result, the same progress, the same failure.
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "tests/support/ScratchFolder.h"
#include "profilelib/ZarnExif_File.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"
#include "ui/wizard/PhotoMeasurePool.h"
#include "ui/wizard/WizardCalculation.h"
#include "ui/wizard/WizardData.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

using namespace wizardtest;

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Outcome {
    int error = 0;
    int result = -1;
    std::vector<int> progress;
    std::string bytes;
};

Outcome RunAndSave(WizardData& data, int threads, const std::string& file)
{
    ZarnLib_Profile profile;
    profile.SetVersion(3);
    profile.SetSubVersion(0);
    Outcome outcome;
    // Progress arrives on the running thread only, so it needs no lock; the test checks its order.
    const std::thread::id runner = std::this_thread::get_id();
    outcome.error = WizardCalculation(&data, &profile, WizardUserLevels{30, 45, 120, 135, 80}, threads)
                        .Run(
                            [&](int done, int) {
                                EXPECT_EQ(runner, std::this_thread::get_id());
                                outcome.progress.push_back(done);
                            },
                            &outcome.result);
    const ZarnLibString path(file.c_str());
    if (SaveProfile(&path, &profile) == 0)
        outcome.bytes = ReadAll(file);
    return outcome;
}

TEST(CalculationThreads, ParallelRunSavesTheBytesOfASequentialRun)
{
    ScratchFolder folder;
    WizardData data;
    data.target = 0;
    // Mixed formats.
    const double exposures[] = {-3, -2, -1, 0, 1, 2, 3};
    for (int i = 0; i < 7; ++i) {
        const std::string path = folder.File("p" + std::to_string(i) + (i % 2 ? ".tif" : ".jpg"));
        data.chosenPhotos.push_back(WritePhoto(path, 1, exposures[i], i % 2 == 0).release());
        ASSERT_NE(nullptr, data.chosenPhotos.back());
    }
    const Outcome one = RunAndSave(data, 1, folder.File("one.kpf"));
    ASSERT_EQ(0, one.error);
    ASSERT_FALSE(one.bytes.empty());
    for (int threads : {2, 4, 7}) {
        const Outcome many = RunAndSave(data, threads, folder.File("many" + std::to_string(threads) + ".kpf"));
        EXPECT_EQ(one.error, many.error) << threads;
        EXPECT_EQ(one.result, many.result) << threads;
        EXPECT_EQ(one.progress, many.progress) << threads;
        EXPECT_TRUE(one.bytes == many.bytes) << threads << " threads changed the saved profile";
    }
}

// The pool on its own (the calculation refuses such a series after measuring it): photographs out
// of order and a repeated exposure join the profile as measured one after another (entries of
// equal EV keep their order of arrival), with the same curves and patches.
TEST(CalculationThreads, ParallelMeasurementJoinsAsASequentialOne)
{
    ScratchFolder folder;
    WizardData data;
    data.target = 0;
    const double exposures[] = {1, -2, 0, 2, -1, 0, 1};
    std::vector<PhotoMeasurePool::Job> jobs;
    for (int i = 0; i < 7; ++i) {
        const std::string path = folder.File("p" + std::to_string(i) + (i % 2 ? ".tif" : ".jpg"));
        data.chosenPhotos.push_back(WritePhoto(path, 1, exposures[i], i % 2 == 0).release());
        ASSERT_NE(nullptr, data.chosenPhotos.back());
        PhotoMeasurePool::Job job;
        job.entryKey = WizardCalculation::EntryKeyOf(data, data.chosenPhotos.back()->values);
        data.chosenPhotos.back()->values.GetCornerPoints(job.corners);
        job.path = ZarnExif_File::NativeToWide(path);
        job.chartKind = 1;
        job.tableKey = WizardCalculation::TableKey(data);
        jobs.push_back(std::move(job));
    }
    const auto measure = [&](int threads, const std::string& file, std::vector<ZarnLib_ChartSeriesCheck::Photo>* measured) {
        ZarnLib_Profile profile;
        profile.SetVersion(3);
        profile.SetSubVersion(0);
        EXPECT_EQ(0, PhotoMeasurePool::MeasureAll(jobs, threads, &profile, nullptr, nullptr, measured));
        const ZarnLibString path(file.c_str());
        return SaveProfile(&path, &profile) == 0 ? ReadAll(file) : std::string();
    };
    std::vector<ZarnLib_ChartSeriesCheck::Photo> oneMeasured;
    const std::string one = measure(1, folder.File("one.kpf"), &oneMeasured);
    ASSERT_FALSE(one.empty());
    ASSERT_EQ(7u, oneMeasured.size());
    for (int threads : {2, 4, 7}) {
        std::vector<ZarnLib_ChartSeriesCheck::Photo> manyMeasured;
        EXPECT_TRUE(one == measure(threads, folder.File("many" + std::to_string(threads) + ".kpf"), &manyMeasured))
            << threads << " threads changed the measured profile";
        ASSERT_EQ(oneMeasured.size(), manyMeasured.size());
        for (std::size_t i = 0; i < oneMeasured.size(); ++i) {
            EXPECT_TRUE(oneMeasured[i].curve.IsEqual(manyMeasured[i].curve)) << i;
            EXPECT_EQ(oneMeasured[i].flatness.InnerChange(), manyMeasured[i].flatness.InnerChange()) << i;
        }
    }
}

TEST(CalculationThreads, ParallelRunStopsAtTheSameFailure)
{
    ScratchFolder folder;
    WizardData data;
    data.target = 1;
    for (int i = 0; i < 5; ++i) {
        const std::string path = folder.File("p" + std::to_string(i) + ".jpg");
        data.chosenPhotos.push_back(WritePhoto(path, 2, i - 2, true).release());
        ASSERT_NE(nullptr, data.chosenPhotos.back());
    }
    std::ofstream(data.chosenPhotos[2]->path, std::ios::binary | std::ios::trunc) << "no picture";
    const Outcome one = RunAndSave(data, 1, folder.File("one.kpf"));
    const Outcome many = RunAndSave(data, 4, folder.File("many.kpf"));
    EXPECT_NE(0, one.error);
    EXPECT_EQ(one.error, many.error);
    EXPECT_EQ(WizardCalculation::kResultFailed, many.result);
    EXPECT_EQ((std::vector<int>{1, 2}), many.progress);
    EXPECT_TRUE(one.bytes == many.bytes);
}

} // namespace
