#include "platform/windowing/window.h"

#include "platform/graphics/surface.h"
#include "platform/windowing/icon.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/message.h"

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

namespace {

struct Record {
    std::vector<UINT> msgs;
    RECT paintRect{};
    BOOL erase = FALSE;
};
Record* g_rec = nullptr;

LRESULT PaintProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_rec)
        g_rec->msgs.push_back(msg);
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        if (g_rec) {
            g_rec->paintRect = ps.rcPaint;
            g_rec->erase = ps.fErase;
        }
        // Paint everything black: only the update region may change.
        RECT all{0, 0, 100, 100};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

struct Windows : ::testing::Test {
    Record rec;
    HWND wnd = nullptr;
    void SetUp() override {
        platform::ResetMessageQueue();
        static bool registered = [] {
            WNDCLASSW cls{};
            cls.lpfnWndProc = PaintProc;
            cls.lpszClassName = L"PaintWindow";
            return RegisterClassW(&cls);
        }();
        (void)registered;
        g_rec = &rec;
        wnd = CreateWindowExW(0, L"PaintWindow", L"title", WS_POPUP, 10, 20, 40, 30, nullptr,
                              nullptr, nullptr, nullptr);
        ASSERT_NE(wnd, nullptr);
    }
    void TearDown() override {
        if (IsWindow(wnd))
            DestroyWindow(wnd);
        g_rec = nullptr;
    }
};

TEST_F(Windows, PaintIsLimitedToTheUpdateRegionAndValidatesIt) {
    ShowWindow(wnd, SW_SHOW);
    ValidateRect(wnd, nullptr);
    RECT r{5, 6, 15, 16};
    InvalidateRect(wnd, &r, TRUE);
    RECT u;
    EXPECT_TRUE(GetUpdateRect(wnd, &u, FALSE));
    EXPECT_EQ(u.left, 5);
    UpdateWindow(wnd);
    EXPECT_EQ(rec.paintRect.right, 15);
    EXPECT_TRUE(rec.erase); // no class brush: the painter must erase
    EXPECT_FALSE(GetUpdateRect(wnd, &u, FALSE));
    auto* s = platform::GetWindowSurface(wnd);
    EXPECT_EQ(s->Pixel(5, 6), 0u);
    EXPECT_EQ(s->Pixel(14, 15), 0u);
    EXPECT_EQ(s->Pixel(15, 15), 0xFFFFFFu);
    EXPECT_EQ(s->Pixel(4, 6), 0xFFFFFFu);
    MSG m;
    EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Windows, MinimisingShowsMakeTheWindowIconicUntilANormalOrMaximisedShow) {
    struct Step {
        int cmd;
        bool visible, iconic;
    } steps[] = {
        {SW_SHOWMINIMIZED, true, true},  {SW_HIDE, false, true},
        {SW_SHOW, true, true},           {SW_SHOWNA, true, true},
        {SW_SHOWNORMAL, true, false},    {SW_MINIMIZE, true, true},
        {SW_RESTORE, true, false},       {SW_MINIMIZE, true, true},
        {SW_SHOWMAXIMIZED, true, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.cmd);
        ShowWindow(wnd, s.cmd);
        EXPECT_EQ(bool(IsWindowVisible(wnd)), s.visible);
        EXPECT_EQ(bool(IsIconic(wnd)), s.iconic);
    }
}

TEST_F(Windows, ManySmallInvalidationsAreAllCoveredByABoundedRegion) {
    ShowWindow(wnd, SW_SHOW);
    ValidateRect(wnd, nullptr);
    std::vector<RECT> marked;
    for (int i = 0; i < 2000; ++i) {
        const int x = (i * 7) % 38, y = (i * 13) % 28;
        marked.push_back(RECT{x, y, x + 1 + i % 2, y + 1});
        InvalidateRect(wnd, &marked.back(), FALSE);
    }
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(wnd, rgn, FALSE);
    EXPECT_LE(GetRegionRects(rgn, nullptr, 0), 64);
    for (const RECT& r : marked)
        EXPECT_TRUE(PtInRegion(rgn, r.left, r.top)) << r.left << "," << r.top;
    DeleteObject(rgn);
}

TEST_F(Windows, HiddenWindowsGetNoPaintAndClientContextsMarkTheBufferDirty) {
    InvalidateRect(wnd, nullptr, FALSE);
    MSG m;
    EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    HDC dc = GetDC(wnd);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(WindowFromDC(dc), wnd);
    MoveToEx(dc, 2, 3, nullptr);
    LineTo(dc, 12, 3);
    RECT dirty;
    ASSERT_TRUE(platform::TakeDirtyRect(wnd, &dirty));
    EXPECT_LE(dirty.left, 2);
    EXPECT_GE(dirty.right, 12);
    EXPECT_FALSE(platform::TakeDirtyRect(wnd, &dirty));
    EXPECT_EQ(ReleaseDC(wnd, dc), 1);
    EXPECT_EQ(WindowFromDC(dc), nullptr);
}

TEST_F(Windows, ChildrenTextRectanglesAndDestruction) {
    HWND child = CreateWindowExW(0, L"PaintWindow", L"c", WS_CHILD | WS_VISIBLE, 3, 4, 10, 10, wnd,
                                 reinterpret_cast<HMENU>(intptr_t(77)), nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetDlgItem(wnd, 77), child);
    EXPECT_EQ(GetParent(child), wnd);
    RECT wr;
    GetWindowRect(child, &wr);
    EXPECT_EQ(wr.left, 13);
    EXPECT_EQ(wr.top, 24);
    wchar_t buf[8];
    SetWindowTextW(wnd, L"a longer title");
    EXPECT_EQ(GetWindowTextW(wnd, buf, 8), 7);
    EXPECT_STREQ(buf, L"a longe");
    int before = platform::WindowCount();
    DestroyWindow(wnd);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(platform::WindowCount(), before - 2);
}

TEST_F(Windows, RedrawingWithAllChildrenReachesTheChildrensChildren) {
    ShowWindow(wnd, SW_SHOW);
    HWND child = CreateWindowExW(0, L"PaintWindow", L"c", WS_CHILD | WS_VISIBLE, 3, 4, 10, 10, wnd,
                                 nullptr, nullptr, nullptr);
    HWND grandchild = CreateWindowExW(0, L"PaintWindow", L"g", WS_CHILD | WS_VISIBLE, 1, 1, 5, 5,
                                      child, nullptr, nullptr, nullptr);
    ASSERT_TRUE(child && grandchild);
    RECT u;
    for (HWND h : {wnd, child, grandchild})
        ValidateRect(h, nullptr);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE);
    EXPECT_FALSE(GetUpdateRect(grandchild, &u, FALSE)) << "without the flag, the window alone";
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    for (HWND h : {wnd, child, grandchild})
        EXPECT_TRUE(GetUpdateRect(h, &u, FALSE));
    EXPECT_EQ(u.right - u.left, 5);
    RedrawWindow(wnd, nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
    EXPECT_FALSE(GetUpdateRect(grandchild, &u, FALSE));
}

TEST_F(Windows, FocusCaptureAndKeyState) {
    HWND other = CreateWindowExW(0, L"PaintWindow", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                 nullptr, nullptr);
    SetFocus(wnd);
    rec.msgs.clear();
    EXPECT_EQ(SetFocus(other), wnd);
    EXPECT_EQ(GetFocus(), other);
    EXPECT_EQ(rec.msgs, (std::vector<UINT>{WM_KILLFOCUS, WM_SETFOCUS}));
    EnableWindow(other, FALSE); // a disabled window loses the focus
    EXPECT_EQ(GetFocus(), nullptr);
    SetCapture(wnd);
    EXPECT_EQ(GetCapture(), wnd);
    rec.msgs.clear();
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(rec.msgs, std::vector<UINT>{WM_CAPTURECHANGED});
    platform::SetKeyDown(VK_MENU, true);
    EXPECT_LT(GetAsyncKeyState(VK_MENU), 0);
    platform::SetKeyDown(VK_MENU, false);
    EXPECT_EQ(GetKeyState(VK_MENU), 0);
    DestroyWindow(other);
}

struct Activation {
    HWND to;
    WORD state;
    HWND other;
};
std::vector<Activation> g_activations;

LRESULT ActivationProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ACTIVATE)
        g_activations.push_back({h, LOWORD(DWORD(wp)), reinterpret_cast<HWND>(lp)});
    return DefWindowProcW(h, msg, wp, lp);
}

TEST(Activation, TheWindowLosingItHearsFirstAndEachNamesTheOther) {
    static bool registered = [] {
        WNDCLASSW cls{};
        cls.lpfnWndProc = ActivationProc;
        cls.lpszClassName = L"ActivationWindow";
        return RegisterClassW(&cls);
    }();
    ASSERT_TRUE(registered);
    auto make = [](DWORD style, HWND parent) {
        return CreateWindowExW(0, L"ActivationWindow", L"", style, 0, 0, 50, 50, parent, nullptr,
                               nullptr, nullptr);
    };
    HWND a = make(WS_OVERLAPPEDWINDOW, nullptr), b = make(WS_POPUP, nullptr);
    HWND child = make(WS_CHILD, b);
    SetActiveWindow(nullptr);
    g_activations.clear();
    SetActiveWindow(a);
    SetActiveWindow(child); // a child stands for its top-level window
    SetActiveWindow(b);     // already active: nothing
    SetActiveWindow(nullptr);
    const Activation expected[] = {
        {a, WA_ACTIVE, nullptr}, {a, WA_INACTIVE, b}, {b, WA_ACTIVE, a}, {b, WA_INACTIVE, nullptr}};
    ASSERT_EQ(g_activations.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(g_activations[i].to, expected[i].to) << i;
        EXPECT_EQ(g_activations[i].state, expected[i].state) << i;
        EXPECT_EQ(g_activations[i].other, expected[i].other) << i;
    }
    EXPECT_EQ(GetActiveWindow(), nullptr);
    SetActiveWindow(b);
    DestroyWindow(b); // the active window gone, none is active
    EXPECT_EQ(GetActiveWindow(), nullptr);
    DestroyWindow(a);
}

TEST_F(Windows, DestroyingAnOwnerTakesItsPopupsAndTheirChildrenWithIt) {
    int before = platform::WindowCount();
    HWND popup = CreateWindowExW(0, L"PaintWindow", L"", WS_POPUP, 0, 0, 50, 50, wnd, nullptr,
                                 nullptr, nullptr);
    for (int i = 0; i < 3; ++i)
        CreateWindowExW(0, L"PaintWindow", L"", WS_CHILD, 0, 0, 5, 5, popup, nullptr, nullptr,
                        nullptr);
    ASSERT_EQ(platform::WindowCount(), before + 4);
    EXPECT_TRUE(DestroyWindow(wnd));
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(platform::WindowCount(), before - 1);
}

// A window's menu is destroyed with it; one taken back before is the caller's to keep.
TEST_F(Windows, AWindowsMenuGoesWithTheWindow) {
    HMENU shown = CreateMenu();
    ASSERT_TRUE(SetMenu(wnd, shown));
    HWND other = CreateWindowExW(0, L"PaintWindow", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                 nullptr, nullptr);
    HMENU kept = CreateMenu();
    SetMenu(other, kept);
    SetMenu(other, nullptr);
    EXPECT_TRUE(DestroyWindow(wnd));
    EXPECT_TRUE(DestroyWindow(other));
    EXPECT_FALSE(IsMenu(shown));
    EXPECT_TRUE(IsMenu(kept));
    DestroyMenu(kept);
}

} // namespace
