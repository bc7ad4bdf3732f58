// Photograph costs measured side by side on a 24-megapixel chart written at start as JPEG and as
// TIFF: the fitted thumbnail load against libjpeg-turbo's own 1/8 decode, the chart measurement
// against the plain decode of the same file into one reused row (its floor; the decode into a
// fresh whole-picture buffer is shown for information), and the corner search in its worst case (no marker
// anywhere) against the direct window-by-window scan. Each pair runs alternately in the same
// iterations; the ratio of the two fastest runs is printed with its target (other work on the
// machine only ever adds time, so the fastest run is the steadiest figure; medians are shown too).
#include "profilelib/ZarnLib_ChartCorners.h"
#include "profilelib/ZarnLib_ChartMeasure.h"
#include "profilelib/ZarnLib_Image.h"
#include "profilelib/ZarnLib_Profile.h"
#include "tests/support/ZarnTest_ChartPhoto.h"
#include "tests/support/ZarnTest_DirectCornerScan.h"
#include "tests/support/ZarnTest_ExifWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <tiffio.h>
#include <unistd.h>

namespace {

constexpr int kPhotoW = 6000, kPhotoH = 4000;

struct Files {
    std::filesystem::path dir;
    std::string jpeg, tiff;
    POINT corners[4]{};
    int kind = 3;
};

Files& TheFiles()
{
    static Files f;
    return f;
}

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

bool MakeFiles()
{
    Files& f = TheFiles();
    f.dir = std::filesystem::temp_directory_path() / ("zarn_bench_images_" + std::to_string(::getpid()));
    std::filesystem::create_directories(f.dir);
    f.jpeg = (f.dir / "chart.jpg").string();
    f.tiff = (f.dir / "chart.tif").string();
    ZarnTest_ChartSpec drawing;
    drawing.kind = f.kind;
    drawing.width = kPhotoW;
    drawing.height = kPhotoH;
    drawing.chartFraction = 0.8;
    drawing.crossArm = 150;
    drawing.crossHalfWidth = 20;
    drawing.stripePeriod = 60;
    drawing.toneCurve = [](double ev) { return 20 + 200 / (1 + std::exp(-ev)); };
    ZarnTest_ChartPoint truth[4];
    auto bitmap = ZarnTest_ChartPhoto::Render(drawing, truth);
    if (!bitmap)
        return false;
    for (int k = 0; k < 4; ++k)
        f.corners[k] = POINT{static_cast<LONG>(std::lround(truth[k].x)), static_cast<LONG>(std::lround(truth[k].y))};
    ZarnTest_ExifWriter writer(false);
    writer.AddExposure(100, 1, 125, 56, 10);
    return writer.WriteJpeg(*bitmap, f.jpeg, 92) && writer.WriteTiff(*bitmap, f.tiff);
}

// libjpeg-turbo on its own: plain jpeg_read_scanlines at 1/denom, into one RGB buffer for the
// whole picture, or into one reused row (the floor of any pass over a JPEG's rows: the decode
// itself, without the page faults of a fresh picture-sized buffer).
struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void JumpOnError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1); }

std::size_t PlainJpegDecode(const std::string& path, unsigned denom, bool oneRow = false)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return 0;
    jpeg_decompress_struct cinfo{};
    JpegError err{};
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JumpOnError;
    std::vector<unsigned char> pixels;
    std::size_t size = 0;
    if (setjmp(err.jump) == 0) {
        jpeg_create_decompress(&cinfo);
        jpeg_stdio_src(&cinfo, file);
        jpeg_read_header(&cinfo, TRUE);
        cinfo.scale_num = 1;
        cinfo.scale_denom = denom;
        jpeg_start_decompress(&cinfo);
        const std::size_t stride = static_cast<std::size_t>(cinfo.output_width) * cinfo.output_components;
        pixels.resize(oneRow ? stride : stride * cinfo.output_height);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = pixels.data() + (oneRow ? 0 : stride * cinfo.output_scanline);
            jpeg_read_scanlines(&cinfo, &row, 1);
            benchmark::DoNotOptimize(row);
        }
        jpeg_finish_decompress(&cinfo);
        size = stride * cinfo.output_height;
    }
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    benchmark::DoNotOptimize(pixels.data());
    return size;
}

// libtiff on its own: the file's scanlines as stored, into one buffer for the picture or into one
// reused row.
std::size_t PlainTiffDecode(const std::string& path, bool oneRow = false)
{
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif)
        return 0;
    std::uint32_t width = 0, height = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    const auto stride = static_cast<std::size_t>(TIFFScanlineSize(tif));
    std::vector<unsigned char> pixels(oneRow ? stride : stride * height);
    std::size_t size = stride * height;
    for (std::uint32_t y = 0; y < height; ++y) {
        if (TIFFReadScanline(tif, pixels.data() + (oneRow ? 0 : stride * y), y, 0) != 1) {
            size = 0;
            break;
        }
    }
    TIFFClose(tif);
    benchmark::DoNotOptimize(pixels.data());
    return size;
}

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Ratio {
    std::string name;
    double value;
    double target;
    bool atMost; // true: the ratio must not exceed the target; false: it must reach it
};

std::vector<Ratio>& Ratios()
{
    static std::vector<Ratio> r;
    return r;
}

// Runs `ours` and `reference` alternately in every iteration and records min(ours) /
// min(reference), or the inverse when `speedup` is set.
void SideBySide(benchmark::State& state, const std::string& name, double target, bool speedup,
                const std::function<bool()>& ours, const std::function<bool()>& reference)
{
    std::vector<double> a, b;
    bool ok = ours() && reference(); // warm the page cache and the allocator once
    for (auto _ : state) {
        const bool oursFirst = state.iterations() % 2 == 0;
        if (oursFirst)
            a.push_back(Seconds([&] { ok = ours() && ok; }));
        b.push_back(Seconds([&] { ok = reference() && ok; }));
        if (!oursFirst)
            a.push_back(Seconds([&] { ok = ours() && ok; }));
    }
    if (!ok) {
        state.SkipWithError("an operation failed");
        return;
    }
    const double fastA = *std::min_element(a.begin(), a.end());
    const double fastB = *std::min_element(b.begin(), b.end());
    const double ratio = speedup ? fastB / fastA : fastA / fastB;
    state.counters["ours_ms"] = fastA * 1e3;
    state.counters["reference_ms"] = fastB * 1e3;
    state.counters["ours_median_ms"] = Median(a) * 1e3;
    state.counters["reference_median_ms"] = Median(b) * 1e3;
    state.counters["ratio"] = ratio;
    Ratios().push_back({name, ratio, target, !speedup});
}

void FittedLoad(benchmark::State& state)
{
    const std::string& path = TheFiles().jpeg;
    SideBySide(
        state, "fitted 420x280 JPEG load / libjpeg-turbo 1/8 decode", 1.3, false,
        [&] {
            ZarnLib_Image image;
            image.Reset();
            RECT rect{};
            double scale = 0;
            return image.Load(Wide(path), kImageLoadFit | kImageLoadExif, 420, 280, &rect, &scale) == 0;
        },
        [&] { return PlainJpegDecode(path, 8) > 0; });
}

// Information beside the target: the measurement, which streams the rows and keeps no picture,
// against the library's own full-resolution load into the whole 32-bit bitmap.
void MeasureOverLoad(benchmark::State& state, bool jpeg)
{
    const Files& f = TheFiles();
    const std::string& path = jpeg ? f.jpeg : f.tiff;
    ZarnLib_PatchKey key;
    key.SetIso(100);
    key.SetChartKind(f.kind);
    SideBySide(
        state, std::string("MeasureChartPhoto / ZarnLib_Image full load, ") + (jpeg ? "JPEG" : "TIFF"), 0, false,
        [&] {
            ZarnLib_Profile profile;
            return MeasureChartPhoto(Wide(path), f.corners[0], f.corners[1], f.corners[2], f.corners[3], f.kind, key,
                                     ZarnLib_EntryKey(), &profile) == 0;
        },
        [&] {
            ZarnLib_Image image;
            image.Reset();
            return image.Load(Wide(path), 0, 0, 0, nullptr, nullptr) == 0;
        });
}

void Measure(benchmark::State& state, bool jpeg)
{
    const Files& f = TheFiles();
    const std::string& path = jpeg ? f.jpeg : f.tiff;
    ZarnLib_PatchKey key;
    key.SetIso(100);
    key.SetChartKind(f.kind);
    SideBySide(
        state, std::string("MeasureChartPhoto / full decode, ") + (jpeg ? "JPEG" : "TIFF"), 0, false,
        [&] {
            ZarnLib_Profile profile;
            return MeasureChartPhoto(Wide(path), f.corners[0], f.corners[1], f.corners[2], f.corners[3], f.kind, key,
                                     ZarnLib_EntryKey(), &profile) == 0;
        },
        [&] { return (jpeg ? PlainJpegDecode(path, 1) : PlainTiffDecode(path)) > 0; });
}

// The measurement against the floor every pass over the photograph pays: the plain decode of the
// same file into one reused row. A ratio near 1 says the measurement costs little beyond reading.
void MeasureOverFloor(benchmark::State& state, bool jpeg)
{
    const Files& f = TheFiles();
    const std::string& path = jpeg ? f.jpeg : f.tiff;
    ZarnLib_PatchKey key;
    key.SetIso(100);
    key.SetChartKind(f.kind);
    SideBySide(
        state, std::string("MeasureChartPhoto / decode into one reused row, ") + (jpeg ? "JPEG" : "TIFF"), 1.3, false,
        [&] {
            ZarnLib_Profile profile;
            return MeasureChartPhoto(Wide(path), f.corners[0], f.corners[1], f.corners[2], f.corners[3], f.kind, key,
                                     ZarnLib_EntryKey(), &profile) == 0;
        },
        [&] { return (jpeg ? PlainJpegDecode(path, 1, true) : PlainTiffDecode(path, true)) > 0; });
}

// A picture without any marker, mid grey with noise. For the cross test the noise is small, so
// every window matches its centre and is refused only by its contrast; for the uniform test it is
// wide enough that no window is uniform.
std::string MarkerlessFile(int w, int h, int amplitude)
{
    const std::string path =
        (TheFiles().dir / ("plain_" + std::to_string(w) + "_" + std::to_string(amplitude) + ".tif")).string();
    if (std::filesystem::exists(path))
        return path;
    auto bitmap = ZarnLib_Bitmap::Create(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h),
                                         ZarnLib_Bitmap::kFormat24bppRGB);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-amplitude, amplitude);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const auto v = [&] { return static_cast<std::uint32_t>(128 + noise(random)); };
            bitmap->Row(static_cast<std::uint32_t>(y))[x] = 0xFF000000u | (v() << 16) | (v() << 8) | v();
        }
    }
    ZarnTest_ExifWriter(false).WriteTiff(*bitmap, path);
    return path;
}

void CornersWorstCase(benchmark::State& state)
{
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const int kind = static_cast<int>(state.range(2));
    ZarnLib_Image image;
    image.Reset();
    if (image.Load(Wide(MarkerlessFile(w, h, UsesCrossMarker(kind) ? 8 : 40)), kImageLoadPlanes, 0, 0, nullptr, nullptr) != 0) {
        state.SkipWithError("load failed");
        return;
    }
    const std::string name = "direct scan / FindChartCorners, " + std::to_string(w) + "x" + std::to_string(h) +
                             " window " + std::to_string(MarkerWindowSize(kind));
    SideBySide(
        state, name, 50, true,
        [&] {
            POINT p[4] = {};
            return !FindChartCorners(&image, kind, &p[0], &p[1], &p[2], &p[3]);
        },
        [&] {
            POINT p[4] = {};
            return !ZarnTest_DirectCornerScan::Find(&image, kind, &p[0], &p[1], &p[2], &p[3]);
        });
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (!MakeFiles()) {
        std::fprintf(stderr, "could not write the chart photographs\n");
        return 2;
    }
    benchmark::RegisterBenchmark("FittedLoad/jpeg", FittedLoad)->Iterations(15)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Measure/jpeg", Measure, true)->Iterations(9)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Measure/tiff", Measure, false)->Iterations(9)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("MeasureOverFloor/jpeg", MeasureOverFloor, true)->Iterations(9)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("MeasureOverFloor/tiff", MeasureOverFloor, false)->Iterations(9)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("MeasureOverLoad/jpeg", MeasureOverLoad, true)->Iterations(3)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("MeasureOverLoad/tiff", MeasureOverLoad, false)->Iterations(3)->Unit(benchmark::kMillisecond);
    // Window 21 is the cross test (kind 1), window 35 the uniform test (kind 4).
    for (int kind : {1, 4}) {
        benchmark::RegisterBenchmark("CornersWorstCase", CornersWorstCase)
            ->Args({420, 280, kind})
            ->Iterations(5)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("CornersWorstCase", CornersWorstCase)
            ->Args({1280, 853, kind})
            ->Iterations(2)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    bool allMet = true;
    std::printf("\nRatios (fastest runs, measured side by side):\n");
    for (const Ratio& r : Ratios()) {
        if (r.target == 0) {
            std::printf("  %-62s %8.2f  (for information)\n", r.name.c_str(), r.value);
            continue;
        }
        const bool met = r.atMost ? r.value <= r.target : r.value >= r.target;
        allMet = allMet && met;
        std::printf("  %-62s %8.2f  (target %s %g) %s\n", r.name.c_str(), r.value, r.atMost ? "at most" : "at least",
                    r.target, met ? "met" : "MISSED");
    }
    std::error_code ec;
    std::filesystem::remove_all(TheFiles().dir, ec);
    return allMet ? 0 : 1;
}
