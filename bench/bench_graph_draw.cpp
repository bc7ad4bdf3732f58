// Graph drawing cost measured side by side: one graph of layout 0 at 1000 x 800 with all five points
// and three measured curves, against filling the same image with one QPainter::fillRect, and the
// interactive window's whole repaint during a drag (off-screen image, graph, triangles, one copy)
// against the same fill. Each pair runs alternately in the same iterations; the ratio of the two
// fastest runs is printed (other work on the machine only ever adds time). A drag repaints on every
// mouse move, so the ratio is the figure to keep low.
#include "ui/views/CET_GraphDraw.h"
#include "ui/views/CKZARN_GparhWindow.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 800;

struct Ratio {
    std::string name;
    double value;
};

std::vector<Ratio>& Ratios()
{
    static std::vector<Ratio> r;
    return r;
}

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Three S-shaped curves of 61 points each, as a measured profile gives them.
std::vector<CET_GraphLine> Curves()
{
    std::vector<CET_GraphLine> curves(3);
    for (int c = 0; c < 3; ++c) {
        curves[c].colour = 0x800000 + static_cast<COLORREF>(c) * 0x40;
        for (int i = 0; i <= 60; ++i) {
            const double ev = -7.5 + i * 0.25 + c * 0.3;
            const double level = 255.0 / (1.0 + std::exp(-ev * 0.8));
            curves[c].points.push_back(CET_PointW{ev, level, i == 0 ? 0 : 1});
        }
    }
    return curves;
}

void SideBySide(benchmark::State& state, const std::string& name, const std::function<void()>& ours,
                const std::function<void()>& reference)
{
    std::vector<double> a, b;
    ours();
    reference();
    for (auto _ : state) {
        const bool oursFirst = state.iterations() % 2 == 0;
        if (oursFirst)
            a.push_back(Seconds(ours));
        b.push_back(Seconds(reference));
        if (!oursFirst)
            a.push_back(Seconds(ours));
    }
    const double fastA = *std::min_element(a.begin(), a.end());
    const double fastB = *std::min_element(b.begin(), b.end());
    state.counters["ours_ms"] = fastA * 1e3;
    state.counters["fill_ms"] = fastB * 1e3;
    state.counters["ratio"] = fastA / fastB;
    Ratios().push_back({name, fastA / fastB});
}

void FillOnce(QImage& image)
{
    QPainter painter(&image);
    painter.fillRect(0, 0, kWidth, kHeight, Qt::white);
}

void GraphDraw(benchmark::State& state)
{
    std::vector<CET_GraphLine> curves = Curves();
    std::vector<CET_GraphLine*> pointers;
    for (CET_GraphLine& c : curves) {
        pointers.push_back(&c);
    }
    CharacteristicPoints points;
    CET_GraphDraw graph;
    graph.SetGraph(CET_GraphDraw::kWindow, "Profile", "Exposure (EV)", "Level", &pointers, &points, 0, nullptr, 30,
                   15);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    SideBySide(
        state, "graph layout 0, 1000 x 800, five points / one fillRect",
        [&] {
            QPainter painter(&image);
            graph.Draw(painter, RECT{0, 0, kWidth, kHeight});
        },
        [&] { FillOnce(image); });
}

void WindowRepaint(benchmark::State& state)
{
    std::vector<CET_GraphLine> curves = Curves();
    std::vector<CET_GraphLine*> pointers;
    for (CET_GraphLine& c : curves) {
        pointers.push_back(&c);
    }
    CharacteristicPoints points;
    CKZARN_GparhWindow window;
    window.resize(kWidth, kHeight);
    window.SetGraph(1, "Profile", "Exposure (EV)", "Level", &pointers, &points, 0, nullptr, 30, 15);
    window.m_nSelectedIndex = CharacteristicPoints::kDRM;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    SideBySide(
        state, "drag repaint (buffered, triangles), 1000 x 800 / one fillRect",
        [&] {
            QPainter painter(&image);
            window.OnPaint(painter);
        },
        [&] { FillOnce(image); });
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("GraphDraw", GraphDraw)->Iterations(60)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("WindowRepaint", WindowRepaint)->Iterations(60)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nRatios (fastest runs, measured side by side; keep low):\n");
    for (const Ratio& r : Ratios()) {
        std::printf("  %-66s %8.2f\n", r.name.c_str(), r.value);
    }
    return 0;
}
