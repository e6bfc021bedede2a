// The display on the offscreen platform: presenting a full 1920 x 1080 back buffer, 200 small
// dirty rectangles, and mouse moves from the Qt event to the model's message to an XOR band
// on the screen.
#include "platform/display/display.h"
#include "platform/windowing/message.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

struct Band {
    POINT anchor{0, 0}, last{0, 0};
    bool shown = false;
} g_band;

void XorBand(HWND h) {
    HDC dc = GetDC(h);
    SetROP2(dc, R2_XORPEN);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0xC0, 0xC0, 0xC0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, g_band.anchor.x, g_band.anchor.y, g_band.last.x, g_band.last.y);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    ReleaseDC(h, dc);
}

LRESULT BenchProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
    case WM_LBUTTONDOWN:
        SetCapture(h);
        g_band.anchor = g_band.last = p;
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() != h)
            return 0;
        if (g_band.shown)
            XorBand(h);
        g_band.last = p;
        XorBand(h);
        g_band.shown = true;
        return 0;
    case WM_LBUTTONUP:
        if (g_band.shown)
            XorBand(h);
        g_band.shown = false;
        ReleaseCapture();
        return 0;
    default:
        return DefWindowProcW(h, msg, wp, lp);
    }
}

HWND Screen() {
    static HWND h = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "bench_display";
        static char* argv[] = {name, nullptr};
        platform::display::Start(argc, argv);
        WNDCLASSW cls{};
        cls.lpfnWndProc = BenchProc;
        cls.lpszClassName = L"BenchScreen";
        RegisterClassW(&cls);
        HWND w = CreateWindowExW(0, L"BenchScreen", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 1920,
                                 1080, nullptr, nullptr, nullptr, nullptr);
        platform::display::Flush();
        return w;
    }();
    return h;
}

void Fill(HWND h, const RECT& r, COLORREF c) {
    HDC dc = GetDC(h);
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
    ReleaseDC(h, dc);
}

void BM_PresentFullBuffer(benchmark::State& state) {
    HWND h = Screen();
    int i = 0;
    for (auto _ : state) {
        Fill(h, RECT{0, 0, 1920, 1080}, RGB(i & 0xFF, 0x80, 0x40));
        ++i;
        platform::display::Flush();
    }
}
BENCHMARK(BM_PresentFullBuffer)->Unit(benchmark::kMillisecond);

void BM_Present200SmallRects(benchmark::State& state) {
    HWND h = Screen();
    int i = 0;
    for (auto _ : state) {
        // Each rectangle drawn and brought to the screen on its own, as echoes are.
        for (int r = 0; r < 200; ++r, ++i) {
            int x = (i * 97) % 1880, y = (i * 53) % 1050;
            Fill(h, RECT{x, y, x + 24, y + 16}, RGB(r, 0x40, 0xC0));
            platform::display::Flush();
        }
    }
}
BENCHMARK(BM_Present200SmallRects)->Unit(benchmark::kMillisecond);

void BM_TenThousandMovesToAnXorBand(benchmark::State& state) {
    HWND h = Screen();
    for (auto _ : state) {
        platform::display::SendMouse(h, WM_LBUTTONDOWN, 100, 100);
        for (int m = 0; m < 10000; ++m) {
            platform::display::SendMouse(h, WM_MOUSEMOVE, 200 + (m % 600), 150 + (m % 400));
            platform::display::Flush();
        }
        platform::display::SendMouse(h, WM_LBUTTONUP, 200, 150);
        platform::display::Flush();
    }
}
BENCHMARK(BM_TenThousandMovesToAnXorBand)->Unit(benchmark::kMillisecond)->Iterations(3);

// What one look at the queue costs long work that keeps the windows alive with DoEvents.
void BM_EmptyPeekWithADisplay(benchmark::State& state) {
    Screen();
    MSG msg;
    for (auto _ : state)
        benchmark::DoNotOptimize(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
}
BENCHMARK(BM_EmptyPeekWithADisplay)->Unit(benchmark::kMicrosecond);

} // namespace
