// The wizard's calculation of 11 photographs of 24 megapixels (a Gradus I series written at start
// as JPEG) on its pool of threads, against the sum of the photographs' single MeasureChartPhoto
// times divided by min(cores, 11): how close the pool comes to an ideal spread of the work. The
// machine itself never spreads work ideally (shared caches, memory bandwidth, turbo clocks, other
// loads), so the same spread is measured on plain arithmetic on the same threads, and the judged
// ratio is the calculation's spread over the machine's: the pool's own cost. Everything runs
// alternately in the same iterations; the ratios of the fastest runs are printed.
#include "platform/UsableCores.h"
#include "profilelib/ZarnLib_ChartMeasure.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnExif_File.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"
#include "ui/wizard/PhotoMeasurePool.h"
#include "ui/wizard/WizardCalculation.h"
#include "ui/wizard/WizardData.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <functional>
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

// A fixed piece of arithmetic, the size of one photograph's measurement, to see how much of the
// machine the threads get: the same spread measured on work that shares nothing.
double Busy()
{
    double x = 0;
    for (int i = 1; i < 6000000; ++i)
        x += 1.0 / i;
    return x;
}

double g_machine = 0;
double g_ratio = 0;
double g_sequentialRatio = 0;
int g_threads = 0;

void CalculationOverSpread(benchmark::State& state)
{
    Series& s = TheSeries();
    g_threads = PhotoMeasurePool::DefaultThreadCount(s.data.chosenPhotos.size());
    const int spread = std::min<int>(UsableCoreCount(), kCount);
    const auto calculationOn = [&](int threads) {
        ZarnLib_Profile profile;
        int code = -1;
        return WizardCalculation(&s.data, &profile, WizardUserLevels{}, threads).Run(nullptr, &code) == 0;
    };
    const auto calculation = [&] { return calculationOn(g_threads); };
    const auto sequential = [&] { return calculationOn(1); };
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
    double fastOurs = 1e30, fastSingles = 1e30, fastSequential = 1e30, fastBusyPool = 1e30, fastBusyOne = 1e30;
    const auto busyOne = [&] {
        volatile double sink = 0;
        for (int i = 0; i < kCount; ++i)
            sink = sink + Busy();
        return true;
    };
    const auto busyPool = [&] {
        std::vector<std::thread> pool;
        std::atomic<int> next{0};
        for (int t = 0; t < g_threads; ++t)
            pool.emplace_back([&] {
                volatile double sink = 0;
                while (next.fetch_add(1) < kCount)
                    sink = sink + Busy();
            });
        for (std::thread& t : pool)
            t.join();
        return true;
    };
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
        fastSequential = std::min(fastSequential, Seconds(sequential, &ok));
        fastBusyOne = std::min(fastBusyOne, Seconds(busyOne, &ok));
        fastBusyPool = std::min(fastBusyPool, Seconds(busyPool, &ok));
        fastSingles = std::min(fastSingles, sum);
    }
    if (!ok) {
        state.SkipWithError("a measurement failed");
        return;
    }
    g_ratio = fastOurs / (fastSingles / spread);
    g_sequentialRatio = fastSequential / fastSingles;
    g_machine = fastBusyPool / (fastBusyOne / spread);
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

    const double target = 1.1;
    const double judged = g_machine > 0 ? g_ratio / g_machine : 0;
    const bool met = judged > 0 && judged <= target;
    std::printf("\nRatios (fastest runs, measured side by side):\n");
    std::printf("  %-62s %8.2f  (target at most %g) %s\n", "calculation ratio / plain arithmetic ratio", judged,
                target, met ? "met" : "MISSED");
    std::printf("  %-62s %8.2f  (for information)\n",
                ("calculation / (sum of single measurements / min(cores, 11)), " + std::to_string(g_threads) +
                 " threads")
                    .c_str(),
                g_ratio);
    std::printf("  %-62s %8.2f  (for information)\n", "calculation on one thread / sum of single measurements",
                g_sequentialRatio);
    std::printf("  %-62s %8.2f  (for information: the machine's own spread now)\n",
                "plain arithmetic, same threads / (one thread / min(cores, 11))", g_machine);
    std::error_code ec;
    std::filesystem::remove_all(TheSeries().dir, ec);
    return met ? 0 : 1;
}
