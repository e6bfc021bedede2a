#include "pivora/framework/jox_client_dc.h"

#include "platform/framework/wnd.h"
#include "platform/graphics/surface.h"

#include <gtest/gtest.h>

namespace {

TEST(JoxClientDC, DrawsIntoTheWindowBufferThroughTheOwnMapping) {
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 100, 80), nullptr, 0));
    {
        CJoxClientDC dc(&w, eClientAll);
        dc.SetMapMode(1);
        dc.SetWindowExt(1000, 1000);
        dc.SetViewportExt(100, -100);
        dc.SetViewportOrg(0, 80);
        dc.MoveTo(100, 100);
        dc.LineTo(600, 100);
        EXPECT_EQ(WindowFromDC(dc.m_hDC), w.m_hWnd);
    }
    auto* s = platform::GetWindowSurface(w.m_hWnd);
    EXPECT_EQ(s->Pixel(10, 70), 0u);
    EXPECT_EQ(s->Pixel(59, 70), 0u);
    EXPECT_EQ(s->Pixel(60, 70), 0xFFFFFFu);
    RECT dirty;
    EXPECT_TRUE(platform::TakeDirtyRect(w.m_hWnd, &dirty));
}

TEST(JoxClientDC, NoContextThrowsTheResourceException) {
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    CWnd* stale = CWnd::FromHandle(w.m_hWnd);
    (void)stale;
    HWND gone = w.m_hWnd;
    w.DestroyWindow();
    CWnd ghost;
    ghost.m_hWnd = gone;
    EXPECT_THROW(CJoxClientDC dc(&ghost), CResourceException);
    ghost.m_hWnd = nullptr;
    CJoxClientDC screen(nullptr); // a null window is the screen
    EXPECT_NE(screen.m_hDC, nullptr);
}

} // namespace
