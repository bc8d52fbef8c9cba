// SPDX-License-Identifier: GPL-3.0-or-later
// The same renderer timings on the default skin that tools/skingen draws into the build tree
// (the pictures the programs load), next to the synthetic skin of skin_bench.cpp. Another skin
// directory can be measured with KESTRELON_BENCH_SKIN=DIR.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/monitor_state.h"
#include "core/timing.h"
#include "skin/geometry.h"
#include "skin/skin_check.h"
#include "skin/skin_renderer.h"
#include "skin/window_shape.h"
#include "skin/wing_slides.h"

#ifndef KESTRELON_BENCH_SKIN_DIR
#define KESTRELON_BENCH_SKIN_DIR ""
#endif

namespace kestrelon {
namespace {

std::filesystem::path skinDir() {
    if (const char* dir = std::getenv("KESTRELON_BENCH_SKIN"); dir && *dir) return dir;
    return KESTRELON_BENCH_SKIN_DIR;
}

bool skinPresent(benchmark::State& st) {
    if (std::filesystem::exists(skinDir() / "mainback.bmp")) return true;
    st.SkipWithError(("no skin in '" + skinDir().string() + "'").c_str());
    return false;
}

// The outline from mainback.bmp as decoded: the runs and the region made of them.
void BM_DefaultSkin_WindowRegion(benchmark::State& st) {
    if (!skinPresent(st)) return;
    const QImage skin = QImage(QString::fromStdString((skinDir() / "mainback.bmp").string()))
                            .convertToFormat(QImage::Format_RGB32);
    std::size_t runs = 0;
    int rects = 0;
    for (auto _ : st) {
        const std::vector<RegionRun> r = MakeRegionFromMask(skin);
        QRegion region = RegionFromRuns(r);
        benchmark::DoNotOptimize(region);
        runs = r.size();
        rects = region.rectCount();
    }
    st.counters["runs"] = static_cast<double>(runs);
    st.counters["rects"] = rects;
}
BENCHMARK(BM_DefaultSkin_WindowRegion)->Unit(benchmark::kMicrosecond);

// What the program asks for at start-up: the renderer's region of the loaded skin.
void BM_DefaultSkin_RendererWindowRegion(benchmark::State& st) {
    if (!skinPresent(st)) return;
    MonitorState state;
    VirtualTime time;
    SkinRenderer renderer(state, skinDir(), time, {});
    renderer.DrawAllPanels();
    for (auto _ : st) benchmark::DoNotOptimize(renderer.WindowRegion());
}
BENCHMARK(BM_DefaultSkin_RendererWindowRegion)->Unit(benchmark::kMicrosecond);

void BM_DefaultSkin_RefreshSkin(benchmark::State& st) {
    if (!skinPresent(st)) return;
    MonitorState state;
    VirtualTime time;
    SkinRenderer renderer(state, skinDir(), time, {});
    renderer.DrawAllPanels();
    for (auto _ : st) {
        renderer.RefreshSkin();
        benchmark::DoNotOptimize(renderer.windowPicture().constBits());
    }
}
BENCHMARK(BM_DefaultSkin_RefreshSkin)->Unit(benchmark::kMicrosecond);

// One frame of a slide, averaged over every frame of the wing's opening and closing (its pause
// excluded). The argument is the wing's row in the wing table.
void BM_DefaultSkin_WingFrame(benchmark::State& st) {
    if (!skinPresent(st)) return;
    MonitorState state;
    VirtualTime time;
    SkinRenderer renderer(state, skinDir(), time, {});
    renderer.DrawAllPanels();
    const geo::Wing& wing = geo::kWings[static_cast<std::size_t>(st.range(0))];
    struct Frame {
        geo::Point at;
        bool open;
    };
    std::vector<Frame> frames;
    for (geo::Point p : WingSlidePositions(wing, kWingOpening)) frames.push_back({p, true});
    for (geo::Point p : WingSlidePositions(wing, kWingClosing)) frames.push_back({p, false});
    std::size_t i = 0;
    for (auto _ : st) {
        renderer.DrawWingFrame(wing.id, frames[i].at, frames[i].open);
        i = (i + 1) % frames.size();
        benchmark::DoNotOptimize(renderer.windowPicture().constBits());
    }
    st.counters["frames"] = static_cast<double>(frames.size());
}
BENCHMARK(BM_DefaultSkin_WingFrame)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// Start-up's pieces on this skin: the check that every skin file decodes, and the renderer's
// first full draw (every picture read from disk into a fresh picture store).
void BM_DefaultSkin_CheckSkin(benchmark::State& st) {
    if (!skinPresent(st)) return;
    std::size_t problems = 0;
    for (auto _ : st) problems = CheckSkin(skinDir()).size();
    st.counters["problems"] = static_cast<double>(problems);
}
BENCHMARK(BM_DefaultSkin_CheckSkin)->Unit(benchmark::kMillisecond);

void BM_DefaultSkin_FirstDraw(benchmark::State& st) {
    if (!skinPresent(st)) return;
    MonitorState state;
    VirtualTime time;
    for (auto _ : st) {
        SkinRenderer renderer(state, skinDir(), time, {});
        renderer.DrawAllPanels();
        benchmark::DoNotOptimize(renderer.windowPicture().constBits());
    }
}
BENCHMARK(BM_DefaultSkin_FirstDraw)->Unit(benchmark::kMillisecond);

// Hiding the window packs the drawn surfaces; showing it, or drawing out of sight, unpacks them.
// One iteration is one pack and one unpack, after every panel was drawn.
void BM_DefaultSkin_PackAndUnpackSurfaces(benchmark::State& st) {
    if (!skinPresent(st)) return;
    MonitorState state;
    VirtualTime time;
    SkinRenderer renderer(state, skinDir(), time, {});
    renderer.DrawAllPanels();
    for (auto _ : st) {
        renderer.PackSurfaces();
        renderer.UnpackSurfaces();
        benchmark::DoNotOptimize(renderer.windowPicture().constBits());
    }
}
BENCHMARK(BM_DefaultSkin_PackAndUnpackSurfaces)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrelon
