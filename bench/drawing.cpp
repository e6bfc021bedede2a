// A million mapped LineTo calls through the drawing context, onto a full-HD raster surface and
// onto the recording surface. The path is a random walk of short segments, like flattened
// curves of a sign design: a metre of design fitted to the screen's height.
#include "pivora/framework/jox_dc.h"
#include "platform/graphics/surface.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kLines = 1000000;

std::vector<POINT> Walk() {
    std::vector<POINT> pts(kLines);
    uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % 40001) - 20000; // up to 2 cm per step
    };
    LONG x = 500000, y = 500000;
    for (POINT& p : pts) {
        x = std::clamp<LONG>(x + next(), 0, 1700000);
        y = std::clamp<LONG>(y + next(), 0, 1000000);
        p = POINT{x, y};
    }
    return pts;
}

struct SurfaceDC : CJoxDC {
    explicit SurfaceDC(platform::Surface& s) {
        Attach(platform::CreateSurfaceDC(&s));
        SetMapMode(1);
        SetWindowExt(1000000, 1000000);
        SetViewportExt(1080, -1080);
        SetViewportOrg(0, 1080);
    }
};

void Draw(SurfaceDC& dc, const std::vector<POINT>& pts) {
    dc.MoveTo(pts[0]);
    for (const POINT& p : pts)
        dc.LineTo(p.x, p.y);
}

void BM_MappedLineToRaster(benchmark::State& state) {
    static const std::vector<POINT> pts = Walk();
    platform::RasterSurface surface(1920, 1080);
    SurfaceDC dc(surface);
    for (auto _ : state) {
        Draw(dc, pts);
        surface.Flush();
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_MappedLineToRaster)->Unit(benchmark::kMillisecond);

void BM_MappedLineToRecording(benchmark::State& state) {
    static const std::vector<POINT> pts = Walk();
    platform::RecordingSurface surface(1920, 1080);
    SurfaceDC dc(surface);
    for (auto _ : state) {
        Draw(dc, pts);
        state.PauseTiming();
        surface.Clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_MappedLineToRecording)->Unit(benchmark::kMillisecond);

} // namespace
