// The wizard's calculation of 11 photographs of 24 megapixels (a Gradus I series written at start
// as JPEG) on its pool of threads, against the sum of the photographs' single MeasureChartPhoto
// times divided by min(cores, 11): how close the pool comes to an ideal spread of the work. Both
// run alternately in the same iterations; the ratio of the fastest runs is printed with its target.
#include "profilelib/ZarnLib_ChartMeasure.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnExif_File.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"
#include "ui/wizard/PhotoMeasurePool.h"
#include "ui/wizard/WizardCalculation.h"
#include "ui/wizard/WizardData.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kPhotoW = 6000, kPhotoH = 4000, kCount = 11;

struct Series {
    std::filesystem::path dir;
    WizardData data;
};

Series& TheSeries()
{
    static Series s;
    return s;
}

bool MakeSeries()
{
    Series& s = TheSeries();
    s.dir = std::filesystem::temp_directory_path() / ("zarn_bench_wizard_" + std::to_string(::getpid()));
    std::filesystem::create_directories(s.dir);
    s.data.target = 0;
    for (int i = 0; i < kCount; ++i) {
        const std::string path = (s.dir / ("photo" + std::to_string(i) + ".jpg")).string();
        auto photo = wizardtest::WritePhoto(path, 1, i - 5, true, kPhotoW, kPhotoH);
        if (!photo)
            return false;
        s.data.chosenPhotos.push_back(photo.release());
    }
    return true;
}

double Seconds(const std::function<bool()>& work, bool* ok)
{
    const auto start = std::chrono::steady_clock::now();
    *ok = work() && *ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double g_ratio = 0;
int g_threads = 0;

void CalculationOverSpread(benchmark::State& state)
{
    Series& s = TheSeries();
    g_threads = PhotoMeasurePool::DefaultThreadCount(s.data.chosenPhotos.size());
    const int spread = std::min<int>(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())), kCount);
    const auto calculation = [&] {
        ZarnLib_Profile profile;
        int code = -1;
        return WizardCalculation(&s.data, &profile, WizardUserLevels{}, g_threads).Run(nullptr, &code) == 0;
    };
    const auto singles = [&] {
        bool ok = true;
        for (const CKZARN_WizFileData* photo : s.data.chosenPhotos) {
            ZarnLib_Profile scratch;
            POINT c[4];
            photo->values.GetCornerPoints(c);
            ok = MeasureChartPhoto(ZarnExif_File::NativeToWide(photo->path), c[0], c[1], c[2], c[3], 1,
                                   WizardCalculation::TableKey(s.data),
                                   WizardCalculation::EntryKeyOf(s.data, photo->values), &scratch) == 0 &&
                 ok;
        }
        return ok;
    };
    double fastOurs = 1e30, fastSingles = 1e30;
    bool ok = true;
    for (auto _ : state) {
        const bool oursFirst = state.iterations() % 2 == 0;
        double ours = 0, sum = 0;
        if (oursFirst) {
            ours = Seconds(calculation, &ok);
            sum = Seconds(singles, &ok);
        } else {
            sum = Seconds(singles, &ok);
            ours = Seconds(calculation, &ok);
        }
        fastOurs = std::min(fastOurs, ours);
        fastSingles = std::min(fastSingles, sum);
    }
    if (!ok) {
        state.SkipWithError("a measurement failed");
        return;
    }
    g_ratio = fastOurs / (fastSingles / spread);
    state.counters["calculation_s"] = fastOurs;
    state.counters["singles_sum_s"] = fastSingles;
    state.counters["spread"] = spread;
    state.counters["ratio"] = g_ratio;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (!MakeSeries()) {
        std::fprintf(stderr, "could not write the chart photographs\n");
        return 2;
    }
    benchmark::RegisterBenchmark("Calculation11x24MP/jpeg", CalculationOverSpread)
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double target = 1.5;
    const bool met = g_ratio > 0 && g_ratio <= target;
    std::printf("\nRatios (fastest runs, measured side by side):\n");
    std::printf("  %-62s %8.2f  (target at most %g) %s\n",
                ("calculation / (sum of single measurements / min(cores, 11)), " + std::to_string(g_threads) +
                 " threads")
                    .c_str(),
                g_ratio, target, met ? "met" : "MISSED");
    std::error_code ec;
    std::filesystem::remove_all(TheSeries().dir, ec);
    return met ? 0 : 1;
}
