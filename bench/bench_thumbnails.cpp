// The thumbnail strip over a folder of 40 photographs of 24 megapixels (one chart photograph
// written at start as JPEG and copied 40 times): time to the first thumbnail against one fitted
// load, all thumbnails against 40 fitted loads divided by min(cores, 40), and the longest time the
// user-interface thread went without running its event loop while they loaded (the gaps between
// the ticks of a 1 ms timer). Strip passes and single fitted loads run alternately in the same
// iterations; the fastest runs are compared.
#include "platform/UsableCores.h"
#include "profilelib/ZarnExif_File.h"
#include "profilelib/ZarnLib_Image.h"
#include "profilelib/ZarnLib_ImageReader_Win.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"
#include "ui/wizard/CKZARN_ThumbnailWnd.h"
#include "ui/wizard/ExifInputValues.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include <unistd.h>

namespace {

constexpr int kCount = 40, kPhotoW = 6000, kPhotoH = 4000;

std::filesystem::path g_dir;
std::vector<std::string> g_paths;
double g_firstRatio = 0, g_allRatio = 0, g_stallMs = 0, g_fastFirst = 1e9, g_fastAll = 1e9, g_fastLoad = 1e9;

bool MakeFolder()
{
    g_dir = std::filesystem::temp_directory_path() / ("zarn_bench_thumbs_" + std::to_string(::getpid()));
    std::filesystem::create_directories(g_dir);
    const std::string first = (g_dir / "photo00.jpg").string();
    if (!wizardtest::WritePhoto(first, 1, 0.0, true, kPhotoW, kPhotoH))
        return false;
    g_paths.push_back(first);
    for (int i = 1; i < kCount; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "photo%02d.jpg", i);
        std::filesystem::copy_file(first, g_dir / name);
        g_paths.push_back((g_dir / name).string());
    }
    return true;
}

double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool AllLoaded(CKZARN_ThumbnailWnd& strip, bool* any)
{
    bool all = true;
    *any = false;
    for (int i = 0; i < strip.GetCount(); ++i) {
        ExifInputValues* record = strip.GetRecordAt(i);
        record->Lock();
        const bool loaded = record->loadResult != ExifInputValues::kNotLoaded;
        record->Unlock();
        all = all && loaded;
        *any = *any || loaded;
    }
    return all;
}

void BM_ThumbnailStrip(benchmark::State& state)
{
    QWidget parent;
    auto* strip = new CKZARN_ThumbnailWnd(&parent);
    strip->Create(0, RECT{1, 286, 720, 430}, &parent, 1102);
    strip->ResetLayout(0);
    const int width = strip->CellWidth() - 10, height = strip->CellHeight() - 53;
    const auto cores = static_cast<unsigned>(UsableCoreCount());
    for (auto _ : state) {
        // One fitted load, as the loader makes it.
        double start = Now();
        ZarnLib_Image image;
        image.Reset();
        RECT fit{};
        double scale = 0;
        image.Load(ZarnExif_File::NativeToWide(g_paths[0]), kImageLoadFit | kImageLoadExif, width, height, &fit,
                   &scale);
        g_fastLoad = std::min(g_fastLoad, Now() - start);

        // A pass of the strip. The event loop runs as it would under a user: a precise 1 ms timer
        // checks the records, and the longest gap between its ticks is the stall.
        start = Now();
        strip->SetFiles(g_paths);
        double first = 0, last = Now(), stall = 0;
        QEventLoop loop;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const double now = Now();
            stall = std::max(stall, now - last);
            last = now;
            bool any = false;
            const bool all = AllLoaded(*strip, &any);
            if (any && first == 0)
                first = now - start;
            if (all)
                loop.quit();
        });
        tick.start(1);
        loop.exec();
        tick.stop();
        QCoreApplication::processEvents();
        const double all = Now() - start;
        g_fastFirst = std::min(g_fastFirst, first);
        g_fastAll = std::min(g_fastAll, all);
        g_stallMs = std::max(g_stallMs, stall * 1000.0);
        strip->StopLoading();
    }
    g_firstRatio = g_fastFirst / g_fastLoad;
    g_allRatio = g_fastAll / (kCount * g_fastLoad / std::min<unsigned>(cores, kCount));
    state.counters["fitted_load_s"] = g_fastLoad;
    state.counters["first_thumbnail_s"] = g_fastFirst;
    state.counters["all_thumbnails_s"] = g_fastAll;
    state.counters["longest_stall_ms"] = g_stallMs;
}
BENCHMARK(BM_ThumbnailStrip)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!MakeFolder()) {
        std::fprintf(stderr, "could not write the photographs\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(g_dir, ec);
    const auto cores = static_cast<unsigned>(UsableCoreCount());
    std::printf("\nRatios (fastest runs, measured side by side; %u cores):\n", cores);
    std::printf("  %-62s %8.2f  (target at most 2) %s\n", "first thumbnail / one fitted load", g_firstRatio,
                g_firstRatio <= 2 ? "met" : "NOT met");
    std::printf("  %-62s %8.2f  (target at most 1.5) %s\n", "all thumbnails / (40 fitted loads / min(cores, 40))",
                g_allRatio, g_allRatio <= 1.5 ? "met" : "NOT met");
    std::printf("  %-62s %8.1f ms (goal under 50 ms) %s\n", "longest user-interface stall while loading", g_stallMs,
                g_stallMs < 50 ? "met" : "NOT met");
    return 0;
}
